// The clipboard-import parser on any text, both key-date settings. An input that begins
// with 0xFF (never a byte of UTF-8) is read as UTF-16 code units, little-endian, so that
// unpaired surrogates reach the parser as they can from the clipboard; any other as UTF-8.
#include "diary/ClipboardImport.h"
#include "diary/MonthFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QString textOf(const std::uint8_t* data, std::size_t size)
{
    if (size == 0 || data[0] != 0xFF)
        return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString text;
    for (std::size_t i = 1; i + 1 < size; i += 2)
        text.append(QChar(char16_t(data[i] | data[i + 1] << 8)));
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = textOf(data, size);
    // A line ends at every CR LF, CR or LF, whatever else the text holds.
    const qsizetype breaks = text.count(u'\r') + text.count(u'\n') - text.count(u"\r\n");
    if (splitClipboardLines(text).size() != breaks + 1)
        std::abort();
    for (const bool keyIsEndDay : {false, true}) {
        ImportParseOptions options;
        options.keyIsEndDay = keyIsEndDay;
        options.viewedDay = QDate(2026, 7, 15);
        ImportParse parse = parseClipboardListings(text, options);
        skippedListingsMessage(parse.skipped);
        sortImportedRows(parse.records);
        // Every record the parser accepts must be storable in a month file, and read back
        // as it was.
        const MonthTextBuild build = formatMonthText(parse.records, QString());
        if (!build.ok())
            std::abort();
        const MonthText back = parseMonthText(build.plain, QString());
        if (!parse.records.isEmpty() &&
            (back.status != MonthText::Status::Loaded || back.entries != parse.records))
            std::abort();
    }
    return 0;
}

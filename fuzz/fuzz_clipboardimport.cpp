// The clipboard-import parser on any text, both key-date settings.
#include "diary/ClipboardImport.h"
#include "diary/MonthFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const bool keyIsEndDay : {false, true}) {
        ImportParseOptions options;
        options.keyIsEndDay = keyIsEndDay;
        options.viewedDay = QDate(2026, 7, 15);
        ImportParse parse = parseClipboardListings(text, options);
        skippedListingsMessage(parse.skipped);
        sortImportedRows(parse.records);
        // Every record the parser accepts must be storable in a month file.
        if (!formatMonthText(parse.records, QString()).ok())
            std::abort();
    }
    return 0;
}

// The CSV diary import on any bytes: decoded, split into records and read under both key
// options. Every entry it accepts must be storable: its key date names a month, and it is
// written into a month file and read back equal.
#include "diary/CsvDiaryImport.h"
#include "diary/MonthFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString text;
    if (!decodeCsvText(bytes, text))
        return 0;
    parseCsvRecords(text);
    for (const bool keyIsEndDay : {false, true}) {
        const CsvDiary diary = readCsvDiary(text, {keyIsEndDay, QDate(2026, 7, 15)});
        csvImportReport(diary);
        for (const EntryRecord& entry : diary.records) {
            if (!QDate::fromString(entry[KeyDate], u"yyyy/MM/dd").isValid())
                std::abort();
        }
        const MonthTextBuild build = formatMonthText(diary.records, QString());
        if (!build.ok())
            std::abort();
        const MonthText back = parseMonthText(build.plain, QString());
        if (!diary.records.isEmpty() &&
            (back.status != MonthText::Status::Loaded || back.entries != diary.records))
            std::abort();
    }
    return 0;
}

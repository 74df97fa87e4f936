// The month-file reader on any plain text, with and without a start password, and on the
// same bytes as they lie scrambled on disk.
#include "core/Scramble.h"
#include "diary/MonthFile.h"
#include "diary/Tally.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QString& password : {QString(), QStringLiteral("pw")}) {
        const MonthText month = parseMonthText(bytes, password);
        if (month.status == MonthText::Status::Loaded)
            tallyEntries(month.entries); // a loaded month must also sum without overflow
    }
    parseMonthText(scrambleBytes(bytes), QString());
    return 0;
}

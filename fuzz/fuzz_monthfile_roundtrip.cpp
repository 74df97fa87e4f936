// A month that loads is written back and read again: the entries must come back equal.
#include "diary/MonthFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QString& password : {QString(), QStringLiteral("pw")}) {
        const MonthText first = parseMonthText(bytes, password);
        if (first.status != MonthText::Status::Loaded)
            continue;
        const MonthTextBuild build = formatMonthText(first.entries, password);
        if (!build.ok())
            std::abort(); // what was read must be writable, or the month is locked
        const MonthText second = parseMonthText(build.plain, password);
        if (second.status != MonthText::Status::Loaded || second.entries != first.entries)
            std::abort();
    }
    return 0;
}

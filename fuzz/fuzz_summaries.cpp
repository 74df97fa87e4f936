// The year and total summary readers, and the sums and target column built on what they read.
#include "diary/SummaryFiles.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const std::optional<YearSummary> year = parseYearSummary(bytes)) {
        // What was read is written back the same.
        if (parseYearSummary(formatYearSummary(*year)) != year)
            std::abort();
        summaryTexts(year->yearTally());
    }
    if (std::optional<QList<TotalRow>> rows = parseTotalSummary(bytes)) {
        applyTargetColumn(*rows, Currency::fromUnits(1000000));
        for (const TotalRow& row : *rows)
            totalRowTexts(row);
    }
    return 0;
}

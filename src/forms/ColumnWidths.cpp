#include "forms/ColumnWidths.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwipsPerPixel = 15.0; // at 96 dpi
constexpr double kDateWidth = 60.0;     // "0000/00/00" in the font the widths were set for
constexpr double kWideWidth = 36.0;     // three full-width characters

} // namespace

int columnPixels(int twips, const QFontMetrics& metrics)
{
    const double scale =
        std::max({1.0, metrics.horizontalAdvance(QStringLiteral("0000/00/00")) / kDateWidth,
                  metrics.horizontalAdvance(QStringLiteral("当選額")) / kWideWidth});
    return static_cast<int>(std::lround(twips / kTwipsPerPixel * scale));
}

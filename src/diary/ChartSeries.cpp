#include "diary/ChartSeries.h"

ChartSeries yearChartSeries(const QString& year, const YearSummary& summary)
{
    ChartSeries series;
    series.title = year + QStringLiteral("年　月別の応募・当選と収支");
    Currency running;
    for (int m = 0; m < 12; ++m) {
        const Tally& month = summary.months[m];
        running += month.balance();
        series.points.append({QString::number(m + 1) + u'月', month.entries, month.wins, running});
    }
    return series;
}

ChartSeries totalChartSeries(const QList<TotalRow>& rows, Currency target)
{
    ChartSeries series;
    series.title = QStringLiteral("総計　年別の応募・当選と収支");
    Currency running;
    for (const TotalRow& row : rows) {
        running += row.figures.balance();
        series.points.append({row.year + u'年', row.figures.entries, row.figures.wins, running});
    }
    if (target > Currency())
        series.target = target;
    return series;
}

double yenValue(Currency amount)
{
    return double(amount.raw()) / double(Currency::fromUnits(1).raw());
}

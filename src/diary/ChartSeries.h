#pragma once

#include "core/Currency.h"
#include "diary/SummaryFiles.h"

#include <QList>
#include <QString>
#include <optional>

// What the chart window draws, computed from the summary rows the year and total tabs
// show: per month (a year) or per year (all years) the entries and wins as bars, and the
// balance (won amount − expenses) summed up from the first point as a line.

struct ChartPoint
{
    QString label; // "1月" … "12月", or "2024年"
    int entries = 0;
    int wins = 0;
    Currency cumulativeBalance;
    bool operator==(const ChartPoint&) const = default;
};

struct ChartSeries
{
    QString title;
    QList<ChartPoint> points;
    // The target balance as a level line (all years only, when a target is set).
    std::optional<Currency> target;
};

ChartSeries yearChartSeries(const QString& year, const YearSummary& summary);
// `rows` in year order, as total.log holds them. A target of 0 or less counts as none.
ChartSeries totalChartSeries(const QList<TotalRow>& rows, Currency target);

// Whole yen as a plotted value.
double yenValue(Currency amount);

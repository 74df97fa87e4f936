#pragma once

#include "core/AppPaths.h"
#include "diary/SummaryFiles.h"

#include <QList>
#include <QStringList>
#include <optional>

// The year and total summaries as the main window uses them: rewriting a month's row and
// a year's row after every change, and the rows, colours and sums of the year and total
// lists.

// Colour and weight of one cell of the year or total list.
struct CellStyle
{
    Rgb colour;
    bool bold = false;
    bool operator==(const CellStyle&) const = default;
};

// The cell styles of a year row (ten texts) or a total row (eleven texts). The counts and
// amounts are compared as text with "0", as the lists always did: "0" stays plain, any
// other figure is marked.
QList<CellStyle> summaryRowStyles(const QStringList& texts);

struct SummaryListRow
{
    QStringList texts;
    QList<CellStyle> styles;
};

// The target balance in force and whether its message was already shown.
struct TargetState
{
    Currency target;
    bool reached = false;
};

struct TotalUpdate
{
    QList<TotalRow> rows;           // as written, in year order
    bool showTargetMessage = false; // see CheckTargetBalance
    QString error;                  // empty on success
};

struct YearUpdate
{
    YearSummary summary; // as written
    Tally yearTally;     // sums of the twelve rows, classes included
    TotalUpdate total;   // the total row update that followed
    QString error;       // empty on success
};

// Rewrites the row of `month` (1-12) in the summary of `year` with `monthTally`, then the
// year's row of the total summary with the new year sums (UpdateTotalSummary). Pass a
// default Tally for a month that became empty: its row, expenses included, turns to zeros.
// A year file that exists but cannot be read is left alone, and so is the total summary.
YearUpdate UpdateYearSummary(const AppPaths& paths, const QString& year, int month,
                             const Tally& monthTally, const TargetState& target);

// Sets (or adds) the row of `year` from `yearTally`, or removes it when `yearTally` is empty
// (the year's data was deleted), recomputes 目標収支金額 of every row and writes total.log.
TotalUpdate UpdateTotalSummary(const AppPaths& paths, const QString& year,
                               const std::optional<Tally>& yearTally, const TargetState& target);

// After a new target is applied: recomputes 目標収支金額 of every row of total.log, if the
// file exists, in exact currency arithmetic. Nothing else changes.
TotalUpdate RecomputeTargetColumn(const AppPaths& paths, const TargetState& target);

struct YearList
{
    YearSummary summary;
    QList<SummaryListRow> rows; // twelve, January first
    Tally yearTally;            // sums of the twelve rows (YearTally)
    SummaryReadStatus status;
};

// The year list of `year`; twelve zero rows when the file does not exist.
YearList readYearList(const AppPaths& paths, const QString& year);

struct TotalList
{
    QList<TotalRow> totalRows;
    QList<SummaryListRow> rows; // file order
    Tally totalTally;           // sums over all years (TotalTally)
    SummaryReadStatus status;
};

// The total list; empty when total.log does not exist.
TotalList readTotalList(const AppPaths& paths);

#pragma once

#include "core/AppPaths.h"
#include "diary/Summaries.h"

#include <QList>
#include <QString>
#include <QStringList>

// A save of a month file is one unit with the month's year row and the year's total row.
// A record naming the month is written to the work folder before the month file and
// removed after the total row; a record still there at the next start means the unit was
// cut short, and the rows of that month are then counted again from its month file.

struct YearMonth
{
    QString year;  // "yyyy"
    int month = 0; // 1-12
    bool operator==(const YearMonth&) const = default;
};

// Creates the record durably (within a JointCommit: before its files take their names);
// returns an error naming the record's file, else empty.
QString beginSummaryUnit(const AppPaths& paths, const YearMonth& month);
// Removes the record once the total row is written.
void endSummaryUnit(const AppPaths& paths, const YearMonth& month);
QList<YearMonth> unfinishedSummaryUnits(const AppPaths& paths);

// A summary row that a recount changed: a year row (month 1-12) or a total row (month 0).
struct RowChange
{
    QString year;
    int month = 0;
    Tally before;
    Tally after;
};

struct Recount
{
    QList<RowChange> changes;
    QStringList unreadable; // files that could not be read: the rows they feed stay as they were
    QStringList errors;     // writes that failed, each naming its file
    bool showTargetMessage = false;
    bool ok() const { return unreadable.isEmpty() && errors.isEmpty(); }
    Recount& operator+=(const Recount& other);
};

// Counts `months` of `year` again from their month files (read under `password`), keeping
// the booked expenses, and rewrites the year row and the year's total row.
Recount recountMonths(const AppPaths& paths, const QString& year, const QList<int>& months,
                      const QString& password, const TargetState& target);

// Every month of every year that has a year folder or a year summary.
Recount recountAll(const AppPaths& paths, const QString& password, const TargetState& target);

// Start-up, once the start password is known: brings the rows of every unfinished unit in
// line with its month file and removes the records that are done.
Recount finishSummaryUnits(const AppPaths& paths, const QString& password,
                           const TargetState& target);

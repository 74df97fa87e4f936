#pragma once

#include <QDate>
#include <QString>

// The displayed day as the main window keeps it: "yyyy", "MM", "dd".
struct ShownDay
{
    QString year;
    QString month;
    QString day;

    QDate toDate() const { return QDate(year.toInt(), month.toInt(), day.toInt()); }
    static ShownDay fromDate(const QDate& date);
    bool operator==(const ShownDay&) const = default;
};

bool isLeapYear(int year);

// "<" (direction -1) and ">" (+1): the day is kept where the target month has it, else
// moved to that month's last day (31 May > 30 June, 31 March < 28 or 29 February).
// December > January steps the year; the years wrap 0001 <> 9999 as the year buttons do.
// `picker` is the date picker's value, normally the shown day itself.
ShownDay stepMonth(const ShownDay& shown, const QDate& picker, int direction);

// "<<" (-1) and ">>" (+1): 29 February becomes 28 February in a common year.
ShownDay stepYear(const ShownDay& shown, const QDate& picker, int direction);

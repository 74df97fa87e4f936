#include "diary/MonthNavigation.h"

#include <QDate>

bool isLeapYear(int year)
{
    return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0);
}

ShownDay stepMonth(const ShownDay& shown, const QString& pickerDay, int delta)
{
    ShownDay next = shown;
    const int month = shown.month.toInt();
    const int target = (month - 1 + delta + 12) % 12 + 1;
    if (target == 2) {
        // Text comparison, as the day is always two digits.
        if (shown.day <= u"28")
            next.day = pickerDay;
        else
            next.day = isLeapYear(shown.year.toInt()) ? QStringLiteral("29") : QStringLiteral("28");
    } else if (QDate(2001, target, 1).daysInMonth() == 30) {
        next.day = shown.day == u"31" ? QStringLiteral("30") : pickerDay;
    } else {
        next.day = pickerDay;
    }
    int year = shown.year.toInt();
    if (month + delta < 1)
        --year;
    else if (month + delta > 12)
        ++year;
    // Year 0000 would name the summary folder: the years run from 0001 to 9999 and round.
    if (year < 1)
        year = 9999;
    else if (year > 9999)
        year = 1;
    next.month = QString::number(target).rightJustified(2, u'0');
    next.year = QString::number(year).rightJustified(4, u'0');
    return next;
}

ShownDay stepYear(const ShownDay& shown, const QString& pickerDay, int delta)
{
    ShownDay next = shown;
    int year = shown.year.toInt() + delta;
    if (year < 1)
        year = 9999;
    else if (year > 9999)
        year = 1;
    if (shown.month == u"02") {
        if (shown.day != u"29")
            next.day = pickerDay;
        else
            next.day = isLeapYear(year) ? QStringLiteral("29") : QStringLiteral("28");
    }
    next.year = QString::number(year).rightJustified(4, u'0');
    return next;
}

#include "MonthNavigation.h"

namespace {

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')); }
QString fourDigits(int n) { return QStringLiteral("%1").arg(n, 4, 10, QChar(u'0')); }

// Year 0000 would name the summary folder; the range is 0001 to 9999 both ways.
int wrapYear(int year) { return year < 1 ? 9999 : (year > 9999 ? 1 : year); }

} // namespace

ShownDay ShownDay::fromDate(const QDate& date)
{
    return {fourDigits(date.year()), twoDigits(date.month()), twoDigits(date.day())};
}

bool isLeapYear(int year) { return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0); }

ShownDay stepMonth(const ShownDay& shown, const QDate& picker, int direction)
{
    ShownDay next = shown;
    const int month = picker.month() + (direction < 0 ? -1 : 1);
    const int target = month < 1 ? 12 : (month > 12 ? 1 : month);
    const QString pickerDay = twoDigits(picker.day());
    switch (target) {
    case 4: case 6: case 9: case 11:
        next.day = shown.day == u"31" ? QStringLiteral("30") : pickerDay;
        break;
    case 2:
        // Both ways into February stay in the same year, so the shown year decides.
        if (QString::compare(shown.day, QStringLiteral("28")) <= 0)
            next.day = pickerDay;
        else
            next.day = isLeapYear(shown.year.toInt()) ? QStringLiteral("29") : QStringLiteral("28");
        break;
    default:
        next.day = pickerDay;
        break;
    }
    next.month = twoDigits(target);
    if (month < 1)
        next.year = fourDigits(wrapYear(shown.year.toInt() - 1));
    else if (month > 12)
        next.year = fourDigits(wrapYear(shown.year.toInt() + 1));
    return next;
}

ShownDay stepYear(const ShownDay& shown, const QDate& picker, int direction)
{
    ShownDay next = shown;
    const int year = wrapYear(picker.year() + (direction < 0 ? -1 : 1));
    if (shown.month == u"02") {
        if (shown.day != u"29")
            next.day = twoDigits(picker.day());
        else
            next.day = isLeapYear(year) ? QStringLiteral("29") : QStringLiteral("28");
    }
    next.year = fourDigits(year);
    return next;
}

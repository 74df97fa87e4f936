#pragma once

#include <QString>

// The displayed day as three texts: "yyyy", "MM", "dd".
struct ShownDay
{
    QString year;
    QString month;
    QString day;
    bool operator==(const ShownDay&) const = default;
};

bool isLeapYear(int year);

// One month back (delta -1) or forward (+1). The day is kept where the target month has it;
// the 31st becomes the 30th in a 30-day month, and February takes the 28th or 29th.
// `pickerDay` is the day shown in the date picker ("dd").
ShownDay stepMonth(const ShownDay& shown, const QString& pickerDay, int delta);

// One year back or forward, 0001 and 9999 wrapping round; 29 February becomes the 28th in
// a common year.
ShownDay stepYear(const ShownDay& shown, const QString& pickerDay, int delta);

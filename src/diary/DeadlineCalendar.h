#pragma once

#include "diary/EntryRecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>

// The open entries as an iCalendar file (one all-day event on each deadline, with an alarm
// `alarmDays` before it), for calendar programs to import. An entry keeps its UID from one
// file to the next, so importing again updates events instead of adding them twice.
QByteArray deadlineCalendar(const QList<EntryRecord>& entries, bool keyIsEndDay, int alarmDays,
                            const QDateTime& written);

// Text as an iCalendar TEXT value: backslash, semicolon, comma and line ends escaped.
QString calendarText(const QString& text);

#pragma once

#include "core/AppPaths.h"
#include "diary/EntryRecord.h"
#include "diary/MonthFile.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// Entries whose deadline is coming up ("締切間近"): not yet entered ("未応募") or of
// unknown state ("不明"), with a deadline from today to today + N days.

// The deadline of an entry: the key date when the deadline is the key, else the other date.
inline const QString& deadlineOf(const EntryRecord& entry, bool keyIsEndDay)
{
    return entry[keyIsEndDay ? KeyDate : OtherDate];
}

bool isOpenEntry(const EntryRecord& entry, bool keyIsEndDay, const QDate& today, int days);

// The month files that can hold open entries, oldest first. With the deadline as key only
// the months of the days from today to today + N; with the entry date as key every month
// up to that of today + N, since an entry may have been booked long before its deadline.
QStringList deadlineMonthFiles(const AppPaths& paths, bool keyIsEndDay, const QDate& today,
                               int days);

struct DeadlineScan
{
    QList<EntryRecord> entries;             // sorted by deadline; equal deadlines keep file order
    QList<UnreadableMonth> unreadableFiles; // month files that could not be read, skipped
};

// Reads the month files above. `startPassword` is the password in force (empty when none).
DeadlineScan findOpenEntries(const AppPaths& paths, bool keyIsEndDay, const QString& startPassword,
                             const QDate& today, int days);

// The text of a desktop notification: how many, then the first few by deadline.
QString deadlineNoticeText(const QList<EntryRecord>& entries, int days, bool keyIsEndDay);

// The question at start-up, and the caption of every deadline box.
QString deadlineQuestionText(qsizetype count, int days);
inline const QString kDeadlineCaption = QStringLiteral("締切間近");

#pragma once

#include "diary/EntryRecord.h"
#include "diary/MonthFile.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <variant>

// Registers parsed listings month by month. The window does the loading and saving through
// the hooks below; this code decides which rows go into which month, and in what order.

// A run of consecutive rows with the same key month ("yyyy/MM" of the key date).
struct ImportMonth
{
    QString year;  // "yyyy"
    QString month; // "MM"
    QList<EntryRecord> rows;
};

// Splits rows into runs of the same key month, in row order. Sorted rows give one run per
// month, so each month file is loaded and saved once.
QList<ImportMonth> groupImportByMonth(const QList<EntryRecord>& rows);

// The rows of a run that are to be added to a month already holding `monthEntries`. A row
// whose ID number is registered there already is kept only when `confirm(row)` says so.
// Rows of the same import are never compared with each other.
QList<EntryRecord> acceptImportedRows(const QList<EntryRecord>& run,
                                      const QList<EntryRecord>& monthEntries,
                                      const std::function<bool(const EntryRecord&)>& confirm);

struct ImportHooks
{
    // Loads a month and makes it the month list; returns its entries, or the file and why it
    // cannot be read (wrong password, damaged, no permission), in which case nothing is added
    // to it. The load tells the user nothing: the import's own box lists every such file.
    std::function<std::variant<QList<EntryRecord>, UnreadableMonth>(const QString& year,
                                                                    const QString& month)>
        loadMonth;
    // Appends rows to the month just loaded, key-sorts it when that option is on, and saves;
    // false when the save failed (the user was told), which ends the import there.
    std::function<bool(const QString& year, const QString& month, const QList<EntryRecord>& rows)>
        appendAndSave;
    // With the duplicate check on: asked once for each row whose ID number is registered in
    // its month already; true registers it anyway.
    std::function<bool(const EntryRecord&)> confirmDuplicate;
    // Rows handled so far out of all rows; optional.
    std::function<void(int done, int total)> progress;
};

struct ImportOutcome
{
    int registered = 0;
    int declined = 0;                        // duplicates the user chose not to register
    QList<UnreadableMonth> unreadableMonths; // month files that could not be read
    QString unsavedMonth;                    // "yyyy/MM" of a month whose save failed
    QList<EntryRecord>
        notRegistered; // the rows meant for unreadable months, the unsaved one and later ones
};

// Registers `rows` (parsed and sorted) month by month: one load and one save per run.
// `duplicateCheck` is the option "登録前に重複確認する".
ImportOutcome registerImportedRows(const QList<EntryRecord>& rows, bool duplicateCheck,
                                   const ImportHooks& hooks);

// The message about months that could not be read (and so took none of their rows), each
// file named with why, and about a save that failed; empty when there was neither.
QString notRegisteredMessage(const ImportOutcome& outcome);

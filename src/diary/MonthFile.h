#pragma once

#include "diary/EntryRecord.h"
#include "diary/FieldTexts.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

// The month file: an optional password line, then one line of seventeen quoted,
// comma-separated fields per entry, code page 932, CR LF, scrambled at rest.

struct MonthText
{
    enum class Status {
        Loaded,  // read completely (possibly no entries)
        Refused, // password line missing, unexpected or different
        Damaged, // not code page 932, a record cut short, or an amount out of range
    };
    Status status = Status::Loaded;
    QList<EntryRecord> entries;
};

// Parses the plain form. `expectedPassword` is the start password in force (empty when
// none): a file must carry exactly that password line, or none when it is empty. Repeated
// short texts share their strings, across files too when the caller passes `shared`.
MonthText parseMonthText(const QByteArray& plain, const QString& expectedPassword,
                         FieldTexts* shared = nullptr);

// The result of building the plain form.
struct MonthTextBuild
{
    QByteArray plain;
    // When a field cannot be held in code page 932: the entry's index and field, else -1.
    int badEntry = -1;
    int badField = -1;
    QChar badCharacter;
    // The password cannot be held in the file (a quote mark, or outside code page 932).
    bool badPassword = false;
    bool ok() const { return badEntry < 0 && !badPassword; }
};

// The line that ties a month file to the start password: "StartPassword=" and the password,
// quoted, with its line end.
QString passwordLineText(const QString& password);

// Builds the plain form. `passwordLine` is written first when not empty.
MonthTextBuild formatMonthText(const QList<EntryRecord>& entries, const QString& passwordLine);

// Reading and writing month files on disk.

class DiaryKey;

// What a stored month file must be opened with: the start password its line must carry
// (empty for none) and, for an encrypted diary, the key (a diary under a key carries no
// password line).
struct MonthLock
{
    QString password;
    const DiaryKey* key = nullptr;
    MonthLock() = default;
    MonthLock(QString password, const DiaryKey* key = nullptr) // NOLINT: a password alone
        : password(std::move(password)), key(key)
    {}
    MonthLock(const char* password) : password(QString::fromUtf8(password)) {}
    bool operator==(const MonthLock&) const = default;
};

// The largest month file that is read: a month of 10 000 entries is about 2 MB. A larger
// file is refused as damaged by its size alone, before any of it is read.
inline constexpr qint64 kMonthFileSizeMax = 16 * 1024 * 1024;

struct MonthRead
{
    enum class Status {
        Missing,
        Loaded,
        Refused,    // password line missing, unexpected or different
        Damaged,    // not a month file as the diary writes it, or larger than any month
        Unreadable, // could not be opened or read (no permission, another owner)
    };
    Status status = Status::Missing;
    QList<EntryRecord> entries;
    bool readable() const { return status == Status::Missing || status == Status::Loaded; }
};

// A month file that could not be read, and why.
struct UnreadableMonth
{
    QString path;
    MonthRead::Status status = MonthRead::Status::Damaged;
};

// Why a month file could not be read, as a phrase for a list of files ("ファイルが壊れています").
QString monthReadProblem(MonthRead::Status status);

// A file encrypted under another key, or changed since, is Damaged; so is an encrypted one
// when `lock` has no key.
MonthRead readMonthFile(const QString& path, const MonthLock& lock, FieldTexts* shared = nullptr);

// A month file read, decoded and split into fields, not yet copied into entries: the part of
// reading that allocates little, so worker threads can do it without contending for the heap,
// leaving the copies to the thread that keeps the entries.
struct MonthFileFields
{
    MonthRead::Status status = MonthRead::Status::Missing;
    QString text;              // the decoded file; `fields` view its buffer
    QList<QStringView> fields; // seventeen per entry
    bool quoteMarks = false;   // some field holds a quote mark
};
MonthFileFields readMonthFields(const QString& path, const MonthLock& lock);
// The entries of a month read by readMonthFields: readMonthFile in two steps.
MonthRead entriesOf(const MonthFileFields& month, FieldTexts* shared = nullptr);
// Which fields entries are made with: bit f for field f.
using EntryFieldMask = quint32;
inline constexpr EntryFieldMask kAllEntryFields = (EntryFieldMask(1) << kEntryFieldCount) - 1;
constexpr EntryFieldMask fieldBit(int field)
{
    return EntryFieldMask(1) << field;
}
// The same, appended to `into`, which is left as it was unless the month is Loaded. With
// only some `fields` (a tally that needs a few), the others are left empty and the texts of
// those kept are all shared; the result and the amount are always kept, for the file's check.
MonthRead::Status appendEntriesOf(const MonthFileFields& month, FieldTexts* shared,
                                  QList<EntryRecord>& into,
                                  EntryFieldMask fields = kAllEntryFields);

// Writes entries atomically, encrypted under `key` or else scrambled; an empty plain form
// removes the file, so an empty month leaves no file. Returns an empty string on success,
// else what went wrong.
QString writeMonthFile(const QString& path, QByteArray plain, const DiaryKey* key = nullptr);

// For a rewrite staged beside the data: writes `entries` at `staged` under `lock` (an empty
// month as an empty file, whose name is all it holds), reads it back to check it holds exactly
// them, and gives it the permissions of `original`, whose place it takes. Empty on success;
// else the write's own error, or `cannotWrite` when the text cannot be stored or the check
// or the permissions fail.
QString stageMonthCopy(const QList<EntryRecord>& entries, const MonthLock& lock,
                       const QString& staged, const QString& original, const QString& cannotWrite);

#pragma once

#include "diary/EntryRecord.h"
#include "diary/FieldTexts.h"

#include <QByteArray>
#include <QList>
#include <QString>

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
struct MonthRead
{
    enum class Status { Missing, Loaded, Refused, Damaged };
    Status status = Status::Missing;
    QList<EntryRecord> entries;
    bool readable() const { return status == Status::Missing || status == Status::Loaded; }
};

MonthRead readMonthFile(const QString& path, const QString& expectedPassword,
                        FieldTexts* shared = nullptr);

// Writes entries scrambled and atomically; an empty plain form removes the file, so an
// empty month leaves no file. Returns an empty string on success, else what went wrong.
QString writeMonthFile(const QString& path, const QByteArray& plain);

#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

class Dialogs;

// Settings and profile files are read whole at start. One that exists but cannot be trusted
// (not code page 932, cut short, too large) is damaged: it is about to be replaced by what
// could be salvaged from it, so it is first kept beside it under a dated name and the user is
// told once. One that cannot be opened or read at all (no permission, another owner) is not
// damaged: nothing is known of its content, so it is left as it is and never written over.

enum class FileCondition { Missing, Sound, Damaged, Unreadable };

struct StoredFile
{
    FileCondition condition = FileCondition::Missing;
    QString error; // why an unreadable file could not be read
};

// Reads a scrambled settings-like file of at most `maxSize` bytes that must hold the section
// `section`, and returns its plain text (empty unless it could be read).
QByteArray readStoredIniFile(const QString& path, const QString& section, qint64 maxSize,
                             StoredFile& file);

// True when `path` exists but cannot be opened for reading: a writer must then leave it alone.
bool cannotBeRead(const QString& path);

// The dated name: "zumicho.ini" damaged on 2026-12-08 is kept as
// "zumicho.ini.damaged-20261208" (with "-2", "-3"... when that name is taken).
QString damagedCopyPath(const QString& path, const QDate& today);

// Copies the file to its dated name and shows one box naming both. Returns false when the
// copy could not be made; the box then says so, and the caller must not overwrite the file.
bool keepDamagedFile(const QString& path, const QDate& today, Dialogs& dialogs);

// Tells the user that the file could not be read, is left as it is, and that this run keeps
// the defaults and writes nothing into it.
void reportUnreadableFile(const QString& path, const QString& error, Dialogs& dialogs);

// What a window does with a file it read at start: keeps a damaged one aside, reports an
// unreadable one. True when the file may be written over afterwards.
bool settleStoredFile(const QString& path, const StoredFile& file, const QDate& today,
                      Dialogs& dialogs);

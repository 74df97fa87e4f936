#pragma once

#include <QDate>
#include <QString>

class Dialogs;

// A settings or profile file that exists but cannot be trusted (unreadable, not code page
// 932, cut short) is about to be replaced by what could be salvaged from it. The damaged
// file is first kept beside it under a dated name, and the user is told once.

// The dated name: "zumicho.ini" damaged on 2026-12-08 is kept as
// "zumicho.ini.damaged-20261208" (with "-2", "-3"... when that name is taken).
QString damagedCopyPath(const QString& path, const QDate& today);

// Copies the file to its dated name and shows one box naming both. Returns false when the
// copy could not be made; the box then says so, and the caller must not overwrite the file.
bool keepDamagedFile(const QString& path, const QDate& today, Dialogs& dialogs);

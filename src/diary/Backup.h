#pragma once

#include <QDate>
#include <QString>

class AppPaths;

// Backing the data folder up into a dated folder the user places anywhere, and bringing
// such a folder back. Both build a complete copy, synced to the disk, beside what they
// replace before anything old is removed, so a failure or a crash part way leaves the
// earlier backup or the current data as it was, or is finished at the next start.

// "yyyyMMdd_zumicho_backup"
QString backupFolderName(const QDate& day);

// The dated folder inside `picked`, without a doubled separator for a root.
QString backupTargetFor(const QString& picked, const QDate& day);

// Copies every sub-folder of the data folder into the dated folder inside `picked`. A
// backup of the same day is replaced file by file: what it wrote goes, anything the user
// put into the folder stays. Empty on success, else what went wrong.
QString backupData(const AppPaths& paths, const QString& picked, const QDate& day);

// Finishes a backup that was killed after its copy was complete, or removes an incomplete
// copy. Runs at start-up and before every backup.
void finishInterruptedBackup(const AppPaths& paths);

// True when the first "zumicho_backup" in `path` ends exactly at its end.
bool hasBackupFolderName(const QString& path);

// True when `folder` holds the data layout: a settings, year or summary folder with files.
bool looksLikeBackup(const QString& folder);

// Replaces the data folder by the backup in `folder`. Nothing is removed before the
// restored data is complete beside it. Empty on success, else why nothing was changed.
QString restoreData(const AppPaths& paths, const QString& folder);

// Puts the data folder back in order after a restore that was cut short between its renames.
void finishInterruptedRestore(const AppPaths& paths);

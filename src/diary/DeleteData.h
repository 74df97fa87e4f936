#pragma once

#include <QString>

class AppPaths;

// Keeping the data folder tidy when entries, months or years are deleted: a month file
// that became empty goes, a year folder without month files goes with its year summary,
// and the summary folder goes when nothing is left in it. Failures to remove something
// that is already gone are not errors.

enum class EmptiedMonth {
    YearKept,   // other months of the year remain: zero the month's summary row
    YearRemoved // the year folder and its summary are gone: drop the year's total row
};

// Deletes the month file of an emptied month and, when its year has no month file left,
// the year folder and the year summary. `notRemoved` is set to what could not be removed.
EmptiedMonth tidyEmptiedMonth(const AppPaths& paths, const QString& year, const QString& month,
                              QString& notRemoved);

// Deletes every file of a year folder, the folder and the year summary. Returns the first
// of them that could not be removed (or synced away), "" when all went.
QString deleteYearData(const AppPaths& paths, const QString& year);

// Removes the summary folder when it holds no file.
void removeSummaryFolderIfEmpty(const AppPaths& paths);

// True when the summary folder holds "total.log" and nothing else.
bool summaryFolderHoldsOnlyTotal(const AppPaths& paths);

// True when `folder` holds at least one file.
bool folderHoldsFiles(const QString& folder);

// The permissions a copy of `folder` takes (those of the folder a link leads to); 0700 when
// it cannot be examined.
unsigned folderPermissions(const QString& folder);

// Writes a folder's entries (names added, renamed or removed) to the disk.
bool syncFolder(const QString& folder);

// Copies the sub-folders of `source` into `target`, every file and folder synced to the disk
// ("Copy"), or removes every sub-folder of `source` ("Delete"), or every sub-folder of the
// data folder but the settings folder ("DeleteData"). Returns false when something could
// not be copied or removed.
enum class FolderMode { Copy, Delete, DeleteData };
bool FolderOperation(const QString& source, const QString& target, FolderMode mode);

// Removes every year folder and the summary folder; the settings stay. Returns the data
// folder when something in it could not be removed, else "".
QString deleteAllData(const AppPaths& paths);

#pragma once

#include <QString>
#include <QStringList>

// The sub-folders of `root`, depth first. With `fullPaths` each entry is the folder's
// path, else its last four characters (a year, "0000") or "ini" for the settings folder.
// Without `keepIni`, entries ending in "ini" (any case) are left out.
QStringList ListDataFolders(const QString& root, bool fullPaths, bool keepIni);

// The year folders below the data folder, in ascending order ("0000" and "ini" never count).
QStringList listYearFolders(const QString& dataFolder);

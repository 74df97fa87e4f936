#pragma once

#include "core/AppPaths.h"

#include <QString>
#include <optional>

// The crash-safe unit of the settings tab's apply: the new files are built in a hidden staging
// folder inside the data folder and checked; the new settings image written there (the
// commit) decides the unit; then the new files take their places by renames. Every step after
// the commit can be repeated, so a unit cut short is finished at the next start, and one
// never committed is rolled back by removing the staging folder.

namespace applyunit {

QString stagingFolder(const AppPaths& paths);
// The settings image that decides the unit.
QString commitPath(const QString& staging);
// Says the staging folder holds single files to rename over their originals (a password or
// encryption change), not folders to exchange (a key date change).
QString passwordMarkPath(const QString& staging);

// Stages what key.txt becomes with the unit: the record's text, or removed for an empty
// text; nothing for no value. Before the commit, so that the commit's check reads it beside it.
QString stageKeyRecord(const QString& staging, const std::optional<QString>& record);

// After the commit: exchanges the year and summary folders for the staged ones (swapIn) or
// renames the staged files over their originals (passwordSwapIn), then puts the key record
// and the settings in place. Empty on success, else what failed.
QString swapIn(const AppPaths& paths);
QString passwordSwapIn(const AppPaths& paths);

// Errors about the staged copy name the user's own file: the staging folder mirrors the data
// folder below it.
QString namingUsersFiles(QString error, const AppPaths& paths);

// A new apply starts only on data that no earlier one left half done: empty, or why not.
QString finishEarlierApply(const AppPaths& paths);

} // namespace applyunit

enum class ApplyRecovery { None, RolledBack, Finished, Failed };

// Start-up: an interrupted key or password rewrite is finished when it was committed (the new
// settings are put in place too), else its staging folder is removed and the old data stays
// (RolledBack; None when there was nothing to undo). When a
// committed one cannot be finished, `error` names what failed: the settings and the data on
// disk do not match then, and the diary must not run on them.
ApplyRecovery finishInterruptedApply(const AppPaths& paths, QString* error = nullptr);

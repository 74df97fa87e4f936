#pragma once

#include <QStringList>
#include <optional>

class AppPaths;
class Dialogs;

enum class SettingsOrigin {
    Existing,  // data/ini/zumicho.ini was there (an old copy in the program folder was removed)
    Migrated,  // the plain settings file of the older layout was moved in, scrambled
    FirstStart // neither file exists
};

// The folders of work in progress that start-up tidies: the work folder, the apply staging
// and the restore staging.
QStringList ownFolders(const AppPaths& paths);

// Refuses to start (after a box naming it) when one of ownFolders is a link, no folder or
// another user's. Creates data/ and data/ini/, finishes or undoes what a killed restore, key change
// or backup left behind, removes the temporary files a killed process left in our work folder, and
// settles where the settings file comes from. Nothing when a committed key change cannot be
// finished: the user has been told what failed, and the program must not run on settings that do
// not match the data.
std::optional<SettingsOrigin> prepareDataFolders(const AppPaths& paths, Dialogs& dialogs);

#pragma once

#include <optional>

class AppPaths;
class Dialogs;

enum class SettingsOrigin {
    Existing,  // data/ini/zumicho.ini was there (an old copy in the program folder was removed)
    Migrated,  // the plain settings file of the older layout was moved in, scrambled
    FirstStart // neither file exists
};

// Creates data/ and data/ini/, finishes or undoes what a killed restore, key change or
// backup left behind, removes temporary files, and settles where the settings file comes
// from. Nothing when a committed key change cannot be finished: the user has been told
// what failed, and the program must not run on settings that do not match the data.
std::optional<SettingsOrigin> prepareDataFolders(const AppPaths& paths, Dialogs& dialogs);

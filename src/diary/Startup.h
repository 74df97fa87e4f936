#pragma once

class AppPaths;
class Dialogs;

enum class SettingsOrigin {
    Existing,  // data/ini/zumicho.ini was there (an old copy in the program folder was removed)
    Migrated,  // the plain settings file of the older layout was moved in, scrambled
    FirstStart // neither file exists
};

// Creates data/ and data/ini/, removes the temporary files a killed process left in our work
// folder, and settles where the settings file comes from.
SettingsOrigin prepareDataFolders(const AppPaths& paths, Dialogs& dialogs);

#include "diary/Startup.h"

#include "core/AppPaths.h"
#include "core/AtomicFile.h"
#include "core/Scramble.h"
#include "diary/SettingsApply.h"
#include "diary/Backup.h"

#include <QDir>
#include <QFile>

SettingsOrigin prepareDataFolders(const AppPaths& paths, Dialogs& dialogs)
{
    finishInterruptedRestore(paths); // before the data folder could be created anew
    QDir().mkpath(paths.iniFolder());
    // Only our own work folder is tidied: the user's copies beside the data stay.
    removeDeadTemporaries(paths.dataFolder());
    finishInterruptedApply(paths); // a key rewrite cut short by a crash
    const QString oldPath = paths.oldSettingsPath();
    if (FileExists(paths.settingsPath())) {
        removeFileDurably(oldPath);
        return SettingsOrigin::Existing;
    }
    if (FileExists(oldPath)) {
        // The old file is plain text; it is only removed once its scrambled copy is safe.
        if (ScrambleFile(oldPath, paths.settingsPath(), dialogs))
            removeFileDurably(oldPath);
        return SettingsOrigin::Migrated;
    }
    return SettingsOrigin::FirstStart;
}

#include "diary/Startup.h"

#include "core/AppPaths.h"
#include "core/AtomicFile.h"
#include "core/Dialogs.h"
#include "core/Scramble.h"
#include "diary/Backup.h"
#include "diary/SettingsApply.h"

#include <QDir>
#include <QFile>

QStringList ownFolders(const AppPaths& paths)
{
    return {workFolderOf(paths.dataFolder()), paths.dataFolder() + QStringLiteral("/.apply"),
            paths.programFolder() + QStringLiteral("/data.restore"),
            paths.programFolder() + QStringLiteral("/data.ready")};
}

std::optional<SettingsOrigin> prepareDataFolders(const AppPaths& paths, Dialogs& dialogs)
{
    // Our work and staging folders, as start-up would tidy them: a link or another user's
    // folder in their place is left alone, and the diary does not run on it.
    for (const QString& ours : ownFolders(paths)) {
        if (const QString error = foreignFolderError(ours); !error.isEmpty()) {
            dialogs.message({error + QStringLiteral("\r\nズミラ帳を終了します。"),
                             QStringLiteral("起動エラー"), MessageIcon::Critical,
                             MessageButtons::Ok});
            return std::nullopt;
        }
    }
    finishInterruptedRestore(paths); // before the data folder could be created anew
    createFolders(paths.iniFolder());
    QString unfinished; // a committed key or password rewrite cut short by a crash
    switch (finishInterruptedApply(paths, &unfinished)) {
    case ApplyRecovery::Failed:
        dialogs.message(
            {QStringLiteral("前回の設定の適用を完了できませんでした。\r\n%1\r\n"
                            "設定とデータファイルが一致しないため、ズミラ帳を終了します。")
                 .arg(unfinished),
             QStringLiteral("起動エラー"), MessageIcon::Critical, MessageButtons::Ok});
        return std::nullopt;
    case ApplyRecovery::Finished:
        dialogs.message({QStringLiteral("前回中断された設定の適用を完了しました。"),
                         QStringLiteral("設定の適用"), MessageIcon::Information,
                         MessageButtons::Ok});
        break;
    case ApplyRecovery::RolledBack:
        dialogs.message({QStringLiteral("前回の設定の適用は途中で中断されたため、取り消しました。"
                                        "設定とデータファイルは適用前のままです。"),
                         QStringLiteral("設定の適用"), MessageIcon::Information,
                         MessageButtons::Ok});
        break;
    case ApplyRecovery::None:
        break;
    }
    finishInterruptedBackup(paths);
    // Only our own work folder is tidied: the user's copies beside the data stay.
    removeDeadTemporaries(paths.dataFolder());
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

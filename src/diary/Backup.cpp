#include "diary/Backup.h"

#include "core/AppPaths.h"
#include "core/AtomicFile.h"
#include "diary/DeleteData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QLatin1String kBackupSuffix("zumicho_backup");

QString clean(const QString& path) { return QDir::cleanPath(QDir(path).absolutePath()); }

bool isInside(const QString& path, const QString& folder)
{
    const QString p = clean(path);
    const QString f = clean(folder);
    return p == f || p.startsWith(f + u'/');
}

// Every file below the visible sub-folders of `from` is in `to` with the same size.
bool copiedCompletely(const QString& from, const QString& to)
{
    const QDir source(from);
    for (const QFileInfo& info : source.entryInfoList(QDir::Files | QDir::Hidden)) {
        const QFileInfo copy(to + u'/' + info.fileName());
        if (!copy.isFile() || copy.size() != info.size())
            return false;
    }
    for (const QFileInfo& info : source.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!copiedCompletely(info.absoluteFilePath(), to + u'/' + info.fileName()))
            return false;
    }
    return true;
}

bool copiedSubFolders(const QString& from, const QString& to)
{
    for (const QFileInfo& info : QDir(from).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!copiedCompletely(info.absoluteFilePath(), to + u'/' + info.fileName()))
            return false;
    }
    return true;
}

bool removeIfPresent(const QString& folder)
{
    return !QFileInfo::exists(folder) || QDir(folder).removeRecursively();
}

// Puts `fresh` in the place of `current`; the old folder is kept as `current` + ".old"
// until the new one is in place, and comes back when the exchange fails.
bool exchange(const QString& fresh, const QString& current)
{
    const QString old = current + QStringLiteral(".old");
    if (!removeIfPresent(old))
        return false;
    const bool hadCurrent = QFileInfo::exists(current);
    if (hadCurrent && !QDir().rename(current, old))
        return false;
    if (!QDir().rename(fresh, current)) {
        if (hadCurrent)
            QDir().rename(old, current);
        return false;
    }
    QDir(old).removeRecursively();
    return true;
}

QString restoreStaging(const AppPaths& paths) { return paths.programFolder() + QStringLiteral("/data.restore"); }
QString restoreReady(const AppPaths& paths) { return paths.programFolder() + QStringLiteral("/data.ready"); }

} // namespace

QString backupFolderName(const QDate& day)
{
    return day.toString(QStringLiteral("yyyyMMdd")) + u'_' + kBackupSuffix;
}

QString backupTargetFor(const QString& picked, const QDate& day)
{
    if (picked.endsWith(u'/') || picked.endsWith(u'\\'))
        return picked + backupFolderName(day);
    return picked + u'/' + backupFolderName(day);
}

QString backupData(const AppPaths& paths, const QString& picked, const QDate& day)
{
    const QString target = backupTargetFor(picked, day);
    if (isInside(target, paths.dataFolder()))
        return QStringLiteral("データフォルダの中にはバックアップできません。");
    const QString staging = target + QStringLiteral(".partial");
    if (!removeIfPresent(staging) || !QDir().mkpath(staging))
        return QStringLiteral("バックアップ先にフォルダを作成できません。\r\n") + QDir::toNativeSeparators(staging);
    const bool copied = FolderOperation(paths.dataFolder(), staging, FolderMode::Copy)
                        && copiedSubFolders(paths.dataFolder(), staging);
    if (!copied) {
        QDir(staging).removeRecursively();
        return QStringLiteral("データをバックアップ先にコピーできませんでした。\r\n") + QDir::toNativeSeparators(target);
    }
    // The earlier backup of the day is only replaced by a complete one.
    if (!exchange(staging, target)) {
        QDir(staging).removeRecursively();
        return QStringLiteral("バックアップフォルダを置き換えられませんでした。\r\n") + QDir::toNativeSeparators(target);
    }
    return {};
}

bool hasBackupFolderName(const QString& path)
{
    const qsizetype at = path.indexOf(kBackupSuffix);
    return at >= 0 && at + kBackupSuffix.size() == path.size();
}

bool looksLikeBackup(const QString& folder)
{
    static const QRegularExpression dataFolderName(QStringLiteral("^(ini|\\d{4})$"));
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (dataFolderName.match(info.fileName()).hasMatch() && folderHoldsFiles(info.absoluteFilePath()))
            return true;
    }
    return false;
}

QString restoreData(const AppPaths& paths, const QString& folder)
{
    const QString data = paths.dataFolder();
    if (isInside(folder, data) || isInside(data, folder))
        return QStringLiteral("データフォルダ自身からは復元できません。");
    if (QFileInfo::exists(data + QStringLiteral("/.apply")))
        return QStringLiteral("設定の適用が終わっていないため復元できません。\r\n一旦終了して再起動してから実行して下さい。");
    if (!looksLikeBackup(folder))
        return QStringLiteral("選択されたフォルダにはバックアップデータが在りません。");

    finishInterruptedRestore(paths);
    const QString staging = restoreStaging(paths);
    if (!removeIfPresent(staging) || !QDir().mkpath(staging))
        return QStringLiteral("復元用のフォルダを作成できません。");
    bool ok = FolderOperation(folder, staging, FolderMode::Copy) && copiedSubFolders(folder, staging);
    // A backup without settings keeps the settings in use rather than dropping them.
    const QString stagedIni = staging + u'/' + QFileInfo(paths.iniFolder()).fileName();
    if (ok && !QFileInfo::exists(stagedIni) && QFileInfo::exists(paths.iniFolder())) {
        ok = QDir().mkpath(stagedIni);
        for (const QFileInfo& info : QDir(paths.iniFolder()).entryInfoList(QDir::Files | QDir::Hidden)) {
            const QString copy = stagedIni + u'/' + info.fileName();
            ok = copyFileAtomically(info.absoluteFilePath(), copy).isEmpty() && ok;
        }
    }
    // Files lying directly in the data folder are no part of a backup; they stay.
    for (const QFileInfo& info : QDir(data).entryInfoList(QDir::Files | QDir::Hidden)) {
        const QString copy = staging + u'/' + info.fileName();
        if (ok)
            ok = copyFileAtomically(info.absoluteFilePath(), copy).isEmpty();
    }
    if (!ok) {
        QDir(staging).removeRecursively();
        return QStringLiteral(
                   "バックアップ「%1」をコピーできませんでした。現在のデータはそのままです。")
            .arg(QDir::toNativeSeparators(folder));
    }
    // From this rename on the restored copy is complete; a crash is finished at start-up.
    if (!QDir().rename(staging, restoreReady(paths)) || !exchange(restoreReady(paths), data)) {
        removeIfPresent(restoreReady(paths));
        removeIfPresent(staging);
        return QStringLiteral("データフォルダを置き換えられませんでした。現在のデータはそのままです。");
    }
    return {};
}

void finishInterruptedRestore(const AppPaths& paths)
{
    const QString data = paths.dataFolder();
    removeIfPresent(restoreStaging(paths)); // never completed
    if (!QFileInfo::exists(data)) {
        if (!QFileInfo::exists(restoreReady(paths)) || !QDir().rename(restoreReady(paths), data))
            QDir().rename(data + QStringLiteral(".old"), data);
    }
    removeIfPresent(restoreReady(paths));
    if (QFileInfo::exists(data))
        removeIfPresent(data + QStringLiteral(".old"));
}

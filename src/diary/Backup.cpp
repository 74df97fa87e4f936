#include "diary/Backup.h"

#include "core/AppPaths.h"
#include "core/AtomicFile.h"
#include "diary/DeleteData.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

const QLatin1String kBackupSuffix("zumicho_backup");

QString clean(const QString& path)
{
    return QDir::cleanPath(QDir(path).absolutePath());
}

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

// Our own folders only: the contents of a folder a link leads to are never removed.
bool removeIfPresent(const QString& folder)
{
    if (!foreignFolderError(folder).isEmpty())
        return false;
    return !QFileInfo::exists(folder) || QDir(folder).removeRecursively();
}

QString parentOf(const QString& path)
{
    return QFileInfo(path).absolutePath();
}

// Puts `fresh` in the place of `current`; the old folder is kept as `current` + ".old"
// until the new one is in place on the disk, and comes back when the exchange fails.
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
    syncFolder(parentOf(current));
    QDir(old).removeRecursively();
    return true;
}

// A backup folder lists the files a backup wrote into it, so that the next backup of the
// day replaces those and nothing the user put beside them. In the staging copy the list is
// written last: a staging folder with a list is complete.
const QLatin1String kWrittenList(".zumicho_backup_files");

QString stagingFor(const QString& target)
{
    return target + QStringLiteral(".partial");
}
// Names the backup in progress, so that the next start finishes it. It lies beside the data
// folder, never in it: a backup only reads the data, which may be read-only.
QString pendingMark(const AppPaths& paths)
{
    return paths.dataHome() + QStringLiteral("/data.backup_pending");
}
// Where earlier versions kept that mark.
QString oldPendingMark(const AppPaths& paths)
{
    return paths.dataFolder() + QStringLiteral("/.backup_pending");
}

// The mark is written in place: the temporary file of an atomic write would lie beside the
// data folder, where a crash would leave it and nothing tidies. A mark cut short by a crash
// lacks its line end; the backup it names had not begun.
bool writePendingMark(const QString& path, const QString& target)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const QByteArray line = target.toUtf8() + '\n';
    const bool written =
        ::write(fd, line.constData(), size_t(line.size())) == line.size() && ::fsync(fd) == 0;
    return ::close(fd) == 0 && written && syncFolder(parentOf(path));
}

// The backup folder a mark names; empty for a mark cut short.
QString markedTarget(const QByteArray& bytes, bool oldMark)
{
    if (oldMark)
        return QString::fromUtf8(bytes);
    return bytes.endsWith('\n') ? QString::fromUtf8(bytes.chopped(1)) : QString();
}

QStringList filesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(folder).relativeFilePath(it.next()));
    files.removeOne(kWrittenList);
    files.sort();
    return files;
}

QStringList writtenList(const QString& folder)
{
    const ReadResult read = readWholeFile(folder + u'/' + kWrittenList);
    return read.ok ? QString::fromUtf8(read.bytes).split(u'\n', Qt::SkipEmptyParts) : QStringList();
}

bool replaceFile(const QString& from, const QString& to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// Moves a complete staging copy into the backup folder file by file, removes what the
// previous backup wrote and this one did not, and finally moves the list in. Repeating it
// after a crash goes on where it stopped.
QString moveBackupIn(const QString& staging, const QString& target)
{
    const QStringList fresh = writtenList(staging);
    const QStringList earlier = writtenList(target);
    const auto failed = [&](const QString& path) {
        return QStringLiteral("「%1」をバックアップフォルダに置けませんでした。")
            .arg(QDir::toNativeSeparators(path));
    };
    QStringList folders{target};
    // The folders are synced below, with the files moved in.
    if (!createFolders(target, folderPermissions(staging), false))
        return failed(target);
    for (const QString& file : fresh) {
        const QString from = staging + u'/' + file;
        const QString to = target + u'/' + file;
        if (!QFileInfo::exists(from) && QFileInfo(to).isFile())
            continue; // moved before the crash
        if (!createFolders(parentOf(to), folderPermissions(parentOf(from)), false) ||
            !replaceFile(from, to))
            return failed(to);
        folders.append(parentOf(to));
    }
    for (const QString& file : earlier) {
        if (fresh.contains(file))
            continue;
        QFile::remove(target + u'/' + file);
        const QString folder = parentOf(target + u'/' + file);
        if (folder != QDir(target).absolutePath())
            QDir().rmdir(folder); // only when nothing else is left in it
        folders.append(folder);
    }
    folders.removeDuplicates();
    for (const QString& folder : folders)
        syncFolder(folder);
    if (!replaceFile(staging + u'/' + kWrittenList, target + u'/' + kWrittenList))
        return failed(target + u'/' + kWrittenList);
    syncFolder(target);
    QDir(staging).removeRecursively();
    syncFolder(parentOf(target));
    return {};
}

// What a killed backup left beside `target`: a complete staging copy is moved in, an
// incomplete one removed. ".old" is what earlier versions kept while exchanging folders.
QString tidyBackupFolder(const QString& target)
{
    const QString old = target + QStringLiteral(".old");
    const QString staging = stagingFor(target);
    for (const QString& ours : {old, staging}) {
        if (const QString error = foreignFolderError(ours); !error.isEmpty())
            return error;
    }
    if (QFileInfo::exists(old)) {
        if (!QFileInfo::exists(target))
            QDir().rename(old, target);
        else
            QDir(old).removeRecursively();
    }
    if (!QFileInfo::exists(staging))
        return {};
    if (QFileInfo::exists(staging + u'/' + kWrittenList))
        return moveBackupIn(staging, target);
    if (!QDir(staging).removeRecursively())
        return QStringLiteral("「%1」を削除できませんでした。")
            .arg(QDir::toNativeSeparators(staging));
    return {};
}

QString restoreStaging(const AppPaths& paths)
{
    return paths.dataHome() + QStringLiteral("/data.restore");
}
QString restoreReady(const AppPaths& paths)
{
    return paths.dataHome() + QStringLiteral("/data.ready");
}

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
    finishInterruptedBackup(paths);
    if (const QString error = tidyBackupFolder(target); !error.isEmpty())
        return error;
    // Lets the next start finish this backup when the program is killed part way. Where the
    // program folder cannot be written either, the complete copy beside the backup folder is
    // the only mark: the next backup into that place, or a restore from it, finishes it.
    const bool marked = writePendingMark(pendingMark(paths), target);
    const QString staging = stagingFor(target);
    const auto unmark = [&] {
        if (marked)
            removeFileDurably(pendingMark(paths));
    };
    const auto fail = [&](const QString& error) {
        QDir(staging).removeRecursively();
        unmark();
        return error + QDir::toNativeSeparators(target);
    };
    // The copy may be read by no more than the data folder it copies.
    if (!createFolders(staging, folderPermissions(paths.dataFolder())))
        return fail(QStringLiteral("バックアップ先にフォルダを作成できません。\r\n"));
    if (!FolderOperation(paths.dataFolder(), staging, FolderMode::Copy) ||
        !copiedSubFolders(paths.dataFolder(), staging))
        return fail(QStringLiteral("データをバックアップ先にコピーできませんでした。\r\n"));
    const QByteArray list = filesBelow(staging).join(u'\n').toUtf8() + '\n';
    if (!writeFileAtomically(staging + u'/' + kWrittenList, list).isEmpty())
        return fail(QStringLiteral("データをバックアップ先にコピーできませんでした。\r\n"));
    // From here the copy is complete: a failure leaves it for the next backup or start.
    if (const QString error = moveBackupIn(staging, target); !error.isEmpty())
        return error;
    unmark();
    return {};
}

void finishInterruptedBackup(const AppPaths& paths)
{
    for (const QString& markPath : {pendingMark(paths), oldPendingMark(paths)}) {
        if (!QFileInfo::exists(markPath))
            continue;
        const ReadResult mark = readWholeFile(markPath);
        if (!mark.ok)
            continue;
        const QString target = markedTarget(mark.bytes, markPath == oldPendingMark(paths));
        // A backup place that is not there now (a removed stick) is tidied another time.
        if (!target.isEmpty() && !QFileInfo(parentOf(target)).isDir())
            continue;
        if (target.isEmpty() || tidyBackupFolder(target).isEmpty())
            removeFileDurably(markPath);
    }
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
        if (dataFolderName.match(info.fileName()).hasMatch() &&
            folderHoldsFiles(info.absoluteFilePath()))
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
        return QStringLiteral("設定の適用が終わっていないため復元できません。\r\n一旦終了して再起動"
                              "してから実行して下さい。");
    if (!looksLikeBackup(folder))
        return QStringLiteral("選択されたフォルダにはバックアップデータが在りません。");

    finishInterruptedRestore(paths);
    finishInterruptedBackup(paths); // a backup of this data left half moved into its folder
    // A backup killed while it was moved into the picked folder left it a mix of two backups.
    if (const QString error = tidyBackupFolder(folder); !error.isEmpty())
        return error;
    const QString staging = restoreStaging(paths);
    for (const QString& ours : {staging, restoreReady(paths)}) {
        if (const QString error = foreignFolderError(ours); !error.isEmpty())
            return error;
    }
    // The restored data folder has the permissions of the backup folder, as its files do.
    // Synced when it takes its name, as everything in it is before.
    if (!removeIfPresent(staging) || !createFolders(staging, folderPermissions(folder), false))
        return QStringLiteral("復元用のフォルダを作成できません。");
    bool ok =
        FolderOperation(folder, staging, FolderMode::Copy) && copiedSubFolders(folder, staging);
    // A backup without settings keeps the settings in use rather than dropping them.
    const QString stagedIni = staging + u'/' + QFileInfo(paths.iniFolder()).fileName();
    if (ok && !QFileInfo::exists(stagedIni) && QFileInfo::exists(paths.iniFolder())) {
        ok = createFolders(stagedIni, folderPermissions(paths.iniFolder()));
        for (const QFileInfo& info :
             QDir(paths.iniFolder()).entryInfoList(QDir::Files | QDir::Hidden)) {
            const QString copy = stagedIni + u'/' + info.fileName();
            ok = copyFileAtomically(info.absoluteFilePath(), copy).isEmpty() && ok;
        }
        ok = syncFolder(stagedIni) && ok;
    }
    // Files lying directly in the data folder are no part of a backup; they stay.
    for (const QFileInfo& info : QDir(data).entryInfoList(QDir::Files | QDir::Hidden)) {
        const QString copy = staging + u'/' + info.fileName();
        if (ok)
            ok = copyFileAtomically(info.absoluteFilePath(), copy).isEmpty();
    }
    ok = ok && syncFolder(staging);
    if (!ok) {
        QDir(staging).removeRecursively();
        return QStringLiteral(
                   "バックアップ「%1」をコピーできませんでした。現在のデータはそのままです。")
            .arg(QDir::toNativeSeparators(folder));
    }
    // From this rename on the restored copy is complete; a crash is finished at start-up.
    const bool ready = QDir().rename(staging, restoreReady(paths)) && syncFolder(paths.dataHome());
    if (!ready || !exchange(restoreReady(paths), data)) {
        removeIfPresent(restoreReady(paths));
        removeIfPresent(staging);
        return QStringLiteral(
            "データフォルダを置き換えられませんでした。現在のデータはそのままです。");
    }
    return {};
}

void finishInterruptedRestore(const AppPaths& paths)
{
    const QString data = paths.dataFolder();
    removeIfPresent(restoreStaging(paths)); // never completed
    const QString old = data + QStringLiteral(".old");
    const auto ours = [](const QString& folder) { return foreignFolderError(folder).isEmpty(); };
    if (!QFileInfo::exists(data) && ours(restoreReady(paths)) && ours(old)) {
        if (!QFileInfo::exists(restoreReady(paths)) || !QDir().rename(restoreReady(paths), data))
            QDir().rename(old, data);
    }
    removeIfPresent(restoreReady(paths));
    if (QFileInfo::exists(data))
        removeIfPresent(data + QStringLiteral(".old"));
}

#include "diary/ApplyUnit.h"

#include "core/AtomicFile.h"
#include "core/FileFaults.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <fcntl.h>
#include <unistd.h>

namespace applyunit {

// Hidden, so the folder listings of the search and the backup never see it.
QString stagingFolder(const AppPaths& paths)
{
    return paths.dataFolder() + QStringLiteral("/.apply");
}

QString commitPath(const QString& staging)
{
    return staging + QStringLiteral("/commit");
}

namespace {

QString movedOutPath(const QString& staging)
{
    return staging + QStringLiteral("/moved-out");
}

QString oldFolder(const QString& staging)
{
    return staging + QStringLiteral("/old");
}

} // namespace

// Says the staging folder holds a password rewrite: month files to rename over their
// originals, not folders to exchange.
QString passwordMarkPath(const QString& staging)
{
    return staging + QStringLiteral("/password");
}

namespace {

bool syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

QString removingFailed(const QString& path)
{
    return QStringLiteral("「%1」を削除できませんでした。").arg(QDir::toNativeSeparators(path));
}

QString donePath(const QString& staging)
{
    return staging + QStringLiteral("/done");
}

QString keyRecordStagePath(const QString& staging)
{
    return staging + QStringLiteral("/key.txt"); // beside the commit, where its check reads it
}

// Says the unit ends the encryption: key.txt goes.
QString noKeyMarkPath(const QString& staging)
{
    return staging + QStringLiteral("/key.none");
}

// The last steps of either kind, once the new settings are in place. The commit becomes the
// done mark in one rename, so a staging folder without a commit is told apart: finished when
// it holds the done mark, else never committed.
QString closeStaging(const QString& staging)
{
    QDir(oldFolder(staging)).removeRecursively();
    QDir(AppPaths(staging).dataFolder()).removeRecursively();
    if (!QFile::rename(commitPath(staging), donePath(staging)) || !syncFolder(staging))
        return removingFailed(commitPath(staging));
    // Every mark goes before the done mark, so that a folder left with one is never taken for
    // a unit that was not committed.
    for (const QString& mark : {movedOutPath(staging), passwordMarkPath(staging),
                                keyRecordStagePath(staging), noKeyMarkPath(staging)}) {
        if (!removeFileDurably(mark))
            return removingFailed(mark);
    }
    if (!removeFileDurably(donePath(staging)))
        return removingFailed(donePath(staging));
    QDir(staging).removeRecursively();
    return QString();
}

// Puts the key record of the unit in place (or removes it); repeatable after a crash.
QString keyRecordFromStaging(const AppPaths& paths, const QString& staging)
{
    if (QFileInfo::exists(keyRecordStagePath(staging))) {
        const ReadResult record = readWholeFile(keyRecordStagePath(staging));
        return record.ok ? writeFileAtomically(paths.keyRecordPath(), record.bytes) : record.error;
    }
    if (QFileInfo::exists(noKeyMarkPath(staging)) && !removeFileDurably(paths.keyRecordPath()))
        return removingFailed(paths.keyRecordPath());
    return QString();
}

QString settingsFromCommit(const AppPaths& paths, const QString& staging)
{
    if (const QString error = keyRecordFromStaging(paths, staging); !error.isEmpty())
        return error;
    const ReadResult settings = readWholeFile(commitPath(staging));
    if (!settings.ok)
        return settings.error;
    return writeFileAtomically(paths.settingsPath(), settings.bytes);
}

// Year folders and the summary folder: what a key rewrite replaces. Anything else in the
// data folder is no data of ours and stays.
QStringList replacedFolders(const QString& dataFolder)
{
    static const QRegularExpression fourDigits(QStringLiteral("^\\d{4}$"));
    QStringList names;
    for (const QString& name :
         QDir(dataFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (fourDigits.match(name).hasMatch())
            names.append(name);
    }
    return names;
}

QString movingFailed(const QString& from, const QString& to)
{
    return QStringLiteral("フォルダ「%1」を「%2」に移動できませんでした。")
        .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to));
}

} // namespace

// Moves the old folders aside, the new ones in, and the new settings into place. Every
// step can be repeated after a crash: the "moved-out" mark tells the two moves apart.
QString swapIn(const AppPaths& paths)
{
    const QString staging = stagingFolder(paths);
    const QString data = paths.dataFolder();
    const QString old = oldFolder(staging);
    if (!QFileInfo::exists(movedOutPath(staging))) {
        createFolders(old);
        for (const QString& name : replacedFolders(data)) {
            if (!QDir().rename(data + u'/' + name, old + u'/' + name))
                return movingFailed(data + u'/' + name, old + u'/' + name);
        }
        syncFolder(data);
        syncFolder(old);
        if (const QString error = writeFileAtomically(movedOutPath(staging), "1"); !error.isEmpty())
            return error;
    }
    const QString fresh = AppPaths(staging).dataFolder();
    for (const QString& name :
         QDir(fresh).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!QDir().rename(fresh + u'/' + name, data + u'/' + name))
            return movingFailed(fresh + u'/' + name, data + u'/' + name);
    }
    syncFolder(data);
    if (const QString error = settingsFromCommit(paths, staging); !error.isEmpty())
        return error;
    // The old data goes before the commit; the moved-out mark after it, so that a staging
    // folder holding only that mark is known as finished.
    if (const QString error = closeStaging(staging); !error.isEmpty())
        return error;
    syncFolder(data);
    return QString();
}

// Errors about the staged copy name the user's own file: the staging folder mirrors the
// data folder below it.
QString namingUsersFiles(QString error, const AppPaths& paths)
{
    const QString staged = AppPaths(stagingFolder(paths)).dataFolder();
    error.replace(QDir::toNativeSeparators(staged), QDir::toNativeSeparators(paths.dataFolder()));
    return error.replace(staged, paths.dataFolder());
}

// Renames every staged month file over its original, then puts the new settings in place.
// A file already renamed is no longer staged, so every step can be repeated after a crash.
QString passwordSwapIn(const AppPaths& paths)
{
    const QString staging = stagingFolder(paths);
    const QString fresh = AppPaths(staging).dataFolder();
    QStringList folders;
    QDirIterator it(fresh, {QStringLiteral("*.log")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = paths.dataFolder() + u'/' + QDir(fresh).relativeFilePath(from);
        if (filefaults::fails(filefaults::Op::Rename, to) ||
            ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
            return QStringLiteral("データファイル「%1」を置き換えられませんでした。")
                .arg(QDir::toNativeSeparators(to));
        folders.append(QFileInfo(to).absolutePath());
    }
    folders.removeDuplicates();
    for (const QString& folder : folders) {
        if (!syncFolder(folder))
            return QStringLiteral("フォルダ「%1」を確定できませんでした。")
                .arg(QDir::toNativeSeparators(folder));
    }
    if (const QString error = settingsFromCommit(paths, staging); !error.isEmpty())
        return error;
    return closeStaging(staging);
}

// A new apply starts only on data that no earlier one left half done.
QString finishEarlierApply(const AppPaths& paths)
{
    if (QString foreign = foreignFolderError(stagingFolder(paths)); !foreign.isEmpty())
        return foreign;
    QString unfinished;
    if (finishInterruptedApply(paths, &unfinished) != ApplyRecovery::Failed)
        return QString();
    return QStringLiteral("前回の設定の適用を完了できていません。\r\n") + unfinished;
}

QString stageKeyRecord(const QString& staging, const std::optional<QString>& record)
{
    if (!record)
        return QString();
    if (record->isEmpty())
        return writeFileAtomically(noKeyMarkPath(staging), "1");
    return writeFileAtomically(keyRecordStagePath(staging), record->toLatin1() + "\r\n");
}

} // namespace applyunit

using namespace applyunit;

ApplyRecovery finishInterruptedApply(const AppPaths& paths, QString* error)
{
    const QString staging = stagingFolder(paths);
    if (const QString foreign = foreignFolderError(staging); !foreign.isEmpty()) {
        if (error)
            *error = foreign;
        return ApplyRecovery::Failed; // nothing in it is ours to finish or remove
    }
    if (!QFileInfo::exists(staging))
        return ApplyRecovery::None;
    if (!QFileInfo::exists(commitPath(staging))) {
        // Either finished but for the tidying, or never committed: then the stored data is
        // the old one, untouched. An empty folder held nothing yet.
        const bool finished = QFileInfo::exists(donePath(staging));
        const bool empty =
            QDir(staging).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QDir(staging).removeRecursively();
        if (finished)
            return ApplyRecovery::Finished;
        return empty ? ApplyRecovery::None : ApplyRecovery::RolledBack;
    }
    const QString failure =
        QFileInfo::exists(passwordMarkPath(staging)) ? passwordSwapIn(paths) : swapIn(paths);
    if (error)
        *error = failure;
    return failure.isEmpty() ? ApplyRecovery::Finished : ApplyRecovery::Failed;
}

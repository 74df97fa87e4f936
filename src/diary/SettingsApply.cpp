#include "diary/SettingsApply.h"

#include "core/AtomicFile.h"
#include "core/FileFaults.h"
#include "diary/DataFolders.h"
#include "diary/KeySort.h"
#include "diary/MonthFile.h"
#include "diary/SummaryFiles.h"
#include "diary/Tally.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Hidden, so the folder listings of the search and the backup never see it.
QString stagingFolder(const AppPaths& paths)
{
    return paths.dataFolder() + QStringLiteral("/.apply");
}
QString commitPath(const QString& staging)
{
    return staging + QStringLiteral("/commit");
}
QString movedOutPath(const QString& staging)
{
    return staging + QStringLiteral("/moved-out");
}
QString oldFolder(const QString& staging)
{
    return staging + QStringLiteral("/old");
}
// Says the staging folder holds a password rewrite: month files to rename over their
// originals, not folders to exchange.
QString passwordMarkPath(const QString& staging)
{
    return staging + QStringLiteral("/password");
}

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

// The last steps of either kind, once the new settings are in place. The commit becomes the
// done mark in one rename, so a staging folder without a commit is told apart: finished when
// it holds the done mark, else never committed.
QString closeStaging(const QString& staging)
{
    QDir(oldFolder(staging)).removeRecursively();
    QDir(AppPaths(staging).dataFolder()).removeRecursively();
    if (!QFile::rename(commitPath(staging), donePath(staging)) || !syncFolder(staging))
        return removingFailed(commitPath(staging));
    for (const QString& mark : {movedOutPath(staging), passwordMarkPath(staging)}) {
        if (!removeFileDurably(mark))
            return removingFailed(mark);
    }
    if (!removeFileDurably(donePath(staging)))
        return removingFailed(donePath(staging));
    QDir(staging).removeRecursively();
    return QString();
}

QString settingsFromCommit(const AppPaths& paths, const QString& staging)
{
    const ReadResult settings = readWholeFile(commitPath(staging));
    if (!settings.ok)
        return settings.error;
    return writeFileAtomically(paths.settingsPath(), settings.bytes);
}

QString monthName(int month)
{
    return QString::number(month).rightJustified(2, u'0');
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

// Reads a month file under the new password, else under the old one.
MonthRead readUnderEither(const QString& path, const QString& oldPassword,
                          const QString& newPassword)
{
    MonthRead read = readMonthFile(path, newPassword);
    if (read.status == MonthRead::Status::Refused && oldPassword != newPassword) {
        MonthRead underOld = readMonthFile(path, oldPassword);
        if (underOld.status == MonthRead::Status::Loaded)
            return underOld;
    }
    return read;
}

bool isKeyDate(const QString& text)
{
    static const QRegularExpression date(QStringLiteral("^\\d{4}/(0[1-9]|1[0-2])/\\d{2}$"));
    return date.match(text).hasMatch() && !text.startsWith(QStringLiteral("0000"));
}

QString movingFailed(const QString& from, const QString& to)
{
    return QStringLiteral("フォルダ「%1」を「%2」に移動できませんでした。")
        .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to));
}

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

// Copies what `from` holds into `to`, folders with their contents, keeping the modes; at
// the top of a year folder its month files are left out (they are written anew).
QString copyOthers(const QString& from, const QString& to, bool yearFolder)
{
    static const QRegularExpression monthFile(QStringLiteral("^(0[1-9]|1[0-2])\\.log$"));
    const QFileInfoList items = QDir(from).entryInfoList(
        QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& item : items) {
        if (yearFolder && item.isFile() && monthFile.match(item.fileName()).hasMatch())
            continue;
        const QString target = to + u'/' + item.fileName();
        if (!createFolders(to))
            return QStringLiteral("フォルダ「%1」を作成できませんでした。")
                .arg(QDir::toNativeSeparators(to));
        if (item.isSymLink()) {
            if (!QFile::link(item.symLinkTarget(), target))
                return QStringLiteral("「%1」をコピーできませんでした。")
                    .arg(QDir::toNativeSeparators(item.filePath()));
        } else if (item.isDir()) {
            if (!createFolders(target))
                return QStringLiteral("フォルダ「%1」を作成できませんでした。")
                    .arg(QDir::toNativeSeparators(target));
            if (const QString error = copyOthers(item.filePath(), target, false); !error.isEmpty())
                return error;
            QFile::setPermissions(target, item.permissions());
        } else {
            if (const QString error = copyFileAtomically(item.filePath(), target); !error.isEmpty())
                return error;
        }
    }
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

} // namespace

StoredMonths readStoredMonths(const AppPaths& paths, const QString& oldPassword,
                              const QString& newPassword, const ApplyProgress& progress)
{
    StoredMonths stored;
    int maximum = 0;
    for (const TotalRow& row : readTotalSummary(paths.totalSummaryPath()))
        maximum += 3 * row.figures.entries;
    for (const QString& year : listYearFolders(paths.dataFolder())) {
        for (int month = 1; month <= 12; ++month) {
            const QString path = paths.monthFilePath(year, monthName(month));
            if (!QFileInfo::exists(path))
                continue;
            MonthRead read = readUnderEither(path, oldPassword, newPassword);
            if (read.status == MonthRead::Status::Missing)
                continue;
            if (!read.readable()) {
                stored.unreadable.append(path);
                if (read.status == MonthRead::Status::Refused)
                    stored.refused.append(path);
                continue;
            }
            for (const EntryRecord& entry : read.entries) {
                if (!isKeyDate(entry[OtherDate])) {
                    stored.badKeyDates.append(path);
                    break;
                }
            }
            stored.records += int(read.entries.size());
            if (progress)
                progress(stored.records, maximum);
            stored.months.append({year, month, path, std::move(read.entries)});
        }
    }
    return stored;
}

QList<StoredMonth> regroupByNewKey(const StoredMonths& stored, const ApplyProgress& progress)
{
    QList<EntryRecord> all;
    all.reserve(stored.records);
    for (const StoredMonth& month : stored.months) {
        for (EntryRecord entry : month.entries) {
            std::swap(entry[KeyDate], entry[OtherDate]);
            all.append(std::move(entry));
        }
    }
    SortMonthList(all, true);
    QList<StoredMonth> months;
    const int maximum = 3 * stored.records;
    int copied = 0;
    for (EntryRecord& entry : all) {
        const QString year = entry[KeyDate].left(4);
        const int month = entry[KeyDate].mid(5, 2).toInt();
        if (months.isEmpty() || months.last().year != year || months.last().month != month)
            months.append({year, month, QString(), {}});
        months.last().entries.append(std::move(entry));
        if (progress)
            progress(stored.records + ++copied, maximum);
    }
    return months;
}

KeyRewrite rewriteKeyDates(const AppPaths& paths, const QList<StoredMonth>& months, int records,
                           const QString& newPassword, const TargetState& target,
                           const CommitWriter& writeCommit, const ApplyProgress& progress)
{
    KeyRewrite result;
    result.error = finishEarlierApply(paths);
    if (!result.error.isEmpty())
        return result;
    const QString staging = stagingFolder(paths);
    const AppPaths fresh(staging);
    const auto fail = [&](const QString& error) {
        QDir(staging).removeRecursively();
        result.error = namingUsersFiles(error, paths);
        return result;
    };
    int written = 2 * records;
    for (const StoredMonth& month : months) {
        const QString path = fresh.monthFilePath(month.year, monthName(month.month));
        const MonthTextBuild build = formatMonthText(month.entries, newPassword);
        if (!build.ok())
            return fail(QStringLiteral("%1年%2月のデータを保存できる形にできませんでした。")
                            .arg(month.year, monthName(month.month)));
        if (const QString error = writeMonthFile(path, build.plain); !error.isEmpty())
            return fail(error);
        // A month that was there before keeps the permissions of its file.
        const QString before = paths.monthFilePath(month.year, monthName(month.month));
        if (QFileInfo::exists(before) && !QFile::setPermissions(path, QFile::permissions(before)))
            return fail(QStringLiteral("「%1」を保存できませんでした。")
                            .arg(QDir::toNativeSeparators(before)));
        // What was written must read back as it was meant, before the old data goes.
        const MonthRead check = readMonthFile(path, newPassword);
        if (check.status != MonthRead::Status::Loaded || check.entries != month.entries)
            return fail(QStringLiteral("「%1」を読み戻せませんでした。")
                            .arg(QDir::toNativeSeparators(path)));
        const YearUpdate update =
            UpdateYearSummary(fresh, month.year, month.month, tallyEntries(month.entries), target);
        if (!update.error.isEmpty() || !update.total.error.isEmpty())
            return fail(update.error.isEmpty() ? update.total.error : update.error);
        result.showTargetMessage = result.showTargetMessage || update.total.showTargetMessage;
        written += int(month.entries.size());
        if (progress)
            progress(written, 3 * records);
    }
    // Whatever else a year folder holds (the user's files and folders) goes along unchanged.
    for (const QString& year : listYearFolders(paths.dataFolder())) {
        if (const QString error = copyOthers(paths.yearFolder(year), fresh.yearFolder(year), true);
            !error.isEmpty())
            return fail(error);
    }
    createFolders(fresh.dataFolder());
    // Anything in the way of a new folder would stop the swap after the commit.
    for (const QString& name :
         QDir(fresh.dataFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QFileInfo inPlace(paths.dataFolder() + u'/' + name);
        if (inPlace.exists() && !inPlace.isDir())
            return fail(QStringLiteral("「%1」がフォルダではないため、データを置けません。")
                            .arg(QDir::toNativeSeparators(inPlace.filePath())));
    }
    if (const QString error = writeCommit(commitPath(staging)); !error.isEmpty())
        return fail(error);
    result.committed = true;
    result.error = swapIn(paths);
    return result;
}

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

PasswordRewrite rewritePasswordLines(const AppPaths& paths, const QString& oldPassword,
                                     const QString& newPassword, const CommitWriter& writeCommit,
                                     const ApplyProgress& progress)
{
    PasswordRewrite result;
    result.error = finishEarlierApply(paths);
    if (!result.error.isEmpty())
        return result;
    const QString staging = stagingFolder(paths);
    const AppPaths fresh(staging);
    const auto fail = [&](const QString& error) {
        QDir(staging).removeRecursively();
        result.error = error;
        result.rewritten = 0;
        return result;
    };
    // Our own work files are no names for the user: a failure before the commit is the
    // settings' failure to be stored.
    const QString settingsNotStored = QStringLiteral("設定ファイル「%1」を保存できませんでした。")
                                          .arg(QDir::toNativeSeparators(paths.settingsPath()));
    struct MonthPath
    {
        QString year, month, path;
    };
    QList<MonthPath> files;
    for (const QString& year : listYearFolders(paths.dataFolder())) {
        for (int month = 1; month <= 12; ++month) {
            const QString path = paths.monthFilePath(year, monthName(month));
            if (QFileInfo::exists(path))
                files.append({year, monthName(month), path});
        }
    }
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString& path = files[i].path;
        if (progress)
            progress(int(i), int(files.size()));
        const MonthRead now = readMonthFile(path, newPassword);
        if (now.status == MonthRead::Status::Missing || now.status == MonthRead::Status::Loaded)
            continue; // already in line
        const MonthRead before =
            now.status == MonthRead::Status::Refused && oldPassword != newPassword
                ? readMonthFile(path, oldPassword)
                : now;
        if (before.status != MonthRead::Status::Loaded) {
            (before.status == MonthRead::Status::Refused ? result.refused : result.damaged)
                .append(path);
            continue;
        }
        const QString cannotWrite =
            QStringLiteral("データファイル「%1」のパスワードを書き換えられませんでした。")
                .arg(QDir::toNativeSeparators(path));
        const MonthTextBuild build = formatMonthText(before.entries, newPassword);
        if (!build.ok())
            return fail(cannotWrite);
        // First, so that a unit cut short at any point leaves a folder that says what it was.
        if (result.rewritten == 0 && !writeFileAtomically(passwordMarkPath(staging), "1").isEmpty())
            return fail(settingsNotStored);
        // Staged beside the data, where nothing reads it, and checked before it may count.
        const QString staged = fresh.monthFilePath(files[i].year, files[i].month);
        const QString error = build.plain.isEmpty() ? writeFileAtomically(staged, QByteArray())
                                                    : writeMonthFile(staged, build.plain);
        const MonthRead check = readMonthFile(staged, newPassword);
        if (!error.isEmpty() || check.status != MonthRead::Status::Loaded ||
            check.entries != before.entries)
            return fail(cannotWrite);
        // It takes the place of the file, with the file's permissions.
        if (!QFile::setPermissions(staged, QFile::permissions(path)))
            return fail(cannotWrite);
        ++result.rewritten;
    }
    if (result.rewritten == 0) {
        // No file to rewrite: storing the settings is all, and one atomic write.
        result.error = writeCommit(paths.settingsPath());
        result.committed = result.error.isEmpty();
        return result;
    }
    // Anything in the way of the settings file would stop the unit after the commit.
    if (QFileInfo(paths.settingsPath()).isDir())
        return fail(QStringLiteral("設定ファイル「%1」がフォルダのため、保存できません。")
                        .arg(QDir::toNativeSeparators(paths.settingsPath())));
    if (const QString error = writeCommit(commitPath(staging)); !error.isEmpty())
        return fail(error.contains(QStringLiteral("/.apply")) ? settingsNotStored : error);
    result.committed = true;
    result.error = passwordSwapIn(paths);
    if (progress)
        progress(int(files.size()), int(files.size()));
    return result;
}

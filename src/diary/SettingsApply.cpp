#include "diary/SettingsApply.h"

#include "core/AtomicFile.h"
#include "diary/ApplyUnit.h"
#include "diary/DataFolders.h"
#include "diary/KeySort.h"
#include "diary/MonthFile.h"
#include "diary/SummaryFiles.h"
#include "diary/Tally.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

using namespace applyunit;

QString monthName(int month)
{
    return QString::number(month).rightJustified(2, u'0');
}

// Reads a month file under the new lock, else under the old one.
MonthRead readUnderEither(const QString& path, const MonthLock& oldLock, const MonthLock& newLock)
{
    MonthRead read = readMonthFile(path, newLock);
    if (read.status != MonthRead::Status::Loaded && read.status != MonthRead::Status::Missing &&
        !(oldLock == newLock)) {
        MonthRead underOld = readMonthFile(path, oldLock);
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

} // namespace

StoredMonths readStoredMonths(const AppPaths& paths, const MonthLock& oldLock,
                              const MonthLock& newLock, const ApplyProgress& progress)
{
    StoredMonths stored;
    int maximum = 0;
    for (const TotalRow& row : readTotalSummary(paths.totalSummaryPath(), nullptr, oldLock.key))
        maximum += 3 * row.figures.entries;
    for (const QString& year : listYearFolders(paths.dataFolder())) {
        for (int month = 1; month <= 12; ++month) {
            const QString path = paths.monthFilePath(year, monthName(month));
            if (!QFileInfo::exists(path))
                continue;
            MonthRead read = readUnderEither(path, oldLock, newLock);
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
                           const MonthLock& newLock, const TargetState& target,
                           const CommitWriter& writeCommit, const ApplyProgress& progress,
                           const std::optional<QString>& keyRecord)
{
    KeyRewrite result;
    result.error = finishEarlierApply(paths);
    if (!result.error.isEmpty())
        return result;
    const QString staging = stagingFolder(paths);
    const AppPaths fresh(staging);
    // The new summaries go in under the new key; the key stays the caller's.
    fresh.setDataKey(std::shared_ptr<const DiaryKey>(std::shared_ptr<void>(), newLock.key));
    const auto fail = [&](const QString& error) {
        QDir(staging).removeRecursively();
        result.error = namingUsersFiles(error, paths);
        return result;
    };
    int written = 2 * records;
    for (const StoredMonth& month : months) {
        const QString path = fresh.monthFilePath(month.year, monthName(month.month));
        const MonthTextBuild build = formatMonthText(month.entries, newLock.password);
        if (!build.ok())
            return fail(QStringLiteral("%1年%2月のデータを保存できる形にできませんでした。")
                            .arg(month.year, monthName(month.month)));
        if (const QString error = writeMonthFile(path, build.plain, newLock.key); !error.isEmpty())
            return fail(error);
        // A month that was there before keeps the permissions of its file.
        const QString before = paths.monthFilePath(month.year, monthName(month.month));
        if (QFileInfo::exists(before) && !QFile::setPermissions(path, QFile::permissions(before)))
            return fail(QStringLiteral("「%1」を保存できませんでした。")
                            .arg(QDir::toNativeSeparators(before)));
        // What was written must read back as it was meant, before the old data goes.
        const MonthRead check = readMonthFile(path, newLock);
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
    if (const QString error = stageKeyRecord(staging, keyRecord); !error.isEmpty())
        return fail(error);
    if (const QString error = writeCommit(commitPath(staging)); !error.isEmpty())
        return fail(error);
    result.committed = true;
    result.error = swapIn(paths);
    return result;
}

PasswordRewrite rewritePasswordLines(const AppPaths& paths, const MonthLock& oldLock,
                                     const MonthLock& newLock, const CommitWriter& writeCommit,
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
        const MonthRead now = readMonthFile(path, newLock);
        if (now.status == MonthRead::Status::Missing || now.status == MonthRead::Status::Loaded)
            continue; // already in line
        const MonthRead before = now.status == MonthRead::Status::Refused && !(oldLock == newLock)
                                     ? readMonthFile(path, oldLock)
                                     : now;
        if (before.status != MonthRead::Status::Loaded) {
            (before.status == MonthRead::Status::Refused ? result.refused : result.damaged)
                .append(path);
            continue;
        }
        const QString cannotWrite =
            QStringLiteral("データファイル「%1」のパスワードを書き換えられませんでした。")
                .arg(QDir::toNativeSeparators(path));
        // First, so that a unit cut short at any point leaves a folder that says what it was.
        if (result.rewritten == 0 && !writeFileAtomically(passwordMarkPath(staging), "1").isEmpty())
            return fail(settingsNotStored);
        // Staged beside the data, where nothing reads it, and checked before it may count.
        const QString staged = fresh.monthFilePath(files[i].year, files[i].month);
        if (!stageMonthCopy(before.entries, newLock, staged, path, cannotWrite).isEmpty())
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

#include "diary/DataReseal.h"

#include "core/AtomicFile.h"
#include "core/FileCrypto.h"
#include "diary/ApplyUnit.h"
#include "diary/DataFolders.h"
#include "diary/SummaryFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

using namespace applyunit;

namespace {

struct DataFile
{
    QString path;   // where it lies
    QString staged; // where its new form is built
    bool month;     // else a summary file
};

QList<DataFile> dataFiles(const AppPaths& paths, const AppPaths& fresh)
{
    QList<DataFile> files;
    for (const QString& year : listYearFolders(paths.dataFolder())) {
        for (int month = 1; month <= 12; ++month) {
            const QString name = QString::number(month).rightJustified(2, u'0');
            const QString path = paths.monthFilePath(year, name);
            if (QFileInfo::exists(path))
                files.append({path, fresh.monthFilePath(year, name), true});
        }
    }
    static const QRegularExpression summaryName(QStringLiteral("^(\\d{4}|total)\\.log$"));
    for (const QString& name : QDir(paths.summaryFolder()).entryList(QDir::Files, QDir::Name)) {
        if (summaryName.match(name).hasMatch())
            files.append(
                {paths.summaryFolder() + u'/' + name, fresh.summaryFolder() + u'/' + name, false});
    }
    return files;
}

// The plain form of a summary file as `key` opens it, if it is one the diary wrote.
std::optional<QByteArray> summaryPlain(const QString& path, const DiaryKey* key)
{
    ReadResult read = readWholeFile(path, 16 * 1024 * 1024);
    if (!read.ok)
        return std::nullopt;
    StoredRead stored = decodeStoredBytes(std::move(read.bytes), key);
    if (!stored.ok())
        return std::nullopt;
    const bool sound = QFileInfo(path).baseName() == u"total"
                           ? parseTotalSummary(stored.plain).has_value()
                           : parseYearSummary(stored.plain).has_value();
    return sound ? std::optional<QByteArray>(std::move(stored.plain)) : std::nullopt;
}

} // namespace

LockPlan planLocks(const Settings& stored, const std::shared_ptr<const DiaryKey>& currentKey,
                   const Settings& wanted)
{
    LockPlan plan;
    plan.from = stored.encryptData ? MonthLock(QString(), currentKey.get())
                                   : MonthLock(stored.passwordInForce());
    const bool encrypt = wanted.encryptData && wanted.startPassword;
    if (!encrypt) {
        Settings plain = wanted;
        plain.encryptData = false;
        plan.to = MonthLock(plain.passwordInForce());
        if (stored.encryptData)
            plan.keyRecordText = QString();
        return plan;
    }
    const QString& password = wanted.startPasswordText;
    if (stored.encryptData && currentKey &&
        (password.isEmpty() || DiaryKey::unlock(password, stored.keyRecord))) {
        plan.to = plan.from;
        plan.key = currentKey;
        plan.record = stored.keyRecord;
        return plan;
    }
    if (password.isEmpty()) {
        plan.error = QStringLiteral("暗号化にはパスワードが必要です。");
        return plan;
    }
    DiaryKey::Made made = DiaryKey::create(password);
    if (!made.key) {
        plan.error = QStringLiteral("暗号化の鍵を作れませんでした（メモリが足りません）。");
        return plan;
    }
    plan.key = std::move(made.key);
    plan.record = made.record;
    plan.keyRecordText = made.record.toText();
    plan.to = MonthLock(QString(), plan.key.get());
    return plan;
}

Reseal resealDataFiles(const AppPaths& paths, const MonthLock& from, const MonthLock& to,
                       const QString& keyRecord, const CommitWriter& writeCommit,
                       const ApplyProgress& progress)
{
    Reseal result;
    result.error = finishEarlierApply(paths);
    if (!result.error.isEmpty())
        return result;
    const QString staging = stagingFolder(paths);
    const AppPaths fresh(staging);
    const auto fail = [&](const QString& error) {
        QDir(staging).removeRecursively();
        result.error = namingUsersFiles(error, paths);
        result.rewritten = 0;
        return result;
    };
    const QList<DataFile> files = dataFiles(paths, fresh);
    // First, so that a unit cut short at any point leaves a folder that says what it was.
    if (const QString error = writeFileAtomically(passwordMarkPath(staging), "1"); !error.isEmpty())
        return fail(error);
    for (qsizetype i = 0; i < files.size(); ++i) {
        const DataFile& file = files[i];
        if (progress)
            progress(int(i), int(files.size()));
        const QString cannotWrite =
            QStringLiteral("データファイル「%1」を書き換えられませんでした。")
                .arg(QDir::toNativeSeparators(file.path));
        if (file.month) {
            const MonthRead before = readMonthFile(file.path, from);
            if (before.status != MonthRead::Status::Loaded) {
                (before.status == MonthRead::Status::Refused ? result.refused : result.damaged)
                    .append(file.path);
                continue;
            }
            if (const QString error =
                    stageMonthCopy(before.entries, to, file.staged, file.path, cannotWrite);
                !error.isEmpty())
                return fail(error);
            ++result.rewritten;
            continue;
        }
        const std::optional<QByteArray> plain = summaryPlain(file.path, from.key);
        if (!plain) {
            result.damaged.append(file.path);
            continue;
        }
        QString error = writeFileAtomically(file.staged, storedBytesOf(*plain, to.key));
        if (error.isEmpty() && summaryPlain(file.staged, to.key) != plain)
            error = cannotWrite;
        if (!error.isEmpty() || !QFile::setPermissions(file.staged, QFile::permissions(file.path)))
            return fail(error.isEmpty() ? cannotWrite : error);
        ++result.rewritten;
    }
    if (!result.refused.isEmpty() || !result.damaged.isEmpty())
        return fail(
            QStringLiteral("読み込めないデータファイルがあるため、暗号化を切り替えられません。"));
    if (const QString error = stageKeyRecord(staging, keyRecord); !error.isEmpty())
        return fail(error);
    if (const QString error = writeCommit(commitPath(staging)); !error.isEmpty())
        return fail(error);
    result.committed = true;
    result.error = passwordSwapIn(paths);
    if (progress)
        progress(int(files.size()), int(files.size()));
    return result;
}

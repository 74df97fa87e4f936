#include "CrashFixture.h"

#include "core/AtomicFile.h"
#include "core/FileCrypto.h"
#include "core/Scramble.h"
#include "diary/Backup.h"
#include "diary/DataReseal.h"
#include "diary/MonthFile.h"
#include "diary/Summaries.h"
#include "diary/Tally.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kDateFormat = QStringLiteral("yyyy/MM/dd");

QByteArray settingsText(bool keyIsEndDay, bool withPassword, bool passwordOn = false)
{
    // No duplicate question, so the child never waits for an answer.
    return QByteArray("[Setting]\r\nFormatKey=") + (keyIsEndDay ? "0" : "1") +
           "\r\nNoTyohuku=0\r\n" +
           (withPassword ? QByteArray("StartPassword=") + (passwordOn ? "1" : "0") +
                               "\r\nStartPasswordInput=" + kCrashPassword.toUtf8() + "\r\n"
                         : QByteArray()) +
           // The deadline notice would take the window off the settings tab once a password
           // question runs the event loop.
           (passwordOn ? "SimekiriStart=0\r\n" : "");
}

// Writes the month files and summaries of `entries` under the given key.
QString writeDiary(const AppPaths& paths, const QList<BaseEntry>& entries, bool keyIsEndDay,
                   bool withPassword = false, bool passwordOn = false)
{
    if (const QString error =
            writeFileAtomically(paths.settingsPath(),
                                scrambleBytes(settingsText(keyIsEndDay, withPassword, passwordOn)));
        !error.isEmpty())
        return error;
    QMap<QString, QList<EntryRecord>> months;
    for (const BaseEntry& base : entries) {
        EntryRecord e = base.record;
        const QDate key = keyIsEndDay ? base.endDay : base.nowDay;
        e[KeyDate] = key.toString(kDateFormat);
        e[OtherDate] = (keyIsEndDay ? base.nowDay : base.endDay).toString(kDateFormat);
        months[key.toString(QStringLiteral("yyyy/MM"))].append(e);
    }
    const QMap<QString, qint64> expenses = baseExpenses();
    for (auto it = months.cbegin(); it != months.cend(); ++it) {
        const QString year = it.key().left(4);
        const QString month = it.key().mid(5, 2);
        if (const QString error =
                writeMonthFile(paths.monthFilePath(year, month),
                               formatMonthText(*it, passwordOn ? kCrashPassword : QString()).plain);
            !error.isEmpty())
            return error;
        const Tally tally = tallyEntries(*it, Currency::fromUnits(expenses.value(it.key())));
        const YearUpdate update = UpdateYearSummary(paths, year, month.toInt(), tally,
                                                    {Currency::fromUnits(1000000), false});
        if (!update.error.isEmpty() || !update.total.error.isEmpty())
            return update.error + update.total.error;
    }
    return {};
}

} // namespace

QString opName(CrashOp op)
{
    switch (op) {
    case CrashOp::Registration:
        return QStringLiteral("registration");
    case CrashOp::Import:
        return QStringLiteral("import");
    case CrashOp::Apply:
        return QStringLiteral("apply");
    case CrashOp::Password:
        return QStringLiteral("password");
    case CrashOp::Backup:
        return QStringLiteral("backup");
    case CrashOp::Restore:
        return QStringLiteral("restore");
    case CrashOp::EncryptOn:
        return QStringLiteral("encrypt-on");
    case CrashOp::EncryptOff:
        return QStringLiteral("encrypt-off");
    }
    return {};
}

QList<CrashOp> allOps()
{
    return {CrashOp::Registration, CrashOp::Import,  CrashOp::Apply,     CrashOp::Password,
            CrashOp::Backup,       CrashOp::Restore, CrashOp::EncryptOn, CrashOp::EncryptOff};
}

std::optional<CrashOp> opFromName(const QString& name)
{
    for (CrashOp op : allOps()) {
        if (opName(op) == name)
            return op;
    }
    return std::nullopt;
}

QString RunFolder::dayBackup() const
{
    return backupTargetFor(place(), kCrashToday);
}

QList<BaseEntry> baseEntries()
{
    static const QStringList results{QStringLiteral("小物当選"), QStringLiteral("不明"),
                                     QStringLiteral("中物当選"), QStringLiteral("落選"),
                                     QStringLiteral("大物当選")};
    QList<BaseEntry> entries;
    int n = 0;
    for (QDate month(2025, 11, 1); month <= QDate(2026, 3, 1); month = month.addMonths(1)) {
        for (int j = 0; j < 5; ++j, ++n) {
            const QDate nowDay = month.addDays(2 + 6 * j);
            const QDate endDay = nowDay.addDays(12 + j); // often in the next month
            const QString result = results[n % results.size()];
            EntryRecord e = makeEntry(
                QString(), QString::number(1000 + n), QStringLiteral("基本-%1").arg(n), result,
                result.contains(QStringLiteral("当選")) ? QStringLiteral("1500")
                                                        : QStringLiteral("0"));
            entries.append({e, nowDay, endDay});
        }
    }
    return entries;
}

QMap<QString, qint64> baseExpenses()
{
    return {{QStringLiteral("2025/12"), 800}, {QStringLiteral("2026/02"), 1200}};
}

QList<PlannedEntry> registrationPlan()
{
    QList<PlannedEntry> plan;
    for (int i = 0; i < 8; ++i) {
        const QDate nowDay = QDate(2026, 2 + i % 3, 20);
        plan.append({QStringLiteral("登録-%1").arg(i), nowDay, nowDay.addDays(10)});
    }
    return plan;
}

QList<QList<PlannedEntry>> importPlan()
{
    QList<QList<PlannedEntry>> plan;
    int n = 0;
    for (int round = 0; round < 3; ++round) {
        QList<PlannedEntry> listings;
        for (int i = 0; i < 5; ++i, ++n) {
            const QDate deadline =
                QDate(2026, 3, 1).addMonths(i % 3 - (i == 4 ? 4 : 0)).addDays(10 + round);
            listings.append({QStringLiteral("取込-%1").arg(n), kCrashToday, deadline});
        }
        plan.append(listings);
    }
    return plan;
}

QString importClipboard(const QList<PlannedEntry>& listings, int firstId)
{
    QString text;
    int id = firstId;
    for (const PlannedEntry& listing : listings) {
        text += QStringLiteral(
                    "ID:%1 賞品:%2 <http://example.jp/x>\r\nURL http://www.example.jp/campaign/\r\n"
                    "当選数:10名様 締切:%3\r\nサイト名:サンプル食品\r\n紹介文:キャンペーン\r\n"
                    "［食品・飲料│アンケート│抽選│毎月│ネット応募］\r\n")
                    .arg(id++)
                    .arg(listing.present, listing.endDay.toString(kDateFormat));
    }
    return text;
}

QMap<QString, QByteArray> userFilesInBackup()
{
    return {{QStringLiteral("メモ.txt"), "backup notes of the user"},
            {QStringLiteral("2026/手書き.txt"), "a note the user put among the month files"}};
}

QString buildFixture(CrashOp op, const RunFolder& run)
{
    const QList<BaseEntry> base = baseEntries();
    if (const QString error = writeDiary(run.paths(), base, op == CrashOp::Import,
                                         op == CrashOp::Password || encrypts(op), encrypts(op));
        !error.isEmpty())
        return error;
    if (op == CrashOp::EncryptOff) {
        // Encrypted the way the settings tab does it, the settings without the password.
        const AppPaths paths = run.paths();
        DiaryKey::Made made = DiaryKey::create(kCrashPassword);
        bool existed = false;
        Settings settings = LoadSettings(paths.settingsPath(), existed);
        settings.encryptData = true;
        const Reseal reseal =
            resealDataFiles(paths, MonthLock(kCrashPassword), MonthLock(QString(), made.key.get()),
                            made.record.toText(), [&](const QString& path) {
                                return SaveSettings(path, settings, 0, 0);
                            });
        if (!reseal.error.isEmpty())
            return reseal.error;
    }
    QDir().mkpath(run.place());
    if (op != CrashOp::Backup && op != CrashOp::Restore)
        return {};

    // Another diary: the day's earlier backup, or the backup a restore brings back.
    const RunFolder other{run.root + QStringLiteral("/other")};
    if (const QString error = writeDiary(other.paths(), base.mid(0, 12), false); !error.isEmpty())
        return error;
    const QDate day = op == CrashOp::Backup ? kCrashToday : QDate(2026, 3, 1);
    const QString error = backupData(other.paths(), run.place(), day);
    QDir(other.root).removeRecursively();
    if (!error.isEmpty() || op == CrashOp::Restore)
        return error;
    const QMap<QString, QByteArray> userFiles = userFilesInBackup();
    for (auto it = userFiles.cbegin(); it != userFiles.cend(); ++it) {
        if (const QString failed = writeFileAtomically(run.dayBackup() + u'/' + it.key(), *it);
            !failed.isEmpty())
            return failed;
    }
    return {};
}

QMap<QString, QByteArray> filesBelow(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), readWholeFile(path).bytes);
    }
    return files;
}

bool copyFolder(const QString& from, const QString& to)
{
    bool ok = QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString target = to + u'/' + QDir(from).relativeFilePath(info.filePath());
        ok = (info.isDir() ? QDir().mkpath(target)
                           : QDir().mkpath(QFileInfo(target).absolutePath()) &&
                                 QFile::copy(info.filePath(), target)) &&
             ok;
    }
    return ok;
}

// What the next start must find after a kill: every file readable, every committed entry
// exactly once, summaries equal to a recount of the month files, nothing temporary left.
#include "CrashChild.h"

#include "core/AtomicFile.h"
#include "core/Dialogs.h"
#include "core/FileCrypto.h"
#include "diary/DataFolders.h"
#include "diary/MonthFile.h"
#include "diary/Settings.h"
#include "diary/Startup.h"
#include "diary/SummaryFiles.h"
#include "diary/SummaryUnits.h"
#include "diary/Tally.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

namespace {

// The start-up path shows boxes for failures, each one a failed check here, and tells of an
// interrupted apply that it was finished or undone.
class StartupDialogs : public Dialogs
{
public:
    MessageAnswer message(const MessageBoxSpec& box) override
    {
        if (box.caption == u"設定の適用" && box.icon == MessageIcon::Information)
            applyTold.append(box.text);
        else
            boxes.append(box.caption + QStringLiteral(" / ") + box.text);
        return box.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
    QString saveFileName(const FileDialogSpec&) override { return {}; }
    QString openFileName(const FileDialogSpec&) override { return {}; }
    QString folderName(const QString&, const QString&) override { return {}; }
    QString clipboardText() override { return {}; }
    void setClipboardText(const QString&) override {}
    ShellResult openUrl(const QString&) override { return ShellResult::Unknown; }
    bool startDetached(const QString&, const QStringList&) override { return false; }
    void beep() override {}
    QStringList boxes;
    QStringList applyTold;
};

QString describe(const Tally& t)
{
    return QStringLiteral("entries %1 wins %2 (%3/%4/%5) won %6 spent %7")
        .arg(t.entries)
        .arg(t.wins)
        .arg(t.small)
        .arg(t.medium)
        .arg(t.large)
        .arg(t.wonAmount.toText(), t.expenses.toText());
}

struct Journal
{
    QStringList committed; // prizes of entries whose operation returned
    int applies = 0;       // key changes or password switches
    int backups = 0;
    bool restored = false;
};

Journal readJournal(const RunFolder& run)
{
    Journal journal;
    QFile file(run.journal());
    if (!file.open(QIODevice::ReadOnly))
        return journal;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        QStringList fields = line.split(u'\t');
        const QString tag = fields.takeFirst();
        journal.committed += tag == u"registration" || tag == u"import" ? fields : QStringList();
        journal.applies += tag == u"apply" || tag == u"password" || tag == u"encrypt";
        journal.backups += tag == u"backup";
        journal.restored = journal.restored || tag == u"restore";
    }
    return journal;
}

class Checker
{
public:
    Checker(CrashOp op, const RunFolder& run, const RunFolder& fixture)
        : m_op(op), m_run(run), m_fixture(fixture)
    {}

    QStringList run()
    {
        StartupDialogs dialogs;
        const bool started = prepareDataFolders(m_run.paths(), dialogs).has_value();
        for (const QString& box : dialogs.boxes)
            fail(QStringLiteral("start-up"), box);
        if (!started)
            return m_failures;
        openKey();
        finishUnits(); // as the program does once the login is past
        const Journal journal = readJournal(m_run);
        checkNoLeftovers();
        readDiary();
        checkSummaries();
        switch (m_op) {
        case CrashOp::Apply:
        case CrashOp::Password:
        case CrashOp::EncryptOn:
        case CrashOp::EncryptOff:
            checkApplyTold(dialogs.applyTold, journal);
            [[fallthrough]];
        case CrashOp::Registration:
        case CrashOp::Import:
            checkEntries(journal);
            break;
        case CrashOp::Backup:
            checkBackup(journal);
            break;
        case CrashOp::Restore:
            checkRestore(journal);
            break;
        }
        return m_failures;
    }

private:
    void fail(const QString& check, const QString& detail)
    {
        m_failures.append(check + QStringLiteral(": ") + detail);
    }

    // An encrypted diary is opened as the login does; the checks read through m_paths.
    void openKey()
    {
        bool existed = false;
        const Settings settings = LoadSettings(m_paths.settingsPath(), existed);
        if (!settings.encryptData)
            return;
        std::shared_ptr<const DiaryKey> key = DiaryKey::unlock(kCrashPassword, settings.keyRecord);
        if (!key)
            fail(QStringLiteral("unreadable"), QStringLiteral("the key record does not open"));
        m_paths.setDataKey(key);
    }

    // Every data file is in the one form the settings say: never a mix.
    void checkForm(const QString& path)
    {
        if (isEncryptedForm(readWholeFile(path).bytes) != m_settings.encryptData)
            fail(QStringLiteral("mixed"), path);
    }

    // Below the program folder only the data layout may remain; a folder of our own may
    // stay as long as it is empty.
    void checkNoLeftovers()
    {
        static const QRegularExpression data(
            QStringLiteral("^data/(ini/(zumicho\\.ini|zumikey\\.ini|user\\.dat|key\\.txt)|\\d{4}/"
                           "(0[1-9]|1[0-2])\\.log|0000/(\\d{4}|total)\\.log)$"));
        const QDir program(m_run.program());
        QDirIterator it(m_run.program(), QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = program.relativeFilePath(it.next());
            if (!data.match(path).hasMatch())
                fail(QStringLiteral("leftover"), path);
        }
        QStringList besideData =
            program.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        besideData.removeOne(QStringLiteral("data"));
        for (const QString& name : besideData)
            fail(QStringLiteral("leftover"), name);
        QStringList inPlace =
            QDir(m_run.place()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        inPlace.removeOne(QFileInfo(m_run.dayBackup()).fileName());
        inPlace.removeOne(QFileInfo(m_run.restoreSource()).fileName());
        for (const QString& name : inPlace)
            fail(QStringLiteral("leftover"), QStringLiteral("place/") + name);
    }

    void finishUnits()
    {
        bool existed = false;
        const Settings settings = LoadSettings(m_paths.settingsPath(), existed);
        const Recount recount =
            finishSummaryUnits(m_paths, settings.passwordInForce(),
                               {settings.dreamMoneyValue, settings.dreamMoneyReached});
        if (!recount.ok())
            fail(QStringLiteral("start-up"),
                 (recount.unreadable + recount.errors).join(QStringLiteral("; ")));
    }

    void readDiary()
    {
        bool existed = false;
        m_settings = LoadSettings(m_paths.settingsPath(), existed);
        if (!existed)
            fail(QStringLiteral("unreadable"), QStringLiteral("settings file missing"));
        for (const QString& year : listYearFolders(m_paths.dataFolder())) {
            for (int m = 1; m <= 12; ++m) {
                const QString month = QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0'));
                // Every month under the one password the settings hold.
                const QString path = m_paths.monthFilePath(year, month);
                const MonthRead read =
                    readMonthFile(path, {m_settings.passwordInForce(), m_paths.dataKey()});
                if (read.status == MonthRead::Status::Missing)
                    continue;
                checkForm(path);
                if (read.status != MonthRead::Status::Loaded)
                    fail(QStringLiteral("unreadable"), m_paths.monthFilePath(year, month));
                m_months.insert(year + u'/' + month, read.entries);
            }
        }
    }

    // Every row of the year and total summaries equals a recount of the month files;
    // expenses are what the fixture booked (a key change starts the summaries afresh).
    void checkSummaries()
    {
        const QMap<QString, qint64> expenses = baseExpenses();
        QStringList years = listYearFolders(m_paths.dataFolder());
        for (const QString& name :
             QDir(m_paths.summaryFolder()).entryList({QStringLiteral("????.log")}, QDir::Files))
            years.append(name.left(4));
        years.removeDuplicates();
        QMap<QString, Tally> yearSums;
        for (const QString& year : years) {
            SummaryReadStatus status;
            const YearSummary summary =
                readYearSummary(m_paths.yearSummaryPath(year), &status, m_paths.dataKey());
            checkForm(m_paths.yearSummaryPath(year));
            if (!status.ok()) {
                fail(QStringLiteral("unreadable"), m_paths.yearSummaryPath(year));
                continue;
            }
            for (int m = 1; m <= 12; ++m) {
                const QString key = year + QStringLiteral("/%1").arg(m, 2, 10, QLatin1Char('0'));
                const Tally& row = summary.months[m - 1];
                const qint64 booked = m_months.contains(key) ? expenses.value(key) : 0;
                Tally recount = tallyEntries(m_months.value(key), Currency::fromUnits(booked));
                if (m_op == CrashOp::Apply)
                    recount.expenses = row.expenses; // a key change books the months afresh
                if (row != recount)
                    fail(QStringLiteral("summary"),
                         QStringLiteral("%1 row: %2; month file: %3")
                             .arg(key, describe(row), describe(recount)));
            }
            yearSums.insert(year, summary.yearTally());
        }
        SummaryReadStatus status;
        const QList<TotalRow> rows =
            readTotalSummary(m_paths.totalSummaryPath(), &status, m_paths.dataKey());
        if (!status.ok())
            fail(QStringLiteral("unreadable"), m_paths.totalSummaryPath());
        QMap<QString, Tally> totals;
        for (const TotalRow& row : rows)
            totals.insert(row.year, row.figures);
        for (auto it = yearSums.cbegin(); it != yearSums.cend(); ++it) {
            if (totals.value(it.key()) != *it)
                fail(QStringLiteral("summary"),
                     QStringLiteral("total row %1: %2; year rows: %3")
                         .arg(it.key(), describe(totals.value(it.key())), describe(*it)));
            totals.remove(it.key());
        }
        for (auto it = totals.cbegin(); it != totals.cend(); ++it)
            fail(QStringLiteral("summary"),
                 QStringLiteral("total row %1 without a year summary").arg(it.key()));
    }

    // Every entry of the fixture and every committed one exactly once, nothing unknown,
    // each in the month of its key date under the stored key, its other fields unchanged.
    void checkEntries(const Journal& journal)
    {
        QMap<QString, int> count;
        QMap<QString, std::pair<QDate, QDate>> dates; // entry date, deadline
        QMap<QString, EntryRecord> base;
        for (const BaseEntry& entry : baseEntries()) {
            count.insert(entry.record[Present], 0);
            dates.insert(entry.record[Present], {entry.nowDay, entry.endDay});
            base.insert(entry.record[Present], entry.record);
        }
        QList<PlannedEntry> planned = registrationPlan();
        for (const QList<PlannedEntry>& round : importPlan())
            planned += round;
        for (const PlannedEntry& entry : planned)
            dates.insert(entry.present, {entry.nowDay, entry.endDay});
        const QString format = QStringLiteral("yyyy/MM/dd");
        for (auto month = m_months.cbegin(); month != m_months.cend(); ++month) {
            for (const EntryRecord& e : *month) {
                const QString present = e[Present];
                if (!dates.contains(present)) {
                    fail(QStringLiteral("entries"),
                         QStringLiteral("unknown entry %1 in %2").arg(present, month.key()));
                    continue;
                }
                ++count[present];
                const auto [nowDay, endDay] = dates.value(present);
                const QDate key = m_settings.keyIsEndDay ? endDay : nowDay;
                if (e[KeyDate] != key.toString(format) || !e[KeyDate].startsWith(month.key()))
                    fail(QStringLiteral("entries"),
                         QStringLiteral("%1 in %2 has key date %3, stored key wants %4")
                             .arg(present, month.key(), e[KeyDate], key.toString(format)));
                if (base.contains(present)) {
                    EntryRecord expected = base.value(present);
                    expected[KeyDate] = e[KeyDate];
                    expected[OtherDate] = e[OtherDate];
                    if (e != expected)
                        fail(QStringLiteral("entries"), QStringLiteral("%1 changed").arg(present));
                }
            }
        }
        for (const QString& present : journal.committed)
            count[present] += 0;
        const QStringList committed = QStringList(base.keys()) + journal.committed;
        for (auto it = count.cbegin(); it != count.cend(); ++it) {
            const bool mustBeThere = committed.contains(it.key());
            if (*it > 1 || (mustBeThere && *it == 0))
                fail(QStringLiteral("entries"),
                     QStringLiteral("%1 is there %2 times").arg(it.key()).arg(*it));
        }
    }

    // What start-up told of an apply the kill cut short matches the stored settings: finished
    // is the round after the journaled ones, undone the last journaled one.
    void checkApplyTold(const QStringList& told, const Journal& journal)
    {
        if (told.size() > 1)
            fail(QStringLiteral("start-up"), told.join(QStringLiteral(" / ")));
        if (told.isEmpty())
            return;
        const bool finished = told[0].contains(QStringLiteral("完了しました"));
        const bool on = m_op == CrashOp::Apply        ? m_settings.keyIsEndDay
                        : m_op == CrashOp::EncryptOn  ? m_settings.encryptData
                        : m_op == CrashOp::EncryptOff ? !m_settings.encryptData
                                                      : m_settings.startPassword;
        if (on != switchedOnAfter(journal.applies + (finished ? 1 : 0)))
            fail(QStringLiteral("start-up"),
                 QStringLiteral("told \"%1\" after %2 rounds, but the settings hold the other")
                     .arg(told[0])
                     .arg(journal.applies));
    }

    QMap<QString, QByteArray> dataFiles(const RunFolder& run) const
    {
        return filesBelow(run.paths().dataFolder());
    }

    // The data is untouched; the day's backup is the earlier one or a complete copy of the
    // data (the copy once a backup returned), and the user's files in it are kept.
    void checkBackup(const Journal& journal)
    {
        const QMap<QString, QByteArray> data = dataFiles(m_run);
        if (data != dataFiles(m_fixture))
            fail(QStringLiteral("backup"), QStringLiteral("the data folder changed"));
        QMap<QString, QByteArray> backup = filesBelow(m_run.dayBackup());
        QMap<QString, QByteArray> earlier = filesBelow(m_fixture.dayBackup());
        const QMap<QString, QByteArray> userFiles = userFilesInBackup();
        for (auto it = userFiles.cbegin(); it != userFiles.cend(); ++it) {
            if (backup.take(it.key()) != *it)
                fail(QStringLiteral("backup"), QStringLiteral("user file %1 lost").arg(it.key()));
            earlier.remove(it.key());
        }
        const QString list = QStringLiteral(".zumicho_backup_files");
        backup.remove(list);
        earlier.remove(list);
        if (backup == data)
            return;
        if (journal.backups > 0 || backup != earlier)
            fail(QStringLiteral("backup"),
                 QStringLiteral("the day's backup is %1 after %2 finished backups")
                     .arg(backup == earlier ? QStringLiteral("the earlier one")
                                            : QStringLiteral("a mix"))
                     .arg(journal.backups));
    }

    // The data is the old one or exactly the backup (the backup once the restore returned);
    // the backup itself is untouched.
    void checkRestore(const Journal& journal)
    {
        if (filesBelow(m_run.restoreSource()) != filesBelow(m_fixture.restoreSource()))
            fail(QStringLiteral("restore"), QStringLiteral("the backup changed"));
        const QMap<QString, QByteArray> data = dataFiles(m_run);
        QMap<QString, QByteArray> restored = filesBelow(m_fixture.restoreSource());
        restored.remove(QStringLiteral(".zumicho_backup_files"));
        if (data == restored)
            return;
        if (journal.restored || data != dataFiles(m_fixture))
            fail(QStringLiteral("restore"),
                 journal.restored ? QStringLiteral("finished, but the data is not the backup")
                                  : QStringLiteral("the data is neither the old nor the backup"));
    }

    CrashOp m_op;
    RunFolder m_run;
    RunFolder m_fixture;
    AppPaths m_paths = m_run.paths();
    Settings m_settings;
    QMap<QString, QList<EntryRecord>> m_months; // "yyyy/MM"
    QStringList m_failures;
};

} // namespace

QStringList recoverAndCheck(CrashOp op, const RunFolder& run, const RunFolder& fixture)
{
    return Checker(op, run, fixture).run();
}

#include "core/AtomicFile.h"
#include "core/FileCrypto.h"
#include "diary/DataReseal.h"
#include "diary/ShownMonth.h"
#include "diary/Summaries.h"
#include "diary/SummaryFiles.h"
#include "support/TempProgramFolder.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QTest>

namespace {

std::shared_ptr<const DiaryKey> g_key;   // the diary's
std::shared_ptr<const DiaryKey> g_other; // another diary's
KeyRecord g_record;

const QList<EntryRecord> kEntries = {makeEntry("2026/07/03", "11", "秘密の賞品", "小物当選", "500"),
                                     makeEntry("2026/07/09", "12")};

QByteArray raw(const QString& path)
{
    return readWholeFile(path).bytes;
}

// Every file below the data folder, by its path, as stored.
QMap<QString, QByteArray> storedFiles(const AppPaths& paths)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(paths.dataFolder(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, raw(path));
    }
    return files;
}

// A scrambled diary under the start password "pw": a month, its year and the total.
void writeScrambledDiary(const TempProgramFolder& f)
{
    f.writeMonth("2026", "07", kEntries, "pw");
    f.writeMonth("2026", "08", {makeEntry("2026/08/01", "13")}, "pw");
    YearSummary year;
    year.months[6] = tallyEntries(kEntries, Currency::fromUnits(120));
    QVERIFY(writeYearSummary(f.paths().yearSummaryPath("2026"), year).isEmpty());
    QVERIFY(writeTotalSummary(f.paths().totalSummaryPath(),
                              {{"2026", year.yearTally(), Currency::fromUnits(100)}})
                .isEmpty());
}

QString settingsCommit(const QString& path)
{
    return writeFileAtomically(path, "new settings");
}

} // namespace

class TestEncryptedFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        DiaryKey::Made made = DiaryKey::create(QStringLiteral("pw"));
        QVERIFY(made.key);
        g_key = std::move(made.key);
        g_record = made.record;
        g_other = DiaryKey::create(QStringLiteral("pw")).key; // same password, another salt
    }

    // Each kind of data file through its own writer and reader: stored encrypted, read back
    // whole under its key, refused as damaged under another key or none.
    void everyFileKindRoundTrips_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("month") << "month";
        QTest::newRow("year summary") << "year";
        QTest::newRow("total summary") << "total";
    }
    void everyFileKindRoundTrips()
    {
        QFETCH(QString, kind);
        TempProgramFolder f;
        const AppPaths paths = f.paths();
        YearSummary year;
        year.months[6] = tallyEntries(kEntries);
        const QList<TotalRow> total = {{"2026", year.yearTally(), Currency::fromUnits(7)}};
        QString path;
        // Whether the file reads back as written under `key`.
        std::function<bool(const DiaryKey*)> readsBack;
        if (kind == u"month") {
            path = paths.monthFilePath("2026", "07");
            QVERIFY(writeMonthFile(path, formatMonthText(kEntries, QString()).plain, g_key.get())
                        .isEmpty());
            readsBack = [&](const DiaryKey* key) {
                const MonthRead read = readMonthFile(path, {QString(), key});
                return read.status == MonthRead::Status::Loaded && read.entries == kEntries;
            };
        } else if (kind == u"year") {
            path = paths.yearSummaryPath("2026");
            QVERIFY(writeYearSummary(path, year, g_key.get()).isEmpty());
            readsBack = [&](const DiaryKey* key) {
                SummaryReadStatus status;
                return readYearSummary(path, &status, key) == year && status.ok();
            };
        } else {
            path = paths.totalSummaryPath();
            QVERIFY(writeTotalSummary(path, total, g_key.get()).isEmpty());
            readsBack = [&](const DiaryKey* key) {
                SummaryReadStatus status;
                return readTotalSummary(path, &status, key) == total && status.ok();
            };
        }
        QVERIFY(isEncryptedForm(raw(path)));
        QVERIFY(readsBack(g_key.get()));
        QVERIFY(!readsBack(g_other.get()));
        QVERIFY(!readsBack(nullptr));
    }

    // A file changed or cut short since it was written is refused, and the writers that
    // would replace it leave it as it is.
    void damagedFilesAreRefusedAndKept_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("cut"); // else one byte flipped
        QTest::newRow("month, flipped byte") << "month" << false;
        QTest::newRow("month, cut short") << "month" << true;
        QTest::newRow("year, flipped byte") << "year" << false;
        QTest::newRow("total, cut short") << "total" << true;
    }
    void damagedFilesAreRefusedAndKept()
    {
        QFETCH(QString, kind);
        QFETCH(bool, cut);
        TempProgramFolder f;
        const AppPaths paths = f.paths();
        paths.setDataKey(g_key);
        ShownMonth month(paths);
        month.load(QDate(2026, 7, 1), QString());
        QVERIFY(month.append(kEntries));
        QVERIFY(month.save(QString()).ok());
        QVERIFY(UpdateYearSummary(paths, "2026", 7, tallyEntries(kEntries), {}).error.isEmpty());
        const QString path = kind == u"month"  ? paths.monthFilePath("2026", "07")
                             : kind == u"year" ? paths.yearSummaryPath("2026")
                                               : paths.totalSummaryPath();
        QByteArray bytes = raw(path);
        if (cut)
            bytes.chop(1);
        else
            bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x01);
        QVERIFY(writeFileAtomically(path, bytes).isEmpty());

        if (kind == u"month") {
            month.load(QDate(2026, 7, 1), QString());
            QCOMPARE(month.fileState(), MonthRead::Status::Damaged);
            QVERIFY(!month.append({makeEntry("2026/07/30", "99")}));
            QVERIFY(!month.save(QString()).ok());
        } else {
            const YearUpdate update =
                UpdateYearSummary(paths, "2026", 7, tallyEntries(kEntries.mid(1)), {});
            QVERIFY(!update.error.isEmpty() || !update.total.error.isEmpty());
        }
        QCOMPARE(raw(path), bytes);
    }

    // Switching on writes every data file anew under the key, with no password line; switching
    // off again gives back the very bytes the diary had.
    void resealGoesOnAndOffByteForByte()
    {
        TempProgramFolder f;
        writeScrambledDiary(f);
        const AppPaths paths = f.paths();
        const QMap<QString, QByteArray> before = storedFiles(paths);

        const Reseal on = resealDataFiles(paths, MonthLock("pw"), MonthLock(QString(), g_key.get()),
                                          g_record.toText(), settingsCommit);
        QVERIFY2(on.error.isEmpty(), qPrintable(on.error));
        QVERIFY(on.committed);
        QCOMPARE(on.rewritten, 4);
        QCOMPARE(raw(paths.keyRecordPath()).trimmed(), g_record.toText().toLatin1());
        QCOMPARE(raw(paths.settingsPath()), QByteArray("new settings"));
        for (const QString& path : before.keys())
            QVERIFY2(isEncryptedForm(raw(path)), qPrintable(path));
        QCOMPARE(readMonthFile(paths.monthFilePath("2026", "07"), {QString(), g_key.get()}).entries,
                 kEntries);

        const Reseal off = resealDataFiles(paths, MonthLock(QString(), g_key.get()),
                                           MonthLock("pw"), QString(), settingsCommit);
        QVERIFY2(off.error.isEmpty(), qPrintable(off.error));
        QVERIFY(!QFileInfo::exists(paths.keyRecordPath()));
        QMap<QString, QByteArray> after = storedFiles(paths);
        after.remove(paths.settingsPath());
        QMap<QString, QByteArray> expected = before;
        expected.remove(paths.settingsPath());
        QCOMPARE(after, expected);
    }

    // A file the old lock cannot open would be left behind in the old form: nothing changes.
    void resealRefusesWhileAFileCannotBeRead()
    {
        TempProgramFolder f;
        writeScrambledDiary(f);
        f.writeMonth("2025", "01", {makeEntry("2025/01/01", "1")}, "third");
        const AppPaths paths = f.paths();
        const QMap<QString, QByteArray> before = storedFiles(paths);
        const Reseal on = resealDataFiles(paths, MonthLock("pw"), MonthLock(QString(), g_key.get()),
                                          g_record.toText(), settingsCommit);
        QVERIFY(!on.committed && !on.error.isEmpty());
        QCOMPARE(on.refused, QStringList{paths.monthFilePath("2025", "01")});
        QCOMPARE(storedFiles(paths), before);
    }

    // What an apply does to the lock, from the stored settings and the wish.
    void planLocks_data()
    {
        QTest::addColumn<bool>("storedEncrypted");
        QTest::addColumn<bool>("encrypt");
        QTest::addColumn<QString>("typed"); // the password typed in this run
        QTest::addColumn<bool>("reseals");
        QTest::addColumn<bool>("keepsKey");
        QTest::newRow("switch on") << false << true << "pw" << true << false;
        QTest::newRow("switch off") << true << false << "pw" << true << false;
        QTest::newRow("encrypted, nothing typed") << true << true << "" << false << true;
        QTest::newRow("encrypted, same password") << true << true << "pw" << false << true;
        QTest::newRow("encrypted, new password") << true << true << "new" << true << false;
        QTest::newRow("plain stays plain") << false << false << "pw" << false << false;
    }
    void planLocks()
    {
        QFETCH(bool, storedEncrypted);
        QFETCH(bool, encrypt);
        QFETCH(QString, typed);
        QFETCH(bool, reseals);
        QFETCH(bool, keepsKey);
        Settings stored;
        stored.startPassword = true;
        stored.startPasswordText = storedEncrypted ? QString() : QStringLiteral("pw");
        stored.encryptData = storedEncrypted;
        stored.keyRecord = storedEncrypted ? g_record : KeyRecord();
        Settings wanted = stored;
        wanted.encryptData = encrypt;
        wanted.startPasswordText = typed;
        const LockPlan plan = ::planLocks(stored, storedEncrypted ? g_key : nullptr, wanted);
        QVERIFY(plan.error.isEmpty());
        QCOMPARE(plan.reseals(), reseals);
        QCOMPARE(plan.key == g_key, keepsKey);
        QCOMPARE(plan.key != nullptr, encrypt);
        // An encrypted diary's files carry no password line; a plain one's carry the password.
        QCOMPARE(plan.to.password, encrypt ? QString() : typed);
        if (plan.key && !keepsKey)
            QVERIFY(DiaryKey::unlock(typed, plan.record));
    }
};

QTEST_GUILESS_MAIN(TestEncryptedFiles)
#include "tst_encryptedfiles.moc"

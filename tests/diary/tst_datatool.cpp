#include "DataTool.h"
#include "core/Scramble.h"
#include "diary/MonthFile.h"
#include "diary/SummaryFiles.h"
#include "platform/SingleInstance.h"
#include "support/TempProgramFolder.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestDataTool : public QObject
{
    Q_OBJECT

    struct Run
    {
        int status;
        QByteArray out;
        QString err;
    };
    static Run run(const QStringList& arguments)
    {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QString err;
        QTextStream errStream(&err);
        const int status = runDataTool(arguments, out, errStream);
        errStream.flush();
        return {status, out.data(), err};
    }

private slots:
    void decodeAndEncodeAreInverse()
    {
        TempProgramFolder folder;
        folder.writeMonth("2026", "07", {makeEntry("2026/07/01", "5")});
        const QString path = folder.paths().monthFilePath("2026", "07");
        const Run decoded = run({"decode", path});
        QCOMPARE(decoded.status, 0);
        QCOMPARE(decoded.out, folder.plainFile("data/2026/07.log"));
        const QString plainPath = folder.path() + "/plain.txt";
        QFile plain(plainPath);
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.write(decoded.out);
        plain.close();
        QFile stored(path);
        QVERIFY(stored.open(QIODevice::ReadOnly));
        QCOMPARE(run({"encode", plainPath}).out, stored.readAll());
    }

    void monthPrintsOneEntryALine()
    {
        TempProgramFolder folder;
        EntryRecord e = makeEntry("2026/07/01", "5", "ホットプレート");
        e[Msg] = QStringLiteral("一\r\n二\tタブ");
        folder.writeMonth("2026", "07", {e, makeEntry("2026/07/02", "6")}, "pw");
        const QString path = folder.paths().monthFilePath("2026", "07");
        const Run ok = run({"month", path, "--password", "pw"});
        QCOMPARE(ok.status, 0);
        const QList<QByteArray> lines = ok.out.split('\n');
        QCOMPARE(lines.size(), 3); // two entries and the empty rest after the last newline
        const QStringList fields = QString::fromUtf8(lines[0]).split(u'\t');
        QCOMPARE(fields.size(), kEntryFieldCount);
        QCOMPARE(fields[Present], QStringLiteral("ホットプレート"));
        QCOMPARE(fields[Msg], QStringLiteral("一\\n二\\tタブ"));
    }

    void failuresSayWhatAndExitNonZero()
    {
        TempProgramFolder folder;
        folder.writeMonth("2026", "07", {makeEntry("2026/07/01", "5")}, "pw");
        const QString path = folder.paths().monthFilePath("2026", "07");
        Run r = run({"month", path});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("password"));
        r = run({"month", folder.path() + "/missing.log"});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("no such file"));
        QFile junk(folder.path() + "/junk.log");
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(scrambleBytes("\"\x81\x81\x81"));
        junk.close();
        r = run({"month", junk.fileName()});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("damaged"));
        // Sound records, but more of them than any month holds: refused by the size alone.
        const QByteArray line = formatMonthText({makeEntry("2026/07/01", "5")}, QString()).plain;
        QVERIFY(writeMonthFile(path, line.repeated(int(kMonthFileSizeMax / line.size()) + 1))
                    .isEmpty());
        r = run({"month", path});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("larger than any month"));
        QCOMPARE(run({"frobnicate", path}).status, 2);
        QCOMPARE(run({}).status, 2);
    }

    // The rows follow the month files, the expense stays; not while the diary runs.
    void recountRewritesTheRowsUnlessTheDiaryRuns()
    {
        TempProgramFolder folder;
        const AppPaths paths = folder.paths();
        folder.writeMonth("2026", "07",
                          {makeEntry("2026/07/01", "1"), makeEntry("2026/07/02", "2")});
        YearSummary stale;
        stale.months[6].entries = 5;
        stale.months[6].expenses = Currency::fromUnits(700);
        QVERIFY(writeYearSummary(paths.yearSummaryPath("2026"), stale).isEmpty());
        {
            // The diary's lock is found whatever the temporary folder of either process.
            QTemporaryDir diaryTemp;
            qputenv("TMPDIR", diaryTemp.path().toLocal8Bit());
            SingleInstance diary("zumicho", paths.dataFolder());
            QVERIFY(diary.tryAcquire());
            qunsetenv("TMPDIR");
            const Run refused = run({"recount", paths.dataFolder()});
            QCOMPARE(refused.status, 1);
            QVERIFY(refused.err.contains("open"));
            QCOMPARE(readYearSummary(paths.yearSummaryPath("2026")), stale);
        }
        const Run done = run({"recount", paths.dataFolder()});
        QCOMPARE(done.status, 0);
        QCOMPARE(
            done.out,
            QByteArray("2026/07: entries 5 -> 2\n2026 total: entries 0 -> 2, expenses 0 -> 700\n"));
        const YearSummary year = readYearSummary(paths.yearSummaryPath("2026"));
        QCOMPARE(year.months[6].entries, 2);
        QCOMPARE(year.months[6].expenses, Currency::fromUnits(700));
        QCOMPARE(readTotalSummary(paths.totalSummaryPath()).value(0).figures, year.yearTally());
        QCOMPARE(run({"recount", paths.dataFolder()}).out, QByteArray("nothing to change\n"));
    }
};

QTEST_GUILESS_MAIN(TestDataTool)
#include "tst_datatool.moc"

#include "core/AtomicFile.h"
#include "diary/SummaryUnits.h"
#include "support/TempProgramFolder.h"

#include <QFile>
#include <QTest>

namespace {

Tally counted(int entries, int wins, Currency won, Currency expenses)
{
    Tally t;
    t.entries = entries;
    t.wins = wins;
    t.small = wins;
    t.wonAmount = won;
    t.expenses = expenses;
    return t;
}

} // namespace

class TestSummaryUnits : public QObject
{
    Q_OBJECT

private slots:
    // A unit cut short after its month file: the rows follow the month file, the booked
    // expense stays, and the record goes.
    void unfinishedUnitIsRecounted_data()
    {
        QTest::addColumn<bool>("yearFile");
        QTest::addColumn<bool>("totalFile");
        QTest::newRow("stale year and total rows") << true << true;
        QTest::newRow("stale year row, no total") << true << false;
        QTest::newRow("no summaries yet") << false << false;
    }

    void unfinishedUnitIsRecounted()
    {
        QFETCH(bool, yearFile);
        QFETCH(bool, totalFile);
        TempProgramFolder folder;
        const AppPaths paths = folder.paths();
        folder.writeMonth(
            "2026", "07",
            {makeEntry("2026/07/01", "1"), makeEntry("2026/07/02", "2", "米", "小物当選", "500")});
        YearSummary stale;
        stale.months[6] = counted(1, 0, {}, Currency::fromUnits(700));
        stale.months[0] = counted(4, 0, {}, {});
        if (yearFile)
            QVERIFY(writeYearSummary(paths.yearSummaryPath("2026"), stale).isEmpty());
        if (totalFile)
            QVERIFY(writeTotalSummary(paths.totalSummaryPath(),
                                      {TotalRow{"2026", stale.yearTally(), {}}})
                        .isEmpty());
        QDir().mkpath(workFolderOf(paths.dataFolder()));
        QVERIFY(beginSummaryUnit(paths, {"2026", 7}).isEmpty());

        const Recount recount = finishSummaryUnits(paths, QString(), {});
        QVERIFY(recount.ok());
        const YearSummary year = readYearSummary(paths.yearSummaryPath("2026"));
        const Currency expense = yearFile ? Currency::fromUnits(700) : Currency();
        QCOMPARE(year.months[6], counted(2, 1, Currency::fromUnits(500), expense));
        QCOMPARE(year.months[0], yearFile ? stale.months[0] : Tally());
        const QList<TotalRow> total = readTotalSummary(paths.totalSummaryPath());
        QCOMPARE(total.size(), 1);
        QCOMPARE(total[0].figures, year.yearTally());
        QVERIFY(unfinishedSummaryUnits(paths).isEmpty());
    }

    // Without the password the month cannot be read: nothing is written, the record stays.
    void unreadableMonthKeepsItsRecord()
    {
        TempProgramFolder folder;
        const AppPaths paths = folder.paths();
        folder.writeMonth("2026", "07", {makeEntry("2026/07/01", "1")}, "pw");
        QDir().mkpath(workFolderOf(paths.dataFolder()));
        QVERIFY(beginSummaryUnit(paths, {"2026", 7}).isEmpty());
        const Recount recount = finishSummaryUnits(paths, QString(), {});
        QCOMPARE(recount.unreadable, QStringList{paths.monthFilePath("2026", "07")});
        QVERIFY(!QFile::exists(paths.yearSummaryPath("2026")));
        QCOMPARE(unfinishedSummaryUnits(paths), (QList<YearMonth>{{"2026", 7}}));
        QVERIFY(finishSummaryUnits(paths, "pw", {}).ok());
        QCOMPARE(readYearSummary(paths.yearSummaryPath("2026")).months[6].entries, 1);
    }
};

QTEST_GUILESS_MAIN(TestSummaryUnits)
#include "tst_summaryunits.moc"

#include "diary/SearchScan.h"
#include "support/DiaryGenerator.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QTest>

namespace {

QStringList keyDates(const QList<EntryRecord>& entries)
{
    QStringList out;
    for (const EntryRecord& e : entries)
        out << e[KeyDate];
    return out;
}

QStringList relative(const TempProgramFolder& folder, const QStringList& paths)
{
    QStringList out;
    for (const QString& p : paths)
        out << QDir(folder.path()).relativeFilePath(p);
    return out;
}

} // namespace

class TestSearchScan : public QObject
{
    Q_OBJECT

private slots:
    void rangeCrossesYearEnd()
    {
        TempProgramFolder folder;
        SearchCriteria c;
        c.keyDate = DateRange{QDate(2024, 2, 10), QDate(2023, 11, 15)}; // typed in reverse
        const QList<SearchStep> steps = planSearchSteps(folder.paths(), c);
        QStringList files;
        for (const SearchStep& s : steps)
            files += relative(folder, s.monthFiles);
        QCOMPARE(files, (QStringList{"data/2023/11.log", "data/2023/12.log", "data/2024/01.log",
                                     "data/2024/02.log"}));

        folder.writeMonth("2023", "10", {makeEntry("2023/10/31", "1")});
        folder.writeMonth("2023", "11",
                          {makeEntry("2023/11/14", "2"), makeEntry("2023/11/15", "3")});
        folder.writeMonth("2024", "01", {makeEntry("2024/01/05", "4")});
        folder.writeMonth("2024", "02",
                          {makeEntry("2024/02/10", "5"), makeEntry("2024/02/11", "6")});
        const SearchOutcome outcome = runSearch(folder.paths(), c, QString());
        QCOMPARE(keyDates(outcome.results),
                 (QStringList{"2023/11/15", "2024/01/05", "2024/02/10"}));
        QCOMPARE(outcome.testedEntries, 5);

        c.keyDate->to = QDate();
        QVERIFY(planSearchSteps(folder.paths(), c).isEmpty());
    }

    void allMonthsReadsYearFoldersOnly()
    {
        TempProgramFolder folder;
        folder.writeMonth("2022", "12", {makeEntry("2022/12/01", "1")});
        folder.writeMonth("2021", "03",
                          {makeEntry("2021/03/01", "2"), makeEntry("2021/03/02", "3")});
        folder.writeMonth("2021", "11", {makeEntry("2021/11/01", "4")});
        // Files shaped like month files in the summary and settings folders are never read.
        folder.writeMonth("0000", "01", {makeEntry("2000/01/01", "99")});
        folder.writeMonth("ini", "01", {makeEntry("2000/01/01", "98")});
        const SearchOutcome outcome = runSearch(folder.paths(), SearchCriteria{}, QString());
        QVERIFY(!outcome.interrupted);
        QCOMPARE(keyDates(outcome.results),
                 (QStringList{"2021/03/01", "2021/03/02", "2021/11/01", "2022/12/01"}));
        QCOMPARE(planSearchSteps(folder.paths(), SearchCriteria{}).size(), 2);
    }

    void emptyDiary()
    {
        TempProgramFolder folder;
        const SearchOutcome outcome = runSearch(folder.paths(), SearchCriteria{}, QString());
        QVERIFY(outcome.results.isEmpty());
        QCOMPARE(outcome.tally, Tally());
    }

    void unreadableFilesAreSkippedAndReported()
    {
        TempProgramFolder folder;
        folder.writeMonth("2024", "01", {makeEntry("2024/01/01", "1")}, "secret");
        folder.writeMonth("2024", "02", {makeEntry("2024/02/01", "2")}, "other");
        folder.writeMonth("2024", "03", {makeEntry("2024/03/01", "3")});
        QFile damaged(folder.paths().monthFilePath("2024", "04"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("\x01\x02\x03 not a month file");
        damaged.close();
        // Damaged only at its last entry: none of its entries may reach the results.
        folder.writeMonth("2024", "05",
                          {makeEntry("2024/05/01", "5"),
                           makeEntry("2024/05/02", "6", "A", "当選", "99999999999999999999")});
        folder.writeMonth("2024", "06", {makeEntry("2024/06/01", "7")});

        QStringList reported;
        SearchScanHooks hooks;
        hooks.unreadableFile = [&](const UnreadableMonthFile& f) { reported << f.path; };
        const SearchOutcome outcome = runSearch(folder.paths(), SearchCriteria{}, "secret", hooks);
        QCOMPARE(keyDates(outcome.results), QStringList{"2024/01/01"});
        QCOMPARE(relative(folder, reported),
                 (QStringList{"data/2024/02.log", "data/2024/03.log", "data/2024/04.log",
                              "data/2024/05.log", "data/2024/06.log"}));
        QCOMPARE(outcome.unreadable.size(), 5);
        QCOMPARE(outcome.unreadable[0].status, MonthRead::Status::Refused);
        QCOMPARE(outcome.unreadable[1].status, MonthRead::Status::Refused);
        QCOMPARE(outcome.unreadable[2].status, MonthRead::Status::Damaged);

        // Without a start password the file carrying one is the one refused.
        const SearchOutcome open = runSearch(folder.paths(), SearchCriteria{}, QString());
        QCOMPARE(keyDates(open.results), (QStringList{"2024/03/01", "2024/06/01"}));
        QCOMPARE(open.unreadable.size(), 4);
        QCOMPARE(open.unreadable[3].status, MonthRead::Status::Damaged);
    }

    void statisticsOfResults()
    {
        TempProgramFolder folder;
        folder.writeMonth("2024", "05",
                          {makeEntry("2024/05/01", "1", "A", "小物当選", "3000"),
                           makeEntry("2024/05/02", "2", "B", "落選", "0"),
                           makeEntry("2024/05/03", "3", "C", "当選", "1500"),
                           makeEntry("2024/05/04", "4", "D", "不明", "999")});
        SearchCriteria c;
        c.present = "b";
        const SearchOutcome one = runSearch(folder.paths(), c, QString());
        QCOMPARE(one.tally, tallyEntries(one.results));
        QCOMPARE(one.tally.entries, 1);
        const SearchOutcome all = runSearch(folder.paths(), SearchCriteria{}, QString());
        QCOMPARE(all.tally, tallyEntries(all.results));
        QCOMPARE(all.tally.wins, 2);
        QCOMPARE(all.tally.small, 1);
        QCOMPARE(all.tally.wonAmount.toText(), u"4500"); // amounts of entries not won do not count
    }

    void interruptingLeavesNoResults()
    {
        TempProgramFolder folder;
        DiaryShape shape;
        shape.firstYear = 2020;
        shape.years = 2;
        shape.entriesPerMonth = 50;
        QCOMPARE(writeGeneratedDiary(folder.paths(), shape), 1200);

        // The window sets the stop flag while it processes events in the progress call.
        bool stopRequested = false;
        int progressCalls = 0;
        SearchScanHooks hooks;
        hooks.progressInterval = std::chrono::milliseconds(0);
        hooks.progress = [&](const SearchProgress& p) {
            ++progressCalls;
            if (p.testedEntries >= 300)
                stopRequested = true;
        };
        hooks.stopRequested = [&] { return stopRequested; };
        const SearchOutcome outcome = runSearch(folder.paths(), SearchCriteria{}, QString(), hooks);
        QVERIFY(outcome.interrupted);
        QVERIFY(outcome.results.isEmpty());
        QCOMPARE(outcome.tally, Tally());
        QCOMPARE(outcome.testedEntries, 300); // stopped right after the entry that asked
        QVERIFY(progressCalls >= 300);

        // Without a stop the same diary is found whole, in scan order.
        const SearchOutcome whole = runSearch(folder.paths(), SearchCriteria{}, QString());
        QCOMPARE(whole.results.size(), 1200);
        QCOMPARE(whole.results.first()[KeyDate].left(7), u"2020/01");
        QCOMPARE(whole.results.last()[KeyDate].left(7), u"2021/12");
        QVERIFY(std::is_sorted(
            whole.results.begin(), whole.results.end(),
            [](const EntryRecord& a, const EntryRecord& b) { return a[KeyDate] < b[KeyDate]; }));
    }

    void progressIsThrottled()
    {
        TempProgramFolder folder;
        DiaryShape shape;
        shape.years = 1;
        shape.entriesPerMonth = 100;
        QCOMPARE(writeGeneratedDiary(folder.paths(), shape), 1200);
        int calls = 0;
        SearchScanHooks hooks;
        hooks.progressInterval = std::chrono::hours(1);
        hooks.progress = [&](const SearchProgress& p) {
            ++calls;
            QCOMPARE(p.testedEntries, 1200); // only the final call comes within an hour
            QCOMPARE(p.stepsDone, 1);
            QCOMPARE(p.stepCount, 1);
        };
        runSearch(folder.paths(), SearchCriteria{}, QString(), hooks);
        QCOMPARE(calls, 1);
    }

    void generatedDiaryMatchesCriteria()
    {
        // The scan and the entry test agree over a varied diary.
        TempProgramFolder folder;
        DiaryShape shape;
        shape.firstYear = 2019;
        shape.years = 2;
        shape.entriesPerMonth = 30;
        QCOMPARE(writeGeneratedDiary(folder.paths(), shape), 720);
        SearchCriteria c;
        c.site = "abc";
        c.kekka = "全当選";
        int expected = 0;
        for (int y = 2019; y <= 2020; ++y)
            for (int m = 1; m <= 12; ++m)
                for (int i = 0; i < 30; ++i)
                    expected += MatchSearchCriteria(generatedEntry(shape, y, m, i), c) ? 1 : 0;
        QVERIFY(expected > 0);
        const SearchOutcome outcome = runSearch(folder.paths(), c, QString());
        QCOMPARE(outcome.results.size(), expected);
        for (const EntryRecord& e : outcome.results) {
            QVERIFY(e[Site].contains("abc", Qt::CaseInsensitive));
            QVERIFY(e.isWon());
        }
    }
};

QTEST_GUILESS_MAIN(TestSearchScan)
#include "tst_searchscan.moc"

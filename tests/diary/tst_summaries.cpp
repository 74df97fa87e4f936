#include "core/AtomicFile.h"
#include "core/Scramble.h"
#include "diary/Expenses.h"
#include "support/ScriptedDialogs.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

Q_DECLARE_METATYPE(QList<CellStyle>)

namespace {

const TargetState kTarget{Currency::fromUnits(1000000), false};

Tally monthTally(int small, int wins, int entries, qint64 won, qint64 expenses = 0)
{
    Tally t;
    t.small = small;
    t.wins = wins;
    t.entries = entries;
    t.wonAmount = Currency::fromUnits(won);
    t.expenses = Currency::fromUnits(expenses);
    return t;
}

QByteArray line(const QByteArray& plain, int index)
{
    return plain.split('\n').value(index) + '\n';
}

const Rgb kBlack{0, 0, 0};
CellStyle plain()
{
    return {};
}
CellStyle bold(Rgb colour = kBlack)
{
    return {colour, true};
}

} // namespace

class TestSummaries : public QObject
{
    Q_OBJECT

private slots:
    void firstSaveOfAYearCreatesBothFiles()
    {
        TempProgramFolder folder;
        const YearUpdate update = UpdateYearSummary(folder.paths(), QStringLiteral("2026"), 7,
                                                    monthTally(1, 2, 5, 12000), kTarget);
        QVERIFY2(update.error.isEmpty() && update.total.error.isEmpty(), qPrintable(update.error));

        QByteArray year;
        for (int m = 1; m <= 12; ++m)
            year += m == 7 ? QByteArray("7,1,0,0,2,5,40.00,12000,0,12000\r\n")
                           : QByteArray::number(m) + ",0,0,0,0,0,0.00,0,0,0\r\n";
        QCOMPARE(folder.plainFile(QStringLiteral("data/0000/2026.log")), year);
        QCOMPARE(folder.plainFile(QStringLiteral("data/0000/total.log")),
                 QByteArray("2026,1,0,0,2,5,40.00,12000,0,12000,988000\r\n"));
        QCOMPARE(update.yearTally, monthTally(1, 2, 5, 12000));
        QVERIFY(!update.total.showTargetMessage);

        // An earlier year is put before it, a later one after it.
        UpdateYearSummary(folder.paths(), QStringLiteral("2027"), 1, monthTally(0, 0, 1, 0),
                          kTarget);
        UpdateYearSummary(folder.paths(), QStringLiteral("2024"), 12, monthTally(0, 1, 1, 300),
                          kTarget);
        QCOMPARE(folder.plainFile(QStringLiteral("data/0000/total.log")),
                 QByteArray("2024,0,0,0,1,1,100.00,300,0,300,999700\r\n"
                            "2026,1,0,0,2,5,40.00,12000,0,12000,987700\r\n"
                            "2027,0,0,0,0,1,0.00,0,0,0,987700\r\n"));
    }

    void yearRowsSumIntoTheTotalRow()
    {
        TempProgramFolder folder;
        UpdateYearSummary(folder.paths(), QStringLiteral("2026"), 1, monthTally(1, 1, 4, 5000, 800),
                          kTarget);
        Tally march = monthTally(0, 2, 2, 1500);
        march.large = 1;
        const YearUpdate update =
            UpdateYearSummary(folder.paths(), QStringLiteral("2026"), 3, march, kTarget);
        QCOMPARE(update.yearTally.wins, 3);
        QCOMPARE(update.yearTally.entries, 6);
        QCOMPARE(update.yearTally.small, 1);
        QCOMPARE(update.yearTally.large, 1);
        QCOMPARE(folder.plainFile(QStringLiteral("data/0000/total.log")),
                 QByteArray("2026,1,0,1,3,6,50.00,6500,800,5700,994300\r\n"));
    }

    void clearedMonthTurnsToZeros()
    {
        TempProgramFolder folder;
        UpdateYearSummary(folder.paths(), QStringLiteral("2026"), 4,
                          monthTally(1, 1, 3, 9000, 2000), kTarget);
        UpdateYearSummary(folder.paths(), QStringLiteral("2026"), 4, Tally(), kTarget);
        QCOMPARE(line(folder.plainFile(QStringLiteral("data/0000/2026.log")), 3),
                 QByteArray("4,0,0,0,0,0,0.00,0,0,0\r\n"));
        QCOMPARE(folder.plainFile(QStringLiteral("data/0000/total.log")),
                 QByteArray("2026,0,0,0,0,0,0.00,0,0,0,1000000\r\n"));
    }

    void removedYearLeavesTheTotal()
    {
        TempProgramFolder folder;
        UpdateYearSummary(folder.paths(), QStringLiteral("2025"), 1, monthTally(0, 1, 1, 400000),
                          kTarget);
        UpdateYearSummary(folder.paths(), QStringLiteral("2026"), 1, monthTally(0, 1, 1, 700000),
                          kTarget);
        TotalUpdate update =
            UpdateTotalSummary(folder.paths(), QStringLiteral("2025"), std::nullopt, kTarget);
        QCOMPARE(folder.plainFile(QStringLiteral("data/0000/total.log")),
                 QByteArray("2026,0,0,0,1,1,100.00,700000,0,700000,300000\r\n"));
        update = UpdateTotalSummary(folder.paths(), QStringLiteral("2026"), std::nullopt, kTarget);
        QVERIFY(update.rows.isEmpty());
        QVERIFY(!QFile::exists(folder.paths().totalSummaryPath()));
    }

    void targetColumnAndMessage_data()
    {
        QTest::addColumn<qint64>("target");
        QTest::addColumn<bool>("reached");
        QTest::addColumn<qint64>("secondBalance");
        QTest::addColumn<QByteArray>("total");
        QTest::addColumn<bool>("message");
        QTest::newRow("exceeded") << qint64(1000000) << false << qint64(700000)
                                  << QByteArray("2025,0,0,0,1,1,100.00,400000,0,400000,600000\r\n"
                                                "2026,0,0,0,1,1,100.00,700000,0,700000,-100000\r\n")
                                  << true;
        QTest::newRow("met exactly")
            << qint64(1000000) << false << qint64(600000)
            << QByteArray("2025,0,0,0,1,1,100.00,400000,0,400000,600000\r\n"
                          "2026,0,0,0,1,1,100.00,600000,0,600000,0\r\n")
            << true;
        QTest::newRow("not yet") << qint64(1000000) << false << qint64(500000)
                                 << QByteArray("2025,0,0,0,1,1,100.00,400000,0,400000,600000\r\n"
                                               "2026,0,0,0,1,1,100.00,500000,0,500000,100000\r\n")
                                 << false;
        QTest::newRow("already shown")
            << qint64(1000000) << true << qint64(700000)
            << QByteArray("2025,0,0,0,1,1,100.00,400000,0,400000,600000\r\n"
                          "2026,0,0,0,1,1,100.00,700000,0,700000,-100000\r\n")
            << false;
        QTest::newRow("target 0 never tells")
            << qint64(0) << false << qint64(700000)
            << QByteArray("2025,0,0,0,1,1,100.00,400000,0,400000,-400000\r\n"
                          "2026,0,0,0,1,1,100.00,700000,0,700000,-1100000\r\n")
            << false;
    }
    void targetColumnAndMessage()
    {
        QFETCH(qint64, target);
        QFETCH(bool, reached);
        QFETCH(qint64, secondBalance);
        const TargetState state{Currency::fromUnits(target), reached};
        TempProgramFolder folder;
        const YearUpdate first = UpdateYearSummary(folder.paths(), QStringLiteral("2025"), 6,
                                                   monthTally(0, 1, 1, 400000), state);
        QVERIFY(!first.total.showTargetMessage);
        const YearUpdate second = UpdateYearSummary(folder.paths(), QStringLiteral("2026"), 2,
                                                    monthTally(0, 1, 1, secondBalance), state);
        QTEST(folder.plainFile(QStringLiteral("data/0000/total.log")), "total");
        QTEST(second.total.showTargetMessage, "message");
    }

    void targetMessageOnlyOncePerTarget()
    {
        // The road the main window follows: show the box, set the flag, save the settings.
        TempProgramFolder folder;
        ScriptedDialogs dialogs;
        TargetState state{Currency::fromUnits(1000000), false};
        const auto save = [&](int month) {
            const YearUpdate update = UpdateYearSummary(folder.paths(), QStringLiteral("2026"),
                                                        month, monthTally(0, 1, 1, 1100000), state);
            if (update.total.showTargetMessage) {
                dialogs.message(targetReachedMessage());
                state.reached = true;
            }
        };
        dialogs.queueAnswer(MessageAnswer::Ok);
        save(1);
        save(1);
        save(2);
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown.at(0).box.text, QStringLiteral("目標収支金額を達成しました。"));
        QCOMPARE(dialogs.shown.at(0).box.caption, QStringLiteral("(^-^)vブィ！"));
        QCOMPARE(dialogs.shown.at(0).box.buttons, MessageButtons::Ok);
        // A new target re-arms it.
        state = {Currency::fromUnits(2000000), false};
        dialogs.queueAnswer(MessageAnswer::Ok);
        save(3);
        QCOMPARE(dialogs.shown.size(), 2);
    }

    void newTargetRecomputesTheColumn()
    {
        TempProgramFolder folder;
        QVERIFY(RecomputeTargetColumn(folder.paths(), kTarget).rows.isEmpty());
        QVERIFY(!QFile::exists(folder.paths().totalSummaryPath()));
        UpdateYearSummary(folder.paths(), QStringLiteral("2025"), 1, monthTally(0, 1, 1, 400000),
                          kTarget);
        UpdateYearSummary(folder.paths(), QStringLiteral("2026"), 1, monthTally(0, 1, 1, 700000),
                          kTarget);
        const QByteArray year2025 = folder.plainFile(QStringLiteral("data/0000/2025.log"));
        const TotalUpdate update =
            RecomputeTargetColumn(folder.paths(), {Currency::fromUnits(2000000), false});
        QVERIFY(!update.showTargetMessage);
        QCOMPARE(folder.plainFile(QStringLiteral("data/0000/total.log")),
                 QByteArray("2025,0,0,0,1,1,100.00,400000,0,400000,1600000\r\n"
                            "2026,0,0,0,1,1,100.00,700000,0,700000,900000\r\n"));
        QCOMPARE(folder.plainFile(QStringLiteral("data/0000/2025.log")), year2025);
    }

    void unreadableYearFileIsLeftAlone_data()
    {
        QTest::addColumn<QByteArray>("stored"); // scrambled bytes; empty: a folder in its place
        const QByteArray good = formatYearSummary(YearSummary());
        QTest::newRow("folder in its place") << QByteArray();
        QTest::newRow("cut short") << scrambleBytes(good.left(good.size() - 40));
        QTest::newRow("NUL bytes") << QByteArray(good.size(), '\0');
        QTest::newRow("random bytes") << QByteArray("\x8a\x01\xff\x13zq\x80\xe3\x9c\x00\x7f");
    }
    void unreadableYearFileIsLeftAlone()
    {
        QFETCH(QByteArray, stored);
        TempProgramFolder folder;
        UpdateYearSummary(folder.paths(), QStringLiteral("2025"), 1, monthTally(0, 1, 1, 100),
                          kTarget);
        const QByteArray total = folder.plainFile(QStringLiteral("data/0000/total.log"));
        const QString path = folder.paths().yearSummaryPath(QStringLiteral("2026"));
        if (stored.isEmpty())
            QVERIFY(QDir().mkpath(path));
        else
            QVERIFY(writeFileAtomically(path, stored).isEmpty());
        const YearUpdate update = UpdateYearSummary(folder.paths(), QStringLiteral("2026"), 1,
                                                    monthTally(0, 1, 1, 100), kTarget);
        QVERIFY(update.error.contains(path) || stored.isEmpty());
        QVERIFY(!update.error.isEmpty());
        QCOMPARE(folder.plainFile(QStringLiteral("data/0000/total.log")), total);
        if (!stored.isEmpty())
            QCOMPARE(readWholeFile(path).bytes, stored);
        QVERIFY(!readYearList(folder.paths(), QStringLiteral("2026")).status.ok());
    }

    void rowStyles_data()
    {
        const Rgb red168{168, 0, 0}, green168{0, 168, 0}, blue168{0, 0, 168}, blue{0, 0, 255},
            red{255, 0, 0};
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<CellStyle>>("styles");
        QTest::newRow("zero row stays plain")
            << QStringList{"4", "0", "0", "0", "0", "0", "0.00", "0", "0", "0"}
            << QList<CellStyle>(10, plain());
        QTest::newRow("every figure marked")
            << QStringList{"7", "1", "2", "10", "13", "40", "32.50", "15000", "3000", "12000"}
            << QList<CellStyle>{plain(), bold(red168), bold(green168), bold(blue168), bold(),
                                bold(),  bold(),       bold(blue),     bold(red),     bold(blue)};
        QTest::newRow("expenses only: negative balance in red")
            << QStringList{"12", "0", "0", "0", "0", "0", "0.00", "0", "800", "-800"}
            << QList<CellStyle>{plain(), plain(), plain(), plain(),   plain(),
                                plain(), plain(), plain(), bold(red), bold(red)};
        QTest::newRow("classless wins")
            << QStringList{"2", "0", "0", "0", "2", "5", "40.00", "600", "0", "600"}
            << QList<CellStyle>{plain(), plain(), plain(),    plain(), bold(),
                                bold(),  bold(),  bold(blue), plain(), bold(blue)};
        QTest::newRow("total row: target column bold unless 0")
            << QStringList{"2026", "0", "0", "0", "0", "0", "0.00", "0", "0", "0", "-100000"}
            << (QList<CellStyle>(10, plain()) << bold());
        QTest::newRow("total row: target 0 plain")
            << QStringList{"2026", "0", "0", "0", "0", "0", "0.00", "0", "0", "0", "0"}
            << QList<CellStyle>(11, plain());
    }
    void rowStyles()
    {
        QFETCH(QStringList, texts);
        QTEST(summaryRowStyles(texts), "styles");
    }

    void listsAndTheirSums()
    {
        TempProgramFolder folder;
        const YearList none = readYearList(folder.paths(), QStringLiteral("2026"));
        QVERIFY(!none.status.existed);
        QCOMPARE(none.rows.size(), 12);
        QCOMPARE(none.rows.at(11).texts,
                 (QStringList{"12", "0", "0", "0", "0", "0", "0.00", "0", "0", "0"}));
        QVERIFY(readTotalList(folder.paths()).rows.isEmpty());

        UpdateYearSummary(folder.paths(), QStringLiteral("2025"), 5, monthTally(1, 1, 3, 2000, 500),
                          kTarget);
        UpdateYearSummary(folder.paths(), QStringLiteral("2026"), 5, monthTally(0, 2, 2, 3000),
                          kTarget);
        UpdateYearSummary(folder.paths(), QStringLiteral("2026"), 8, monthTally(0, 0, 4, 0, 100),
                          kTarget);
        const YearList year = readYearList(folder.paths(), QStringLiteral("2026"));
        QCOMPARE(year.rows.at(7).texts,
                 (QStringList{"8", "0", "0", "0", "0", "4", "0.00", "0", "100", "-100"}));
        QCOMPARE(year.yearTally.wins, 2);
        QCOMPARE(year.yearTally.entries, 6);
        QCOMPARE(year.yearTally.balance().toText(), QStringLiteral("2900"));
        QCOMPARE(year.yearTally.winRateText(), QStringLiteral("33.33"));

        const TotalList total = readTotalList(folder.paths());
        QCOMPARE(total.rows.size(), 2);
        QCOMPARE(total.rows.at(1).texts.last(), QStringLiteral("995600"));
        QCOMPARE(total.totalTally.wins, 3);
        QCOMPARE(total.totalTally.entries, 9);
        QCOMPARE(total.totalTally.wonAmount.toText(), QStringLiteral("5000"));
        QCOMPARE(total.totalTally.expenses.toText(), QStringLiteral("600"));
    }

    void bookedExpenseSurvivesTheFirstEntry()
    {
        TempProgramFolder folder;
        const AppPaths paths = folder.paths();
        // Booked with Enter for a month that has no entries and no month file yet.
        const ExpenseBooking booking =
            BookExpense(paths, QStringLiteral("2026"), 9, QStringLiteral("3000"), kTarget);
        QVERIFY(booking.update.error.isEmpty());
        QCOMPARE(booking.list.rows.at(8).texts,
                 (QStringList{"9", "0", "0", "0", "0", "0", "0.00", "0", "3000", "-3000"}));
        QVERIFY(!canBookExpense(booking.list.summary.months[8]));
        QVERIFY(!QFile::exists(paths.monthFilePath(QStringLiteral("2026"), QStringLiteral("09"))));

        // Opening the month loads the booked amount, so saving its first entry keeps it.
        const Currency expense = loadMonthExpense(paths, QStringLiteral("2026"), 9);
        QCOMPARE(expense.toText(), QStringLiteral("3000"));
        UpdateYearSummary(paths, QStringLiteral("2026"), 9, monthTally(0, 1, 1, 5000, 3000),
                          kTarget);
        QCOMPARE(line(folder.plainFile(QStringLiteral("data/0000/2026.log")), 8),
                 QByteArray("9,0,0,0,1,1,100.00,5000,3000,2000\r\n"));
        QVERIFY(canBookExpense(readYearList(paths, QStringLiteral("2026")).summary.months[8]));
    }

    void bookingKeepsTheMonthFigures()
    {
        TempProgramFolder folder;
        const AppPaths paths = folder.paths();
        UpdateYearSummary(paths, QStringLiteral("2026"), 2, monthTally(1, 2, 6, 8000, 100),
                          kTarget);
        const ExpenseBooking booking =
            BookExpense(paths, QStringLiteral("2026"), 2, QString(), kTarget);
        QCOMPARE(booking.list.rows.at(1).texts,
                 (QStringList{"2", "1", "0", "0", "2", "6", "33.33", "8000", "0", "8000"}));
        BookExpense(paths, QStringLiteral("2026"), 2, QStringLiteral("2500"), kTarget);
        QCOMPARE(folder.plainFile(QStringLiteral("data/0000/total.log")),
                 QByteArray("2026,1,0,0,2,6,33.33,8000,2500,5500,994500\r\n"));
        QCOMPARE(expenseCaption(QStringLiteral("2026"), QStringLiteral("02")),
                 QStringLiteral("2026年02月の支出総額"));
    }
};

QTEST_GUILESS_MAIN(TestSummaries)
#include "tst_summaries.moc"

#include "diary/Tally.h"
#include "support/TempProgramFolder.h"

#include <QTest>

Q_DECLARE_METATYPE(RowColour)

namespace {
const QString kToday = QStringLiteral("2026/12/07");

EntryRecord won(const QString& kekka, const QString& amount, const QString& happyDay = kNoHappyDay)
{
    EntryRecord e = makeEntry(QStringLiteral("2026/12/01"), QStringLiteral("1"),
                              QStringLiteral("賞品"), kekka, amount);
    e[HappyDay] = happyDay;
    return e;
}
} // namespace

class TestTally : public QObject
{
    Q_OBJECT

private slots:
    void winRate_data()
    {
        QTest::addColumn<int>("wins");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("text");
        QTest::newRow("no entries") << 0 << 0 << "0.00";
        QTest::newRow("no wins") << 0 << 7 << "0.00";
        QTest::newRow("third") << 1 << 3 << "33.33";
        QTest::newRow("two thirds") << 2 << 3 << "66.67";
        QTest::newRow("all") << 4 << 4 << "100.00";
        QTest::newRow("eighth") << 1 << 8 << "12.50";
        QTest::newRow("exact half rounds up") << 1 << 800 << "0.13";
        QTest::newRow("tiny rate") << 1 << 30000 << "0.00";
        QTest::newRow("wins without entries") << 3 << 0 << "0.00";
    }
    void winRate()
    {
        QFETCH(int, wins);
        QFETCH(int, entries);
        QFETCH(QString, text);
        QCOMPARE(winRateText(wins, entries), text);
    }

    void counting_data()
    {
        QTest::addColumn<QString>("kekka");
        QTest::addColumn<int>("wins");
        QTest::addColumn<int>("small");
        QTest::addColumn<int>("medium");
        QTest::addColumn<int>("large");
        QTest::addColumn<QString>("wonAmount");
        QTest::newRow("small") << "小物当選" << 1 << 1 << 0 << 0 << "500";
        QTest::newRow("medium") << "中物当選" << 1 << 0 << 1 << 0 << "500";
        QTest::newRow("large") << "大物当選" << 1 << 0 << 0 << 1 << "500";
        QTest::newRow("win without class") << "当選" << 1 << 0 << 0 << 0 << "500";
        QTest::newRow("any text with the word") << "当選(ギフト券)" << 1 << 0 << 0 << 0 << "500";
        QTest::newRow("lost") << "落選" << 0 << 0 << 0 << 0 << "0";
        QTest::newRow("unknown") << "不明" << 0 << 0 << 0 << 0 << "0";
        QTest::newRow("class text not exact") << "小物当選 " << 1 << 0 << 0 << 0 << "500";
    }
    void counting()
    {
        QFETCH(QString, kekka);
        Tally t;
        countEntry(t, won(kekka, QStringLiteral("500")));
        QCOMPARE(t.entries, 1);
        QTEST(int(t.wins), "wins");
        QTEST(int(t.small), "small");
        QTEST(int(t.medium), "medium");
        QTEST(int(t.large), "large");
        QTEST(t.wonAmount.toText(), "wonAmount");
    }

    void rowColour_data()
    {
        QTest::addColumn<QString>("kekka");
        QTest::addColumn<QString>("happyDay");
        QTest::addColumn<RowColour>("colour");
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("g");
        QTest::addColumn<int>("b");
        QTest::newRow("plain") << "不明"
                               << "----/--/--" << RowColour::Plain << 0 << 0 << 0;
        QTest::newRow("small") << "小物当選"
                               << "2026/11/30" << RowColour::Small << 168 << 0 << 0;
        QTest::newRow("medium on the win day stays green")
            << "中物当選" << kToday << RowColour::Medium << 0 << 168 << 0;
        QTest::newRow("large") << "大物当選"
                               << "----/--/--" << RowColour::Large << 0 << 0 << 168;
        QTest::newRow("classless win on the win day is gold")
            << "当選" << kToday << RowColour::WinDay << 191 << 159 << 63;
        QTest::newRow("classless win another day")
            << "当選"
            << "2026/12/06" << RowColour::Plain << 0 << 0 << 0;
        QTest::newRow("win day without a win")
            << "不明" << kToday << RowColour::WinDay << 191 << 159 << 63;
    }
    void rowColour()
    {
        QFETCH(QString, kekka);
        QFETCH(QString, happyDay);
        QFETCH(RowColour, colour);
        const RowColour actual = entryRowColour(won(kekka, QStringLiteral("0"), happyDay), kToday);
        QCOMPARE(actual, colour);
        QFETCH(int, r);
        QFETCH(int, g);
        QFETCH(int, b);
        QCOMPARE(rgbOf(actual), (Rgb{std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)}));
    }

    void listTotalsAndPanel()
    {
        const QList<EntryRecord> rows = {
            won(QStringLiteral("小物当選"), QStringLiteral("1000")),
            won(QStringLiteral("不明"), QStringLiteral("0")),
            won(QStringLiteral("当選"), QStringLiteral("2500"), kToday),
            won(QStringLiteral("落選"), QStringLiteral("0")),
        };
        const PanelTexts panel = panelTexts(tallyEntries(rows, Currency::fromUnits(5000)));
        QCOMPARE(panel.happyCount, QStringLiteral("2"));
        QCOMPARE(panel.totalCount, QStringLiteral("4"));
        QCOMPARE(panel.percent, QStringLiteral("50.00"));
        QCOMPARE(panel.happyMoney, QStringLiteral("3500"));
        QCOMPARE(panel.unhappyMoney, QStringLiteral("5000"));
        QCOMPARE(panel.totalMoney, QStringLiteral("-1500"));
    }

    void emptyMonthShowsItsExpense()
    {
        const PanelTexts panel = panelTexts(tallyEntries({}, Currency::fromUnits(3000)));
        QCOMPARE(QStringList({panel.happyCount, panel.totalCount, panel.percent, panel.happyMoney,
                              panel.unhappyMoney, panel.totalMoney}),
                 QStringList({"0", "0", "0.00", "0", "3000", "-3000"}));
    }
};

QTEST_GUILESS_MAIN(TestTally)
#include "tst_tally.moc"

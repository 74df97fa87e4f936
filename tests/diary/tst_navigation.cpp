#include "diary/MonthNavigation.h"
#include "forms/ColumnSort.h"
#include "support/TempProgramFolder.h"

#include <QTest>

class TestNavigation : public QObject
{
    Q_OBJECT

private slots:
    void monthSteps_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("delta");
        QTest::addColumn<QString>("to");
        QTest::newRow("31 March back, leap year") << "2024/03/31" << -1 << "2024/02/29";
        QTest::newRow("31 March back, common year") << "2023/03/31" << -1 << "2023/02/28";
        QTest::newRow("15 March back") << "2023/03/15" << -1 << "2023/02/15";
        QTest::newRow("31 May forward") << "2026/05/31" << 1 << "2026/06/30";
        QTest::newRow("30 January forward, common year") << "2026/01/30" << 1 << "2026/02/28";
        QTest::newRow("December forward") << "2026/12/10" << 1 << "2027/01/10";
        QTest::newRow("January back") << "2026/01/31" << -1 << "2025/12/31";
        QTest::newRow("29 February forward") << "2024/02/29" << 1 << "2024/03/29";
        QTest::newRow("January 0001 back wraps") << "0001/01/15" << -1 << "9999/12/15";
    }
    void monthSteps()
    {
        QFETCH(QString, from);
        QFETCH(int, delta);
        QFETCH(QString, to);
        const ShownDay shown{from.mid(0, 4), from.mid(5, 2), from.mid(8, 2)};
        const ShownDay next = stepMonth(shown, shown.day, delta);
        QCOMPARE(next.year + u'/' + next.month + u'/' + next.day, to);
    }

    void yearSteps_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("delta");
        QTest::addColumn<QString>("to");
        QTest::newRow("29 February back") << "2024/02/29" << -1 << "2023/02/28";
        QTest::newRow("29 February forward") << "2024/02/29" << 1 << "2025/02/28";
        QTest::newRow("28 February to a leap year") << "2023/02/28" << 1 << "2024/02/28";
        QTest::newRow("29 February four years on") << "2020/02/29" << 4 << "2024/02/29";
        QTest::newRow("0001 back wraps") << "0001/06/10" << -1 << "9999/06/10";
        QTest::newRow("9999 forward wraps") << "9999/06/10" << 1 << "0001/06/10";
    }
    void yearSteps()
    {
        QFETCH(QString, from);
        QFETCH(int, delta);
        QFETCH(QString, to);
        const ShownDay shown{from.mid(0, 4), from.mid(5, 2), from.mid(8, 2)};
        const ShownDay next = stepYear(shown, shown.day, delta);
        QCOMPARE(next.year + u'/' + next.month + u'/' + next.day, to);
    }

    void leapYears()
    {
        QVERIFY(isLeapYear(2000) && isLeapYear(2024));
        QVERIFY(!isLeapYear(1900) && !isLeapYear(2023));
    }

    void idColumnSortsAsNumbersDescendingFirst()
    {
        QList<EntryRecord> rows{makeEntry("2026/07/01", "9"), makeEntry("2026/07/02", "010"),
                                makeEntry("2026/07/03", "abc"), makeEntry("2026/07/04", "100")};
        SortToggle toggle;
        sortByColumn(rows, ID, toggle.nextIsDescending());
        QStringList ids;
        for (const auto& r : rows)
            ids << r[ID];
        QCOMPARE(ids, (QStringList{"abc", "100", "10", "9"}));
        sortByColumn(rows, ID, toggle.nextIsDescending());
        ids.clear();
        for (const auto& r : rows)
            ids << r[ID];
        QCOMPARE(ids, (QStringList{"9", "10", "100", "abc"}));
    }

    void amountSortKeepsFractionsAndTextSortIsStable()
    {
        QList<EntryRecord> rows{makeEntry("2026/07/01", "1", "b", "当選", "12.5"),
                                makeEntry("2026/07/02", "2", "B", "当選", "3000"),
                                makeEntry("2026/07/03", "3", "a", "当選", "0")};
        sortByColumn(rows, HappyMoney, false);
        QCOMPARE(rows[0][HappyMoney], QStringLiteral("0"));
        QCOMPARE(rows[1][HappyMoney], QStringLiteral("12.5")); // kept, never rounded
        QCOMPARE(rows[2][HappyMoney], QStringLiteral("3000"));
        sortByColumn(rows, Present, false);
        QCOMPARE(rows[0][Present], QStringLiteral("a"));
        QCOMPARE(rows[1][ID], QStringLiteral("1")); // "b" and "B" keep their order
        QCOMPARE(rows[2][ID], QStringLiteral("2"));
    }
};

QTEST_GUILESS_MAIN(TestNavigation)
#include "tst_navigation.moc"

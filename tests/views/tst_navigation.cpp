#include "views/MonthNavigation.h"

#include <QTest>

class TestNavigation : public QObject
{
    Q_OBJECT

private slots:
    void steps_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("to");
        QTest::newRow("31 March back, leap year") << "2024/03/31" << "<" << "2024/02/29";
        QTest::newRow("31 March back, common year") << "2023/03/31" << "<" << "2023/02/28";
        QTest::newRow("15 March back") << "2023/03/15" << "<" << "2023/02/15";
        QTest::newRow("31 January forward") << "2023/01/31" << ">" << "2023/02/28";
        QTest::newRow("31 May forward") << "2026/05/31" << ">" << "2026/06/30";
        QTest::newRow("30 April forward") << "2026/04/30" << ">" << "2026/05/30";
        QTest::newRow("December forward") << "2026/12/31" << ">" << "2027/01/31";
        QTest::newRow("January back") << "2026/01/10" << "<" << "2025/12/10";
        QTest::newRow("first year back wraps") << "0001/01/05" << "<" << "9999/12/05";
        QTest::newRow("29 February year back") << "2024/02/29" << "<<" << "2023/02/28";
        QTest::newRow("29 February year forward") << "2024/02/29" << ">>" << "2025/02/28";
        QTest::newRow("29 February four years on") << "2020/02/29" << ">>" << "2021/02/28";
        QTest::newRow("28 February into a leap year") << "2023/02/28" << ">>" << "2024/02/28";
        QTest::newRow("31 July year forward") << "2026/07/31" << ">>" << "2027/07/31";
        QTest::newRow("last year wraps") << "9999/05/01" << ">>" << "0001/05/01";
        QTest::newRow("first year wraps") << "0001/05/01" << "<<" << "9999/05/01";
    }
    void steps()
    {
        QFETCH(QString, from);
        QFETCH(QString, button);
        const QStringList parts = from.split(u'/');
        const ShownDay shown{parts.at(0), parts.at(1), parts.at(2)};
        const QDate picker = shown.toDate();
        const int direction = button.startsWith(u'<') ? -1 : 1;
        const ShownDay next = button.size() == 1 ? stepMonth(shown, picker, direction)
                                                 : stepYear(shown, picker, direction);
        QTEST(next.year + u'/' + next.month + u'/' + next.day, "to");
    }

    void leapYears()
    {
        QVERIFY(isLeapYear(2000));
        QVERIFY(!isLeapYear(1900));
        QVERIFY(isLeapYear(2024));
        QVERIFY(!isLeapYear(2026));
    }
};

QTEST_GUILESS_MAIN(TestNavigation)
#include "tst_navigation.moc"

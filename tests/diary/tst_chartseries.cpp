#include "diary/ChartSeries.h"
#include "support/TallyFigures.h"

#include <QTest>

class tst_ChartSeries : public QObject
{
    Q_OBJECT

private slots:
    void yearSeries();
    void totalSeries_data();
    void totalSeries();
};

void tst_ChartSeries::yearSeries()
{
    // The year file's rows as read: March wins money, May spends more than it wins.
    QByteArray plain = "1,0,0,0,0,0,0.00,0,0,0\r\n"
                       "2,0,0,0,0,4,0.00,0,500,-500\r\n"
                       "3,1,0,0,1,10,10.00,3000,0,3000\r\n"
                       "4,0,0,0,0,0,0.00,0,0,0\r\n"
                       "5,0,1,0,2,8,25.00,1000,4000,-3000\r\n";
    for (int m = 6; m <= 12; ++m)
        plain += QByteArray::number(m) + ",0,0,0,0,0,0.00,0,0,0\r\n";
    const std::optional<YearSummary> parsed = parseYearSummary(plain);
    QVERIFY(parsed);
    const YearSummary& summary = *parsed;
    const ChartSeries s = yearChartSeries("2026", summary);
    QVERIFY(s.title.startsWith("2026年"));
    QCOMPARE(s.points.size(), 12);
    QCOMPARE(s.points.first().label, QString("1月"));
    QCOMPARE(s.points.last().label, QString("12月"));
    const QList<qint64> running = {0,    -500, 2500, 2500, -500, -500,
                                   -500, -500, -500, -500, -500, -500};
    for (int m = 0; m < 12; ++m)
        QCOMPARE(s.points[m].cumulativeBalance, Currency::fromUnits(running[m]));
    QCOMPARE(s.points[2].entries, 10);
    QCOMPARE(s.points[4].wins, 2);
    QVERIFY(!s.target);
}

void tst_ChartSeries::totalSeries_data()
{
    QTest::addColumn<qint64>("target");
    QTest::addColumn<bool>("levelLine");
    QTest::newRow("target set") << qint64(1000000) << true;
    QTest::newRow("no target") << qint64(0) << false;
}

void tst_ChartSeries::totalSeries()
{
    QFETCH(qint64, target);
    QFETCH(bool, levelLine);
    const QList<TotalRow> rows = {{"2024", figures(100, 5, 400000, 0), {}},
                                  {"2025", figures(80, 4, 750000, 50000), {}},
                                  {"2026", figures(10, 0, 0, 20000), {}}};
    const ChartSeries s = totalChartSeries(rows, Currency::fromUnits(target));
    QCOMPARE(s.points.size(), 3);
    QCOMPARE(s.points[0], (ChartPoint{"2024年", 100, 5, Currency::fromUnits(400000)}));
    QCOMPARE(s.points[1], (ChartPoint{"2025年", 80, 4, Currency::fromUnits(1100000)}));
    QCOMPARE(s.points[2], (ChartPoint{"2026年", 10, 0, Currency::fromUnits(1080000)}));
    QCOMPARE(bool(s.target), levelLine);
    if (levelLine)
        QCOMPARE(yenValue(*s.target), 1000000.0);
}

QTEST_GUILESS_MAIN(tst_ChartSeries)
#include "tst_chartseries.moc"

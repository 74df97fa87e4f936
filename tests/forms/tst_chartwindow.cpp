// Runs under Xvfb (see CMakeLists.txt): the chart must really be drawn, Japanese labels included.
#include "forms/frmChart.h"
#include "support/MainWindowHarness.h"
#include "support/TallyFigures.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QTest>
#include <QValueAxis>

namespace {

int pixelsOfColour(const QImage& image, const QRect& area, const QColor& colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) <
                30)
                ++count;
        }
    }
    return count;
}

} // namespace

class tst_ChartWindow : public QObject
{
    Q_OBJECT

private slots:
    void drawsBarsAndLinesWithJapaneseLabels();
    void yearAndTotalTabsOpenItAndItFollowsTheYear();
};

void tst_ChartWindow::drawsBarsAndLinesWithJapaneseLabels()
{
    ScriptedDialogs dialogs;
    const QList<TotalRow> rows = {{"2024", figures(120, 6, 400000, 0), {}},
                                  {"2025", figures(90, 4, 300000, 50000), {}},
                                  {"2026", figures(60, 2, 100000, 20000), {}}};
    frmChart window(
        dialogs, [&] { return totalChartSeries(rows, Currency::fromUnits(1000000)); }, nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QChart* chart = window.chart();
    const QList<QAbstractSeries*> series = chart->series();
    QCOMPARE(series.size(), 3); // bars, balance, target
    auto* bars = qobject_cast<QBarSeries*>(series[0]);
    QVERIFY(bars);
    QCOMPARE(bars->barSets()[0]->label(), QString("応募総数"));
    QCOMPARE(bars->barSets()[1]->label(), QString("当選総数"));
    QCOMPARE(bars->barSets()[0]->at(0), 120.0);
    QCOMPARE(series[1]->name(), QString("収支総額（累計）"));
    QCOMPARE(qobject_cast<QLineSeries*>(series[1])->at(2).y(), 730000.0);
    QCOMPARE(series[2]->name(), QString("目標収支金額"));
    auto* categories = qobject_cast<QBarCategoryAxis*>(chart->axes(Qt::Horizontal).value(0));
    QVERIFY(categories);
    QCOMPARE(categories->categories(), QStringList({"2024年", "2025年", "2026年"}));
    QVERIFY(chart->title().startsWith("総計"));

    // The picture: bar and line colours inside the plot area, not just a blank frame.
    QTemporaryDir dir;
    const QString png = dir.filePath("graph.png");
    dialogs.queueFileName(png.chopped(4)); // the extension is added
    dialogs.queueAnswer(MessageAnswer::Ok);
    window.cmdSavePng_Click();
    QCOMPARE(dialogs.shown.last().box.text, QString("保存しました"));
    const QImage image(png);
    QVERIFY(!image.isNull());
    auto* view = window.findChild<QChartView*>("chtGraph");
    const QRect plot = view->mapFromScene(chart->mapToScene(chart->plotArea()))
                           .boundingRect()
                           .intersected(image.rect())
                           .adjusted(2, 2, -2, -2);
    QVERIFY(plot.width() > 100 && plot.height() > 100);
    QVERIFY2(pixelsOfColour(image, plot, bars->barSets()[0]->color()) > 500, "no entry bars drawn");
    QVERIFY2(pixelsOfColour(image, plot, bars->barSets()[1]->color()) > 100, "no win bars drawn");
    QVERIFY2(pixelsOfColour(image, plot, qobject_cast<QLineSeries*>(series[1])->color()) > 50,
             "no balance line drawn");
    QVERIFY2(pixelsOfColour(image, plot, QColor(Qt::red)) > 50, "no target line drawn");
    // Text below the plot area: the Japanese category labels were drawn in some dark colour.
    const QRect labels(plot.left(), plot.bottom() + 4, plot.width(), 20);
    QVERIFY(pixelsOfColour(image, labels.intersected(image.rect()), categories->labelsColor()) >
            20);
    QVERIFY(dialogs.unexpected.isEmpty());
}

void tst_ChartWindow::yearAndTotalTabsOpenItAndItFollowsTheYear()
{
    MainWindowHarness h(QDate(2026, 5, 10));
    const AppPaths paths = h.folder.paths();
    YearSummary y2025;
    y2025.months[2] = figures(30, 3, 9000, 1000);
    YearSummary y2026;
    y2026.months[0] = figures(12, 1, 500, 0);
    QVERIFY(writeYearSummary(paths.yearSummaryPath("2025"), y2025).isEmpty());
    QVERIFY(writeYearSummary(paths.yearSummaryPath("2026"), y2026).isEmpty());
    QVERIFY(writeTotalSummary(paths.totalSummaryPath(),
                              {{"2025", y2025.yearTally(), {}}, {"2026", y2026.yearTally(), {}}})
                .isEmpty());
    h.start(true);

    const auto entriesBars = [](frmChart* chart) {
        QList<qreal> values;
        QBarSet* set =
            qobject_cast<QBarSeries*>(chart->chart()->series().first())->barSets().first();
        for (int i = 0; i < set->count(); ++i)
            values << set->at(i);
        return values;
    };
    h.selectTab("T_Year");
    h.button("cmdYearGraph")->click();
    QPointer<frmChart> chart = h.window->findChild<frmChart*>();
    QVERIFY(chart && chart->isVisible());
    QVERIFY(chart->chart()->title().startsWith("2026年"));
    QCOMPARE(entriesBars(chart).value(0), 12.0);
    h.button("cmdYearBack")->click(); // stepping the year redraws it
    QVERIFY(chart->chart()->title().startsWith("2025年"));
    QCOMPARE(entriesBars(chart).value(2), 30.0);

    h.selectTab("T_Total");
    h.button("cmdTotalGraph")->click();
    QTRY_VERIFY(!chart); // one chart window at a time
    chart = h.window->findChild<frmChart*>();
    QVERIFY(chart->chart()->title().startsWith("総計"));
    QCOMPARE(entriesBars(chart), QList<qreal>({30.0, 12.0}));
    QCOMPARE(chart->chart()->series().size(), 3); // the target of the settings as a level line
    QVERIFY(h.dialogs.unexpected.isEmpty());
}

QTEST_MAIN(tst_ChartWindow)
#include "tst_chartwindow.moc"

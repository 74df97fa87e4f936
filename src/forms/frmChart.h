#pragma once

#include "diary/ChartSeries.h"
#include "forms/RunningHandlers.h"

#include <QWidget>
#include <functional>

class Dialogs;
class QChart;
class QChartView;
class QPushButton;

// The chart window "グラフ" of the year and total tabs: entries and wins as bars, the
// running balance as a line, and on the total tab the target balance as a level line.
// It draws what its source gives; the main window refreshes it whenever the list it was
// opened from shows other rows (stepping years), so it never reads files of its own.
class frmChart : public QWidget
{
    Q_OBJECT

public:
    frmChart(Dialogs& dialogs, std::function<ChartSeries()> source, QWidget* parent);
    ~frmChart() override;

    // Draws the source's rows again.
    void refresh();
    QChart* chart() const { return m_chart; }

    // The chart as a picture; an empty string on success, else what went wrong.
    QString savePng(const QString& path);

public slots:
    void cmdSavePng_Click();
    void cmdClose_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void draw(const ChartSeries& series);

    Dialogs& m_dialogs;
    RunningHandlers m_handlers;
    std::function<ChartSeries()> m_source;
    QString m_lastFileName;
    QChart* m_chart = nullptr;
    QChartView* chtGraph = nullptr;
    QPushButton* cmdSavePng = nullptr;
    QPushButton* cmdClose = nullptr;
};

#pragma once

#include "diary/Settings.h"
#include "forms/RunningHandlers.h"

#include <QDate>
#include <QList>
#include <QWidget>
#include <atomic>

class AnalysisModel;
class QChart;
class QChartView;
class QDateEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableView;
struct AppContext;

// The window "分析": for a period of months, one table per kind of contest (entry method,
// format, selection, cycle, genre, site, number of winners) with entries, wins, win rate,
// amount won and postage, and a chart of the win rate of the table on show.
class frmAnalysis : public QWidget
{
    Q_OBJECT

public:
    // The months from `from` to `to` are the period it starts with (the year on show, or
    // every year from the total tab).
    frmAnalysis(const AppContext& context, const Settings& settings, const QDate& from,
                const QDate& to, QWidget* parent);
    ~frmAnalysis() override;

    AnalysisModel* model(int dimension) const { return m_models.value(dimension); }

public slots:
    void cmdRun_Click();
    void cmdStop_Click() { m_stop = true; }
    void cmdSave_Click();
    void cmdClose_Click() { close(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout(const QDate& from, const QDate& to);
    void drawChart();
    void setRunning(bool running);

    const AppContext& m_context;
    const Settings m_settings; // as when opened: the key option and the password
    RunningHandlers m_handlers;
    std::atomic<bool> m_stop{false};
    bool m_running = false;
    QList<AnalysisModel*> m_models;
    QList<QTableView*> m_views;
    QString m_lastFileName;

    QDateEdit* dtpFrom = nullptr;
    QDateEdit* dtpTo = nullptr;
    QTabWidget* tabKinds = nullptr;
    QChart* m_chart = nullptr;
    QChartView* chtRate = nullptr;
    QProgressBar* prgShinko = nullptr;
    QPushButton* cmdRun = nullptr;
    QPushButton* cmdStop = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdClose = nullptr;
};

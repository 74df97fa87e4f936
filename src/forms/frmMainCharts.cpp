// The chart window of the year and total tabs; it draws the rows those tabs show.
#include "forms/frmMain.h"

#include "forms/frmChart.h"

void frmMain::openChart(bool total)
{
    if (m_chart)
        m_chart->close(); // one chart at a time; it deletes itself
    m_chart = new frmChart(
        m_context.dialogs,
        [this, total] {
            return total ? totalChartSeries(m_totalRows, m_state.settings.dreamMoneyValue)
                         : yearChartSeries(focusYear(), m_yearSummary);
        },
        this);
    m_chart->show();
    m_chart->raise();
    m_chart->activateWindow();
}

void frmMain::refreshChart()
{
    if (m_chart)
        m_chart->refresh();
}

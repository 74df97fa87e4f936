#pragma once

#include "diary/Summaries.h"
#include "forms/SummaryPage.h"

class QPushButton;
class QStandardItemModel;
class QTableView;

// The total tab: one row per year and the all-time figures.
class TotalPage : public SummaryPage
{
public:
    explicit TotalPage(MainParts& parts);

    void enter() override;
    void commandInputs(CommandInputs& in) const override;
    std::optional<Tally> refreshTotals() override { return m_totalTally; }
    std::optional<listexport::ExportInput> exportInput() const override;
    void removePicked(bool picked) override;
    void removeAll() override;

    void ShowTotalList();
    // The all-time tally of the total summary, read afresh.
    Tally refreshTotalTally();
    // Takes out the total row of `year`; false when the total could not be written (told).
    bool removeYearFromTotal(const QString& year);
    // The rows as last read or written, for the chart.
    const QList<TotalRow>& totalRows() const { return m_totalRows; }
    void setTotalRows(const QList<TotalRow>& rows) { m_totalRows = rows; }

private:
    void lvwTotal_ItemClick(int row);
    void ListViewColumnHeadersTotal();

    Tally m_totalTally;
    QList<TotalRow> m_totalRows;
    QStandardItemModel* m_totalModel = nullptr;
    QTableView* lvwTotal = nullptr;
    QPushButton* cmdTotalGraph = nullptr;
    QPushButton* cmdTotalAnalysis = nullptr;
};

#pragma once

#include "diary/Summaries.h"
#include "diary/SummaryFiles.h"
#include "forms/SummaryPage.h"

#include <QPointer>

class frmChart;
class DigitKeyFilter;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;

// The year tab: the twelve months of the year in focus, the expense booking (支出) and the
// chart window, which the total tab shares.
class YearPage : public SummaryPage
{
public:
    explicit YearPage(MainParts& parts);

    void enter() override;
    void commandInputs(CommandInputs& in) const override;
    void applyCommands(const CommandState& c) override;
    std::optional<Tally> refreshTotals() override { return m_yearTally; }
    std::optional<listexport::ExportInput> exportInput() const override;
    void removePicked(bool picked) override;
    void removeAll() override;

    // Reads the year in focus into the list.
    void ShowYearList();
    // Writes the year row of `month` (and the total row) from the month's tally; false when
    // a summary file could not be written (the user has been told).
    bool UpdateYearSummary(const QDate& month, const Tally& monthTally);
    // The caption of the expense box names the month in focus.
    void setMonthLabelCaption();
    // A delete ended the booking: it waits for the next pick.
    void endBooking();
    // After the folder of `year` went: the total row goes, or all summaries with the last year.
    void afterYearFolderRemoved(const QString& year);
    // The chart window of the year tab, or of the total tab; one at a time.
    void openChart(bool total);
    // Redraws the chart window, if open, from the rows the tabs now hold.
    void refreshChart();
    // The window 分析 over the year in focus, or over every year from the total tab.
    void openAnalysis(bool total);

private:
    void lvwYear_ItemClick(int row);
    void ListViewColumnHeadersYear();
    void cmdUnhappyMoneyIn_Click();
    // "郵送料を計上": the postage of the month's mailed entries added to its expense.
    void cmdPostage_Click();

    YearSummary m_yearSummary;
    Tally m_yearTally;
    bool m_expenseEnded = false;
    QPointer<frmChart> m_chart;
    QStandardItemModel* m_yearModel = nullptr;
    QTableView* lvwYear = nullptr;
    QGroupBox* fraUnhappyMoney = nullptr;
    QLabel* lblMonth = nullptr;
    QLineEdit* txtUnhappyMoneyValue = nullptr;
    QPushButton* cmdUnhappyMoneyIn = nullptr;
    QPushButton* cmdYearGraph = nullptr;
    QPushButton* cmdYearAnalysis = nullptr;
    QPushButton* cmdPostage = nullptr;
    DigitKeyFilter* m_digitFilter = nullptr;
};

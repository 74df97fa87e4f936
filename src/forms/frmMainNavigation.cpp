// Month and year navigation, the date picker, column sorting and the entry lists' selection.
#include "forms/frmMain.h"

#include "forms/EntryTableModel.h"

#include <QDateEdit>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>

ShownDay frmMain::shownDay() const
{
    return {focusYear(), focusMonth(), dtpDate->date().toString(QStringLiteral("dd"))};
}

void frmMain::showDay(const ShownDay& day)
{
    setCurrentDate(QDate(day.year.toInt(), day.month.toInt(), day.day.toInt()));
}

void frmMain::stepShownMonth(int delta)
{
    if (m_month->dirty())
        SaveMonthFile();
    showDay(stepMonth(shownDay(), dtpDate->date().toString(QStringLiteral("dd")), delta));
    LoadMonthFile();
}

void frmMain::stepShownYear(int delta)
{
    const Tab key = currentTab();
    if (key != Tab::Month && key != Tab::Year)
        return;
    if (m_month->dirty())
        SaveMonthFile();
    showDay(stepYear(shownDay(), dtpDate->date().toString(QStringLiteral("dd")), delta));
    if (key == Tab::Month)
        LoadMonthFile();
    else
        ShowYearList();
    setMonthLabelCaption();
}

void frmMain::cmdMonthBack_Click()
{
    if (currentTab() == Tab::Month)
        stepShownMonth(-1);
}

void frmMain::cmdMonthNext_Click()
{
    stepShownMonth(+1);
}

void frmMain::cmdYearBack_Click()
{
    stepShownYear(-1);
}

void frmMain::cmdYearNext_Click()
{
    stepShownYear(+1);
}

void frmMain::dtpDate_Change()
{
    const QDate date = dtpDate->date();
    const QString yearMonth = date.toString(QStringLiteral("yyyy/MM"));
    if (yearMonth != m_state.lastYearMonth) {
        m_state.lastYearMonth = yearMonth;
        tabMain_Click(); // another month: reload the tab
    } else {
        RefreshTotals(); // the same month: only the win-day colour follows the day
    }
}

void frmMain::sortByHeader(QTableView* view, int column)
{
    auto* model = static_cast<EntryTableModel*>(view->model());
    if (model->rowCount() == 0)
        return;
    // The rows take new places: no row stays picked.
    m_state.entryPicked = false;
    const bool descending = (view == lvwMonth ? m_monthSort : m_searchSort).nextIsDescending();
    QList<EntryRecord> rows = model->entries();
    sortByColumn(rows, column, descending);
    if (view == lvwMonth) {
        // The month is written in its new order.
        if (m_month->reorder(rows))
            SaveMonthFile();
    } else {
        model->setEntries(rows);
        RefreshTotals();
    }
}

std::optional<int> frmMain::soleSelectedRow(const QTableView* view)
{
    // Not the current row: a ctrl-click takes a row out of the selection and leaves it current.
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    if (rows.size() != 1)
        return std::nullopt;
    return rows.first().row();
}

std::optional<int> frmMain::entryCommandRow() const
{
    const Tab key = currentTab();
    if (!m_state.entryPicked || (key != Tab::Month && key != Tab::Search))
        return std::nullopt;
    return soleSelectedRow(key == Tab::Month ? lvwMonth : lvwSearch);
}

void frmMain::entryListPicked(QTableView* view)
{
    m_state.entryPicked = true;
    m_state.selectedCount = static_cast<int>(view->selectionModel()->selectedRows().size());
    const std::optional<int> row = soleSelectedRow(view);
    (view == lvwMonth ? m_state.selectedMonthRow : m_state.selectedSearchRow) = row;
    // One search result moves the month context to its entry, which editing it relies on.
    if (view == lvwSearch && row) {
        const QDate day =
            QDate::fromString(m_searchModel->entry(*row)[KeyDate], QStringLiteral("yyyy/MM/dd"));
        if (day.isValid())
            setCurrentDate(day);
    }
    updateCommands();
}

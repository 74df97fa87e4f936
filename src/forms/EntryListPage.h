#pragma once

#include "diary/EntryRecord.h"
#include "forms/ColumnSort.h"
#include "forms/MainPage.h"

class EntryTableModel;
class QTableView;

// A page whose list holds entries (the month and search tabs): the list and its model, the
// column sort, the picks, editing by double click or Enter, and the Delete key.
class EntryListPage : public MainPage
{
public:
    EntryListPage(MainParts& parts, const char* listName, const QString& accessibleName);

    EntryTableModel* model() const { return m_model; }
    QTableView* view() const { return m_view; }
    void commandInputs(CommandInputs& in) const override;
    std::optional<listexport::ExportInput> exportInput() const override;

    // The key date and column widths the settings tab shows.
    void BuildEntryColumns();
    // The selected rows (0-based), and the row when exactly one is selected.
    QList<int> selectedRows() const;
    std::optional<int> soleSelectedRow() const;
    // 編集: the one selected row, once picked, goes to the entry form.
    void cmdHensyu_Click();
    // ﾎｰﾑﾍﾟｰｼﾞ: the page of the one selected row, once picked.
    void cmdURL_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Gives the rows the picked day's colours and shows their count on the progress bar; the
    // figures, with `expenses` carried in.
    Tally colourRows(Currency expenses);
    // Rows sorted by a column heading; the month writes them in their new order.
    virtual void showSorted(const QList<EntryRecord>& rows) = 0;
    // The Delete key on picked rows.
    virtual void deleteKey() = 0;
    // A click or keys picked rows; `row` is the one selected row, if only one is.
    virtual void listPicked(std::optional<int> row) = 0;

private:
    void sortByHeader(int column);
    void entryListPicked();

    EntryTableModel* m_model = nullptr;
    QTableView* m_view = nullptr;
    SortToggle m_sort;
    Qt::MouseButton m_lastMouseButton = Qt::NoButton;
};

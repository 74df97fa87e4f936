// The entry commands of the month and search lists: new entry, edit (button, left double
// click, Enter) and the Delete key.
#include "forms/frmMain.h"

#include "forms/EntryTableModel.h"
#include "forms/frmDataInput.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>

void frmMain::connectEntryCommands()
{
    connect(cmdNewInput, &QPushButton::clicked, this, &frmMain::cmdNewInput_Click);
    connect(cmdHensyu, &QPushButton::clicked, this, &frmMain::cmdHensyu_Click);
    for (QTableView* view : {lvwMonth, lvwSearch}) {
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
    }
    lvwYear->installEventFilter(this);
    lvwTotal->installEventFilter(this);
}

frmDataInput* frmMain::entryForm()
{
    // A closed form is only waiting to be deleted; each opening loads a fresh one.
    if (!m_entryForm || !m_entryForm->isVisible())
        m_entryForm = new frmDataInput(*this);
    return m_entryForm;
}

void frmMain::cmdNewInput_Click()
{
    // A form left from before starts afresh with its defaults.
    if (m_entryForm)
        m_entryForm->close();
    m_entryForm = nullptr;
    m_state.selectedMonthRow.reset();
    disableEntryCommands();
    entryForm()->OpenForNewEntry();
}

void frmMain::cmdHensyu_Click()
{
    const Tab key = currentTab();
    const bool onSearch = key == Tab::Search;
    if (!onSearch && key != Tab::Month)
        return;
    const std::optional<int> row = entryCommandRow();
    const EntryTableModel* list = onSearch ? m_searchModel : m_monthModel;
    if (!pickedRowWithin(row, list->rowCount()))
        return;
    disableEntryCommands();
    entryForm()->OpenEntryForEdit(*row);
}

bool frmMain::entryListKeyDown(QTableView* view, int key)
{
    const bool isMonth = view == lvwMonth;
    // Only after rows were picked.
    if (!m_state.entryPicked)
        return false;
    const auto selected = view->selectionModel()->selectedRows().size();
    if (key == Qt::Key_Delete) {
        if (isMonth) {
            if (selected > 0 && selected == m_monthModel->rowCount())
                cmdAllDelete_Click();
            else
                DeleteSelectedEntries();
            m_state.selectedMonthRow.reset();
        } else {
            cmdDelete_Click(); // one delete per selected row, from the last
            m_state.selectedSearchRow.reset();
        }
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (selected == 1)
            cmdHensyu_Click();
        return true;
    }
    return false;
}

bool frmMain::summaryListKeyDown(int key)
{
    // Delete on a picked month or year deletes its data, as 削除 does.
    const std::optional<int>& picked =
        currentTab() == Tab::Year ? m_state.selectedYearRow : m_state.selectedTotalRow;
    if (key != Qt::Key_Delete || !picked)
        return false;
    DeleteSelectedEntries();
    return true;
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == lvwYear || watched == lvwTotal) && event->type() == QEvent::KeyPress)
        return summaryListKeyDown(static_cast<QKeyEvent*>(event)->key());
    for (QTableView* view : {lvwMonth, lvwSearch}) {
        if (watched == view && event->type() == QEvent::KeyPress)
            return entryListKeyDown(view, static_cast<QKeyEvent*>(event)->key());
        if (watched != view->viewport())
            continue;
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick)
            m_lastMouseButton = static_cast<QMouseEvent*>(event)->button();
        // A double click edits the selected entry, with the left button only.
        if (event->type() == QEvent::MouseButtonDblClick && m_lastMouseButton == Qt::LeftButton &&
            view->selectionModel()->hasSelection()) {
            cmdHensyu_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

#include "forms/EntryListPage.h"

#include "diary/Deployment.h"
#include "diary/EntryFormText.h"
#include "diary/ShellServices.h"
#include "forms/ColumnWidths.h"
#include "forms/EntryTableModel.h"
#include "forms/FormHelpers.h"
#include "forms/MonthPage.h"
#include "forms/PageLists.h"
#include "forms/ProgressPacer.h"
#include "forms/SettingsPage.h"
#include "forms/frmMain.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableView>

EntryListPage::EntryListPage(MainParts& parts, const char* listName, const QString& accessibleName)
    : MainPage(parts)
{
    m_model = new EntryTableModel(this);
    m_model->setObjectName(QString::fromLatin1(listName) + QStringLiteral("Model"));
    m_view = makeList(listName, m_model, accessibleName, true);
    connect(m_view->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &EntryListPage::sortByHeader);
    // A click, also on a row that is still selected, or keys that select rows pick them;
    // rows that only leave the selection (removed, sorted away) pick nothing.
    connect(m_view, &QTableView::clicked, this, &EntryListPage::entryListPicked);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) {
                if (!selected.isEmpty())
                    entryListPicked();
                else
                    m_parts.window.updateCommands();
            });
    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);
}

void EntryListPage::commandInputs(CommandInputs& in) const
{
    in.picked = m_parts.state.entryPicked;
    in.selectedRows = static_cast<int>(m_view->selectionModel()->selectedRows().size());
    if (const std::optional<int> row = soleSelectedRow())
        in.selectedHasPage = entryform::isWebAddress(m_model->entry(*row)[URL]);
}

std::optional<listexport::ExportInput> EntryListPage::exportInput() const
{
    listexport::ExportInput input;
    input.kind = listexport::ListKind::Entries;
    input.entries = m_model->entries();
    return input;
}

void EntryListPage::BuildEntryColumns()
{
    m_model->setKeyIsEndDay(m_parts.settings->keyIsEndDayShown());
    // Settings keep widths in twips; a width of 0 hides the column.
    const auto twips = m_parts.settings->entryColumnTwips();
    for (int c = 0; c < kEntryFieldCount - 1; ++c) {
        const int width = columnPixels(twips[c], m_view->fontMetrics());
        m_view->setColumnHidden(c, width == 0);
        if (width > 0)
            m_view->setColumnWidth(c, width);
    }
    m_view->setColumnHidden(Pic, true);
}

QList<int> EntryListPage::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : m_view->selectionModel()->selectedRows())
        rows.append(index.row());
    return rows;
}

std::optional<int> EntryListPage::soleSelectedRow() const
{
    // Not the current row: a ctrl-click takes a row out of the selection and leaves it current.
    const QModelIndexList rows = m_view->selectionModel()->selectedRows();
    if (rows.size() != 1)
        return std::nullopt;
    return rows.first().row();
}

void EntryListPage::cmdHensyu_Click()
{
    const std::optional<int> row =
        m_parts.state.entryPicked ? soleSelectedRow() : std::optional<int>();
    if (!pickedRowWithin(row, m_model->rowCount()))
        return;
    m_parts.disableEntryCommands();
    m_parts.month->editEntry(*row);
}

void EntryListPage::cmdURL_Click()
{
    const std::optional<int> row =
        m_parts.state.entryPicked ? soleSelectedRow() : std::optional<int>();
    if (pickedRowWithin(row, m_model->rowCount())) {
        const EntryRecord& entry = m_model->entry(*row);
        OpenAddress(m_parts.context.dialogs, siteAddressFor(entry[URL], entry[ID]));
    }
    m_parts.disableEntryCommands();
    m_parts.state.selectedMonthRow.reset();
    m_parts.state.selectedSearchRow.reset();
}

Tally EntryListPage::colourRows(Currency expenses)
{
    m_model->setPickedDay(m_parts.date().toString(QStringLiteral("yyyy/MM/dd")));
    const Tally tally = m_model->tallyWith(expenses);
    setProgressQuietly(m_parts.prgShinko, std::max(1, tally.entries), tally.entries);
    return tally;
}

void EntryListPage::sortByHeader(int column)
{
    if (m_model->rowCount() == 0)
        return;
    // The rows take new places: no row stays picked.
    m_parts.state.entryPicked = false;
    const bool descending = m_sort.nextIsDescending();
    QList<EntryRecord> rows = m_model->entries();
    sortByColumn(rows, column, descending);
    showSorted(rows);
}

void EntryListPage::entryListPicked()
{
    m_parts.state.entryPicked = true;
    m_parts.state.selectedCount = static_cast<int>(m_view->selectionModel()->selectedRows().size());
    listPicked(soleSelectedRow());
    m_parts.window.updateCommands();
}

bool EntryListPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        // Only after rows were picked.
        if (!m_parts.state.entryPicked)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete) {
            deleteKey();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (m_view->selectionModel()->selectedRows().size() == 1)
                cmdHensyu_Click();
            return true;
        }
        return false;
    }
    if (watched == m_view->viewport()) {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick)
            m_lastMouseButton = static_cast<QMouseEvent*>(event)->button();
        // A double click edits the selected entry, with the left button only.
        if (event->type() == QEvent::MouseButtonDblClick && m_lastMouseButton == Qt::LeftButton &&
            m_view->selectionModel()->hasSelection()) {
            cmdHensyu_Click();
            return true;
        }
    }
    return MainPage::eventFilter(watched, event);
}

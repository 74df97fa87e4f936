// Deleting entries, months and years, and keeping the data folder tidy afterwards.
#include "forms/frmMain.h"

#include "core/AtomicFile.h"
#include "core/Dialogs.h"
#include "diary/DeleteData.h"
#include "diary/SummaryUnits.h"
#include "forms/EntryTableModel.h"
#include "forms/SettingsPage.h"

#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

namespace {

const MessageBoxSpec kDeleteQuestion{
    QStringLiteral("選択した懸賞情報を削除しますか？\r\n実行すると元には戻せません。"),
    QStringLiteral("削除の確認"), MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::Yes};
const MessageBoxSpec kAllDeleteQuestion{
    QStringLiteral("表示されている懸賞情報を全て削除しますか？\r\n実行すると元には戻せません。"),
    QStringLiteral("全削除の確認"), MessageIcon::Question, MessageButtons::YesNo,
    MessageAnswer::Yes};

QList<int> selectedRows(QTableView* view)
{
    QList<int> rows;
    for (const QModelIndex& index : view->selectionModel()->selectedRows())
        rows.append(index.row());
    return rows;
}

QList<int> allRows(int count)
{
    QList<int> rows;
    for (int row = 0; row < count; ++row)
        rows.append(row);
    return rows;
}

} // namespace

void frmMain::disableEntryCommands()
{
    m_state.entryPicked = false; // until the next pick in a list
    updateCommands();
}

void frmMain::endDeleteSelection()
{
    // Delete, edit, home page and the expense booking wait for the next pick.
    m_state.selectedYearRow.reset();
    m_state.selectedTotalRow.reset();
    m_expenseEnded = true;
    txtUnhappyMoneyValue->setText(QStringLiteral("0"));
    disableEntryCommands();
}

void frmMain::emptiedMonth()
{
    m_monthTally = Tally(); // its expense goes too
    // Removing the month's file and folders changes its year and total rows: one unit again.
    const YearMonth unit{m_month->year(), m_month->month().month()};
    if (const QString error = beginSummaryUnit(m_context.paths, unit); !error.isEmpty()) {
        // The month is saved empty and its rows say so; only the tidy-up waits for a next time.
        m_context.dialogs.message(
            {QStringLiteral("空になった月のフォルダと集計を整理できませんでした。\r\n") + error,
             QStringLiteral("削除エラー"), MessageIcon::Critical, MessageButtons::Ok});
        return;
    }
    bool summed = true;
    QString notRemoved;
    const EmptiedMonth tidied =
        tidyEmptiedMonth(m_context.paths, m_month->year(), m_month->monthDigits(), notRemoved);
    reportNotRemoved(notRemoved);
    if (tidied == EmptiedMonth::YearKept) {
        summed = UpdateYearSummary(m_month->month(), Tally());
    } else {
        summed = removeYearFromTotal(m_month->year());
    }
    removeSummaryFolderIfEmpty(m_context.paths);
    if (summed)
        endSummaryUnit(m_context.paths, unit);
}

bool frmMain::removeYearFromTotal(const QString& year)
{
    const TotalUpdate update =
        ::UpdateTotalSummary(m_context.paths, year, std::nullopt, m_settingsPage->targetState());
    if (!update.error.isEmpty()) {
        m_context.dialogs.message(
            {QStringLiteral("集計ファイルを更新できませんでした。\r\n") + update.error,
             QStringLiteral("保存エラー"), MessageIcon::Critical, MessageButtons::Ok});
    }
    m_settingsPage->handleTargetMessage(update);
    return update.error.isEmpty();
}

void frmMain::afterYearFolderRemoved(const QString& year)
{
    if (!folderHoldsFiles(m_context.paths.summaryFolder()))
        removeSummaryFolderIfEmpty(m_context.paths);
    else if (summaryFolderHoldsOnlyTotal(m_context.paths))
        reportNotRemoved(deleteAllData(m_context.paths)); // that was the last year
    else
        removeYearFromTotal(year);
}

void frmMain::reportNotRemoved(const QString& path)
{
    if (path.isEmpty())
        return;
    m_context.dialogs.message(
        {QStringLiteral("「%1」を削除できませんでした。").arg(QDir::toNativeSeparators(path)),
         QStringLiteral("削除エラー"), MessageIcon::Critical, MessageButtons::Ok});
}

void frmMain::removeMonthRows(QList<int> rows)
{
    if (!monthWritable())
        return;
    m_month->remove(rows);
    if (m_month->rowCount() == 0) {
        // An empty month leaves no file; the save removes it.
        if (SaveMonthFile())
            emptiedMonth();
    } else {
        SaveMonthFile();
    }
}

void frmMain::afterRowsRemoved()
{
    if (m_month->rowCount() == 0) {
        emptiedMonth();
    } else {
        RefreshTotals();
        if (monthSaved())
            endSummaryUnit(m_context.paths, {m_month->year(), m_month->month().month()});
    }
}

void frmMain::cmdDelete_Click()
{
    disableEntryCommands();
    const Tab key = currentTab();
    if (key == Tab::Month) {
        if (m_state.selectedCount > 0 && m_state.selectedCount == m_monthModel->rowCount()) {
            // Everything is selected: delete all, without the all-delete question.
            const bool ask = m_state.settings.allDeleteKakunin;
            m_state.settings.allDeleteKakunin = false;
            cmdAllDelete_Click();
            m_state.settings.allDeleteKakunin = ask;
        } else {
            DeleteSelectedEntries();
        }
    } else if (key == Tab::Search) {
        QList<int> rows = selectedRows(lvwSearch);
        std::sort(rows.begin(), rows.end(), std::greater<int>());
        for (int row : rows) {
            m_state.selectedSearchRow = row;
            DeleteSelectedEntries();
        }
    } else {
        DeleteSelectedEntries();
    }
}

void frmMain::DeleteSelectedEntries()
{
    const bool yearPicked = m_state.selectedYearRow.has_value();
    const bool totalPicked = m_state.selectedTotalRow.has_value();
    endDeleteSelection();
    if (m_state.settings.deleteKakunin &&
        m_context.dialogs.message(kDeleteQuestion) != MessageAnswer::Yes)
        return;
    const Tab key = currentTab();
    if (key == Tab::Search && m_state.selectedSearchRow) {
        const int searchRow = *m_state.selectedSearchRow;
        const EntryRecord entry = m_searchModel->entry(searchRow);
        m_searchModel->removeRowsAt({searchRow});
        const QDate keyDay = QDate::fromString(entry[KeyDate], QStringLiteral("yyyy/MM/dd"));
        if (keyDay.isValid())
            showMonthOf(keyDay);
        else
            LoadMonthFile();
        const int monthRow = static_cast<int>(m_month->entries().indexOf(entry));
        // A search row whose month no longer holds it leaves the search list only.
        if (monthRow >= 0)
            removeMonthRows({monthRow});
    } else if (key == Tab::Month) {
        const QList<int> rows = selectedRows(lvwMonth);
        if (!rows.isEmpty())
            removeMonthRows(rows);
    } else if (key == Tab::Year && yearPicked) {
        const QString year = focusYear();
        const QString path = m_context.paths.monthFilePath(year, focusMonth());
        if (!removeFileDurably(path))
            reportNotRemoved(path);
        // A month file that is still there keeps its row.
        if (!QFileInfo::exists(path)) {
            UpdateYearSummary(dtpDate->date(), Tally());
            if (!folderHoldsFiles(m_context.paths.yearFolder(year))) {
                reportNotRemoved(deleteYearData(m_context.paths, year));
                afterYearFolderRemoved(year);
            }
        }
        ShowYearList();
    } else if (key == Tab::Total && totalPicked) {
        reportNotRemoved(deleteYearData(m_context.paths, focusYear()));
        removeYearFromTotal(focusYear());
        if (::readTotalList(m_context.paths).totalRows.isEmpty())
            reportNotRemoved(deleteAllData(m_context.paths));
        ShowTotalList();
    }
    RefreshTotals();
}

void frmMain::cmdAllDelete_Click()
{
    endDeleteSelection();
    if (m_state.settings.allDeleteKakunin &&
        m_context.dialogs.message(kAllDeleteQuestion) != MessageAnswer::Yes)
        return;
    const Tab key = currentTab();
    if (key == Tab::Month) {
        if (!monthWritable())
            return;
        m_month->remove(allRows(m_month->rowCount()));
        if (SaveMonthFile())
            emptiedMonth();
    } else if (key == Tab::Year) {
        reportNotRemoved(deleteYearData(m_context.paths, focusYear()));
        afterYearFolderRemoved(focusYear());
        ShowYearList();
    } else if (key == Tab::Total) {
        reportNotRemoved(deleteAllData(m_context.paths));
        ShowTotalList();
    }
    RefreshTotals();
}

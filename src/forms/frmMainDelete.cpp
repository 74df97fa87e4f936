// Deleting entries, months and years, and keeping the data folder tidy afterwards.
#include "forms/frmMain.h"

#include "core/AtomicFile.h"
#include "core/Dialogs.h"
#include "diary/DeleteData.h"
#include "forms/EntryTableModel.h"

#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

namespace {

const MessageBoxSpec kDeleteQuestion{
    QStringLiteral("選択した懸賞情報を削除しますか？\r\n実行すると元には戻せません。"), QStringLiteral("削除の確認"),
    MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::Yes};
const MessageBoxSpec kAllDeleteQuestion{
    QStringLiteral("表示されている懸賞情報を全て削除しますか？\r\n実行すると元には戻せません。"),
    QStringLiteral("全削除の確認"), MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::Yes};

QList<int> selectedRows(QTableView* view)
{
    QList<int> rows;
    for (const QModelIndex& index : view->selectionModel()->selectedRows())
        rows.append(index.row());
    return rows;
}

} // namespace

void frmMain::disableEntryCommands()
{
    cmdHensyu->setEnabled(false);
    cmdURL->setEnabled(false);
    cmdDelete->setEnabled(false);
}

void frmMain::emptiedMonth()
{
    m_monthTally = Tally(); // its expense goes too
    if (tidyEmptiedMonth(m_context.paths, m_state.curYear, m_state.curMonth) == EmptiedMonth::YearKept) {
        UpdateYearSummary(Tally());
    } else {
        removeYearFromTotal();
    }
    removeSummaryFolderIfEmpty(m_context.paths);
    m_state.monthStatus = MonthRead::Status::Missing;
    m_state.monthDirty = false;
}

void frmMain::removeYearFromTotal()
{
    const TotalUpdate update = ::UpdateTotalSummary(m_context.paths, m_state.curYear, std::nullopt, targetState());
    if (!update.error.isEmpty()) {
        m_context.dialogs.message(
            {QStringLiteral("集計ファイルを更新できませんでした。\r\n") + update.error,
             QStringLiteral("保存エラー"), MessageIcon::Critical, MessageButtons::Ok});
    }
    handleTargetMessage(update);
}

void frmMain::afterYearFolderRemoved()
{
    if (!folderHoldsFiles(m_context.paths.summaryFolder()))
        removeSummaryFolderIfEmpty(m_context.paths);
    else if (summaryFolderHoldsOnlyTotal(m_context.paths))
        deleteAllData(m_context.paths); // that was the last year
    else
        removeYearFromTotal();
}

void frmMain::removeMonthRows(QList<int> rows)
{
    if (!m_state.monthReadable()) {
        SaveMonthFile(); // says why nothing can change in this month
        return;
    }
    m_monthModel->removeRowsAt(rows);
    m_state.monthDirty = true;
    if (m_monthModel->rowCount() == 0)
        emptiedMonth();
    else
        SaveMonthFile();
}

void frmMain::removeMonthRowForMove(int row)
{
    removeMonthRows({row});
}

void frmMain::cmdDelete_Click()
{
    cmdDelete->setEnabled(false);
    cmdHensyu->setEnabled(false);
    const QString key = currentTabKey();
    if (key == u"T_Month") {
        if (m_state.selectedCount > 0 && m_state.selectedCount == m_monthModel->rowCount()) {
            // Everything is selected: delete all, without the all-delete question.
            const bool ask = m_state.settings.allDeleteKakunin;
            m_state.settings.allDeleteKakunin = false;
            cmdAllDelete_Click();
            m_state.settings.allDeleteKakunin = ask;
        } else {
            DeleteSelectedEntries();
        }
    } else if (key == u"T_Search") {
        QList<int> rows = selectedRows(lvwSearch);
        std::sort(rows.begin(), rows.end(), std::greater<int>());
        for (int row : rows) {
            m_state.selectedSearchIndex = row + 1;
            DeleteSelectedEntries();
        }
    } else {
        DeleteSelectedEntries();
    }
}

void frmMain::DeleteSelectedEntries()
{
    disableEntryCommands();
    cmdUnhappyMoneyIn->setEnabled(false);
    txtUnhappyMoneyValue->setText(QStringLiteral("0"));
    if (m_state.settings.deleteKakunin && m_context.dialogs.message(kDeleteQuestion) != MessageAnswer::Yes)
        return;
    const QString key = currentTabKey();
    if (key == u"T_Search" && m_state.selectedSearchIndex > 0) {
        const int searchRow = m_state.selectedSearchIndex - 1;
        const EntryRecord entry = m_searchModel->entry(searchRow);
        m_searchModel->removeRowsAt({searchRow});
        m_state.curYear = entry[KeyDate].mid(0, 4);
        m_state.curMonth = entry[KeyDate].mid(5, 2);
        m_state.curDay = entry[KeyDate].mid(8, 2);
        LoadMonthFile();
        const int monthRow = static_cast<int>(m_monthModel->entries().indexOf(entry));
        // A search row whose month no longer holds it leaves the search list only.
        if (monthRow >= 0)
            removeMonthRows({monthRow});
    } else if (key == u"T_Month") {
        const QList<int> rows = selectedRows(lvwMonth);
        if (!rows.isEmpty())
            removeMonthRows(rows);
    } else if (key == u"T_Year" && m_state.selectedYearIndex > 0) {
        removeFileDurably(m_context.paths.monthFilePath(m_state.curYear, m_state.curMonth));
        UpdateYearSummary(Tally());
        if (!folderHoldsFiles(m_context.paths.yearFolder(m_state.curYear))) {
            deleteYearData(m_context.paths, m_state.curYear);
            afterYearFolderRemoved();
        }
        ShowYearList();
    } else if (key == u"T_Total" && m_state.selectedTotalIndex > 0) {
        deleteYearData(m_context.paths, m_state.curYear);
        removeYearFromTotal();
        if (::readTotalList(m_context.paths).totalRows.isEmpty())
            deleteAllData(m_context.paths);
        ShowTotalList();
    }
    RefreshTotals();
}

void frmMain::cmdAllDelete_Click()
{
    disableEntryCommands();
    cmdUnhappyMoneyIn->setEnabled(false);
    txtUnhappyMoneyValue->setText(QStringLiteral("0"));
    if (m_state.settings.allDeleteKakunin && m_context.dialogs.message(kAllDeleteQuestion) != MessageAnswer::Yes)
        return;
    const QString key = currentTabKey();
    if (key == u"T_Month") {
        if (!m_state.monthReadable()) {
            SaveMonthFile(); // says why nothing can change in this month
            return;
        }
        m_monthModel->clear();
        emptiedMonth();
    } else if (key == u"T_Year") {
        deleteYearData(m_context.paths, m_state.curYear);
        afterYearFolderRemoved();
        ShowYearList();
    } else if (key == u"T_Total") {
        deleteAllData(m_context.paths);
        ShowTotalList();
    }
    RefreshTotals();
}

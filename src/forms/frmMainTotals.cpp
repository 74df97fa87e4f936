// The statistics panel, the year and total summaries, expenses and the target balance.
#include "forms/StatisticsPanel.h"
#include "forms/frmMain.h"

#include "core/Dialogs.h"
#include "diary/Expenses.h"
#include "diary/SummaryUnits.h"
#include "forms/ColumnWidths.h"
#include "forms/EntryTableModel.h"
#include "forms/ProgressPacer.h"
#include "forms/SettingsPage.h"
#include "forms/UnreadableDataFile.h"
#include "platform/WindowLevel.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>

namespace {

// A summary file holds no password line: it is either damaged or cannot be opened.
MonthRead::Status summaryProblem(const SummaryReadStatus& status)
{
    return status.unreadable ? MonthRead::Status::Unreadable : MonthRead::Status::Damaged;
}

QList<QColor> qtColours(const QList<RowColour>& colours)
{
    QList<QColor> result;
    result.reserve(colours.size());
    for (RowColour colour : colours) {
        if (colour == RowColour::Plain) {
            result.append(QColor());
        } else {
            const Rgb rgb = rgbOf(colour);
            result.append(QColor(rgb.r, rgb.g, rgb.b));
        }
    }
    return result;
}

void setSummaryColumns(QStandardItemModel* model, QTableView* view,
                       const QList<QPair<const char16_t*, int>>& columns)
{
    model->clear();
    QStringList labels;
    for (const auto& column : columns)
        labels.append(QString::fromUtf16(column.first));
    model->setHorizontalHeaderLabels(labels);
    for (int c = 0; c < columns.size(); ++c)
        view->setColumnWidth(c, columnPixels(columns[c].second, view->fontMetrics()));
}

} // namespace

void frmMain::RefreshTotals()
{
    const Tab key = currentTab();
    const QString pickedDay = dtpDate->date().toString(QStringLiteral("yyyy/MM/dd"));
    const auto showColoured = [&](EntryTableModel* model, Currency expenses) {
        const EntryListTotals totals = refreshEntryTotals(model->entries(), pickedDay, expenses);
        model->setRowColours(qtColours(totals.colours));
        setProgressQuietly(prgShinko, std::max(1, totals.tally.entries), totals.tally.entries);
        return totals.tally;
    };
    if (key == Tab::Month) {
        m_monthTally = showColoured(m_monthModel, m_monthTally.expenses);
        m_shownTally = m_monthTally;
    } else if (key == Tab::Year) {
        m_shownTally = m_yearTally;
    } else if (key == Tab::Total) {
        m_shownTally = m_totalTally;
    } else if (key == Tab::Search) {
        m_monthTally = tallyEntries(m_monthModel->entries(), m_monthTally.expenses);
        m_searchTally = showColoured(m_searchModel, Currency());
        m_shownTally = m_searchTally;
    } else {
        if (key == Tab::Setting) {
            m_monthTally = tallyEntries(m_monthModel->entries(), Currency());
            m_shownTally = m_monthTally;
        }
        updateCommands();
        return; // the settings and about tabs leave the panel at zero
    }
    m_panel->setTally(m_shownTally);
    updateCommands();
}

void frmMain::monthLoaded()
{
    // The booked expense lives in the year row; it is taken even before the month has a
    // file, so the first entry of a month never wipes an amount booked for it.
    m_monthTally = Tally();
    m_monthTally.expenses =
        loadMonthExpense(m_context.paths, m_month->year(), m_month->month().month());
}

bool frmMain::monthSaved()
{
    return UpdateYearSummary(m_month->month(), m_monthTally);
}

void frmMain::finishSummaryUnits()
{
    const Recount recount = ::finishSummaryUnits(
        m_context.paths, m_state.settings.passwordInForce(), m_settingsPage->targetState());
    if (!recount.ok()) {
        QStringList files;
        for (const QString& path : recount.unreadable)
            files.append(
                QStringLiteral("「%1」を読み込めません。").arg(QDir::toNativeSeparators(path)));
        m_context.dialogs.message(
            {QStringLiteral("前回中断された保存の集計を月のデータに合わせられませんでした。\r\n") +
                 (files + recount.errors).join(QStringLiteral("\r\n")),
             QStringLiteral("集計エラー"), MessageIcon::Critical, MessageButtons::Ok});
    }
    TotalUpdate reached;
    reached.showTargetMessage = recount.showTargetMessage;
    m_settingsPage->handleTargetMessage(reached);
}

bool frmMain::UpdateYearSummary(const QDate& month, const Tally& monthTally)
{
    const YearUpdate update =
        ::UpdateYearSummary(m_context.paths, month.toString(QStringLiteral("yyyy")), month.month(),
                            monthTally, m_settingsPage->targetState());
    const bool failed = !update.error.isEmpty() || !update.total.error.isEmpty();
    if (failed) {
        m_context.dialogs.message({QStringLiteral("集計ファイルを更新できませんでした。\r\n") +
                                       (update.error.isEmpty() ? update.total.error : update.error),
                                   QStringLiteral("保存エラー"), MessageIcon::Critical,
                                   MessageButtons::Ok});
    }
    m_yearSummary = update.summary;
    m_yearTally = update.yearTally;
    if (update.total.error.isEmpty())
        m_totalRows = update.total.rows;
    refreshChart();
    const Tab key = currentTab();
    if (key == Tab::Year || key == Tab::Total)
        RefreshTotals();
    m_settingsPage->handleTargetMessage(update.total);
    return !failed;
}

void frmMain::ListViewColumnHeadersYear()
{
    setSummaryColumns(m_yearModel, lvwYear,
                      {{u"月", 375},
                       {u"小物当選", 1000},
                       {u"中物当選", 1000},
                       {u"大物当選", 1000},
                       {u"当選総数", 1000},
                       {u"応募総数", 1000},
                       {u"当選率", 775},
                       {u"当選総額", 1200},
                       {u"支出総額", 1200},
                       {u"収支総額", 1200}});
}

void frmMain::ListViewColumnHeadersTotal()
{
    setSummaryColumns(m_totalModel, lvwTotal,
                      {{u"年", 500},
                       {u"小物当選", 1000},
                       {u"中物当選", 1000},
                       {u"大物当選", 1000},
                       {u"当選総数", 1000},
                       {u"応募総数", 1050},
                       {u"当選率", 800},
                       {u"当選総額", 1050},
                       {u"支出総額", 1050},
                       {u"収支総額", 1050},
                       {u"目標収支金額", 1300}});
}

void frmMain::fillSummaryList(QStandardItemModel* model, const QList<SummaryListRow>& rows)
{
    model->setRowCount(0);
    for (const SummaryListRow& row : rows) {
        QList<QStandardItem*> items;
        for (int c = 0; c < row.texts.size(); ++c) {
            auto* item = new QStandardItem(row.texts[c]);
            item->setEditable(false);
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                          : Qt::AlignRight | Qt::AlignVCenter);
            const CellStyle style = row.styles.value(c);
            if (style.colour != Rgb())
                item->setForeground(QColor(style.colour.r, style.colour.g, style.colour.b));
            if (style.bold) {
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
            }
            items.append(item);
        }
        model->appendRow(items);
    }
}

void frmMain::ShowYearList()
{
    const QString year = focusYear();
    const YearList list = ::readYearList(m_context.paths, year);
    if (!list.status.ok())
        reportUnreadableDataFile(m_context.dialogs, m_context.paths.yearSummaryPath(year),
                                 summaryProblem(list.status));
    m_yearSummary = list.summary;
    m_yearTally = list.yearTally;
    if (m_yearModel->columnCount() == 0)
        ListViewColumnHeadersYear();
    fillSummaryList(m_yearModel, list.rows);
    const Tab key = currentTab();
    if (key == Tab::Year || key == Tab::Total)
        RefreshTotals();
    refreshChart();
}

void frmMain::ShowTotalList()
{
    const TotalList list = ::readTotalList(m_context.paths);
    if (!list.status.ok())
        reportUnreadableDataFile(m_context.dialogs, m_context.paths.totalSummaryPath(),
                                 summaryProblem(list.status));
    m_totalTally = list.totalTally;
    m_totalRows = list.totalRows;
    if (m_totalModel->columnCount() == 0)
        ListViewColumnHeadersTotal();
    fillSummaryList(m_totalModel, list.rows);
    RefreshTotals();
    refreshChart();
}

void frmMain::setMonthLabelCaption()
{
    lblMonth->setText(expenseCaption(dtpDate->date().toString(QStringLiteral("yyyy")),
                                     dtpDate->date().toString(QStringLiteral("MM"))));
}

void frmMain::cmdUnhappyMoneyIn_Click()
{
    const int month = dtpDate->date().month();
    const ExpenseBooking booking =
        BookExpense(m_context.paths, focusYear(), month, txtUnhappyMoneyValue->text(),
                    m_settingsPage->targetState());
    if (!booking.update.error.isEmpty()) {
        m_context.dialogs.message(
            {QStringLiteral("集計ファイルを更新できませんでした。\r\n") + booking.update.error,
             QStringLiteral("保存エラー"), MessageIcon::Critical, MessageButtons::Ok});
    }
    m_state.selectedYearRow.reset();
    lvwYear->clearSelection();
    updateCommands();
    m_settingsPage->handleTargetMessage(booking.update.total);
    m_yearSummary = booking.list.summary;
    m_yearTally = booking.list.yearTally;
    fillSummaryList(m_yearModel, booking.list.rows);
    if (dtpDate->date().year() == m_month->month().year() && month == m_month->month().month())
        m_monthTally.expenses = m_yearSummary.months[month - 1].expenses;
    const Tab key = currentTab();
    if (key == Tab::Year || key == Tab::Total)
        RefreshTotals();
}

void frmMain::lvwYear_ItemClick(int row)
{
    m_state.selectedYearRow.reset();
    if (row >= 0 && row < 12) {
        m_state.selectedYearRow = row;
        m_expenseEnded = false;
        txtUnhappyMoneyValue->setText(m_yearSummary.months[row].expenses.toText());
        setCurrentDate(QDate(dtpDate->date().year(), row + 1, 1));
        setMonthLabelCaption();
    }
    updateCommands();
}

void frmMain::lvwTotal_ItemClick(int row)
{
    const QString year = m_totalModel->index(row, 0).data().toString();
    m_state.selectedTotalRow.reset();
    if (!year.isEmpty())
        m_state.selectedTotalRow = row;
    if (!year.isEmpty())
        setCurrentDate(QDate(year.toInt(), dtpDate->date().month(), 1));
    updateCommands();
}

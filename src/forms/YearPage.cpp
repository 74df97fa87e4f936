#include "forms/YearPage.h"

#include "core/AtomicFile.h"
#include "core/Dialogs.h"
#include "diary/ChartSeries.h"
#include "diary/DataFolders.h"
#include "diary/DeleteData.h"
#include "diary/Expenses.h"
#include "diary/MonthFile.h"
#include "diary/Postage.h"
#include "forms/DigitKeyFilter.h"
#include "forms/FormHelpers.h"
#include "forms/MonthPage.h"
#include "forms/PageLists.h"
#include "forms/SettingsPage.h"
#include "forms/TotalPage.h"
#include "forms/UnreadableDataFile.h"
#include "forms/frmAnalysis.h"
#include "forms/frmChart.h"
#include "forms/frmMain.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

YearPage::YearPage(MainParts& parts) : SummaryPage(parts)
{
    m_yearModel = named(new QStandardItemModel(this), "lvwYearModel");
    lvwYear = makeList("lvwYear", m_yearModel, QStringLiteral("年間"), false);
    fraUnhappyMoney = named(new QGroupBox(QStringLiteral("支出")), "fraUnhappyMoney");
    lblMonth = named(new QLabel(QStringLiteral("****年**月の支出総額")), "lblMonth");
    txtUnhappyMoneyValue = named(new QLineEdit(QStringLiteral("0")), "txtUnhappyMoneyValue");
    txtUnhappyMoneyValue->setMaxLength(9);
    txtUnhappyMoneyValue->setAlignment(Qt::AlignRight);
    lblMonth->setBuddy(txtUnhappyMoneyValue);
    txtUnhappyMoneyValue->setAccessibleName(QStringLiteral("支出総額"));
    cmdUnhappyMoneyIn = pushButton("cmdUnhappyMoneyIn", QStringLiteral("記帳(&K)"));
    cmdUnhappyMoneyIn->setEnabled(false);
    auto* expense = new QHBoxLayout(fraUnhappyMoney);
    expense->addWidget(lblMonth);
    expense->addWidget(txtUnhappyMoneyValue);
    expense->addWidget(new QLabel(QStringLiteral("円")));
    expense->addWidget(cmdUnhappyMoneyIn);
    cmdPostage =
        pushButton("cmdPostage", QStringLiteral("郵送料を計上(&O)"),
                   QStringLiteral("この月の郵送応募の郵送料を、応募日の料金で支出に加えます"));
    cmdPostage->setEnabled(false);
    expense->addWidget(cmdPostage);
    expense->addStretch();
    cmdYearGraph = pushButton("cmdYearGraph", QStringLiteral("グラフ(&G)"),
                              QStringLiteral("月別の応募・当選と収支のグラフ"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lvwYear, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(fraUnhappyMoney, 1);
    cmdYearAnalysis = pushButton("cmdYearAnalysis", QStringLiteral("分析(&J)"),
                                 QStringLiteral("この年の懸賞を種類ごとに集計します"));
    bottom->addWidget(cmdYearGraph);
    bottom->addWidget(cmdYearAnalysis);
    layout->addLayout(bottom);

    connect(cmdYearGraph, &QPushButton::clicked, this, [this] { openChart(false); });
    connect(cmdYearAnalysis, &QPushButton::clicked, this, [this] { openAnalysis(false); });
    connect(cmdPostage, &QPushButton::clicked, this, &YearPage::cmdPostage_Click);
    connect(cmdUnhappyMoneyIn, &QPushButton::clicked, this, &YearPage::cmdUnhappyMoneyIn_Click);
    connect(txtUnhappyMoneyValue, &QLineEdit::returnPressed, this, [this] {
        if (!txtUnhappyMoneyValue->text().isEmpty())
            cmdUnhappyMoneyIn_Click();
    });
    m_digitFilter = new DigitKeyFilter(m_parts.context.dialogs, this);
    m_digitFilter->attach(txtUnhappyMoneyValue);
    watchList(lvwYear, m_parts.state.selectedYearRow, [this](int row) { lvwYear_ItemClick(row); });
    ListViewColumnHeadersYear();
}

void YearPage::enter()
{
    m_expenseEnded = false;
    ListViewColumnHeadersYear();
    ShowYearList();
    setMonthLabelCaption();
    txtUnhappyMoneyValue->setText(
        m_yearSummary.months[m_parts.date().month() - 1].expenses.toText());
}

void YearPage::commandInputs(CommandInputs& in) const
{
    in.picked = m_parts.state.selectedYearRow.has_value();
    in.focusMonthEntries = m_yearSummary.months[m_parts.date().month() - 1].entries;
    in.expenseEnded = m_expenseEnded;
}

void YearPage::applyCommands(const CommandState& c)
{
    fraUnhappyMoney->setEnabled(c.expenseFrame);
    cmdUnhappyMoneyIn->setEnabled(c.unhappyMoneyIn);
    cmdPostage->setEnabled(c.unhappyMoneyIn); // mailed entries need entries
}

std::optional<listexport::ExportInput> YearPage::exportInput() const
{
    listexport::ExportInput input;
    input.kind = listexport::ListKind::Year;
    input.rows = summaryRows(m_yearModel);
    return input;
}

void YearPage::removePicked(bool picked)
{
    if (!picked)
        return;
    const AppPaths& paths = m_parts.context.paths;
    const QString year = m_parts.focusYear();
    const QString path = paths.monthFilePath(year, m_parts.focusMonth());
    if (!removeFileDurably(path))
        m_parts.reportNotRemoved(path);
    // A month file that is still there keeps its row.
    if (!QFileInfo::exists(path)) {
        UpdateYearSummary(m_parts.date(), Tally());
        if (!folderHoldsFiles(paths.yearFolder(year))) {
            m_parts.reportNotRemoved(deleteYearData(paths, year));
            afterYearFolderRemoved(year);
        }
    }
    ShowYearList();
}

void YearPage::removeAll()
{
    m_parts.reportNotRemoved(deleteYearData(m_parts.context.paths, m_parts.focusYear()));
    afterYearFolderRemoved(m_parts.focusYear());
    ShowYearList();
}

void YearPage::afterYearFolderRemoved(const QString& year)
{
    const AppPaths& paths = m_parts.context.paths;
    if (!folderHoldsFiles(paths.summaryFolder()))
        removeSummaryFolderIfEmpty(paths);
    else if (summaryFolderHoldsOnlyTotal(paths))
        m_parts.reportNotRemoved(deleteAllData(paths)); // that was the last year
    else
        m_parts.total->removeYearFromTotal(year);
}

void YearPage::ListViewColumnHeadersYear()
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

void YearPage::ShowYearList()
{
    const QString year = m_parts.focusYear();
    const YearList list = ::readYearList(m_parts.context.paths, year);
    if (!list.status.ok())
        reportUnreadableDataFile(m_parts.context.dialogs,
                                 m_parts.context.paths.yearSummaryPath(year),
                                 summaryProblem(list.status));
    m_yearSummary = list.summary;
    m_yearTally = list.yearTally;
    if (m_yearModel->columnCount() == 0)
        ListViewColumnHeadersYear();
    fillSummaryList(m_yearModel, list.rows);
    const Tab key = m_parts.currentTab();
    if (key == Tab::Year || key == Tab::Total)
        m_parts.window.RefreshTotals();
    refreshChart();
}

bool YearPage::UpdateYearSummary(const QDate& month, const Tally& monthTally)
{
    const YearUpdate update =
        ::UpdateYearSummary(m_parts.context.paths, month.toString(QStringLiteral("yyyy")),
                            month.month(), monthTally, m_parts.settings->targetState());
    const bool failed = !update.error.isEmpty() || !update.total.error.isEmpty();
    if (failed) {
        m_parts.context.dialogs.message(
            {QStringLiteral("集計ファイルを更新できませんでした。\r\n") +
                 (update.error.isEmpty() ? update.total.error : update.error),
             QStringLiteral("保存エラー"), MessageIcon::Critical, MessageButtons::Ok});
    }
    m_yearSummary = update.summary;
    m_yearTally = update.yearTally;
    if (update.total.error.isEmpty())
        m_parts.total->setTotalRows(update.total.rows);
    refreshChart();
    const Tab key = m_parts.currentTab();
    if (key == Tab::Year || key == Tab::Total)
        m_parts.window.RefreshTotals();
    m_parts.settings->handleTargetMessage(update.total);
    return !failed;
}

void YearPage::setMonthLabelCaption()
{
    lblMonth->setText(expenseCaption(m_parts.focusYear(), m_parts.focusMonth()));
}

void YearPage::endBooking()
{
    m_expenseEnded = true;
    txtUnhappyMoneyValue->setText(QStringLiteral("0"));
}

void YearPage::cmdUnhappyMoneyIn_Click()
{
    const int month = m_parts.date().month();
    const ExpenseBooking booking =
        BookExpense(m_parts.context.paths, m_parts.focusYear(), month, txtUnhappyMoneyValue->text(),
                    m_parts.settings->targetState());
    if (!booking.update.error.isEmpty()) {
        m_parts.context.dialogs.message(
            {QStringLiteral("集計ファイルを更新できませんでした。\r\n") + booking.update.error,
             QStringLiteral("保存エラー"), MessageIcon::Critical, MessageButtons::Ok});
    }
    m_parts.state.selectedYearRow.reset();
    lvwYear->clearSelection();
    m_parts.window.updateCommands();
    m_parts.settings->handleTargetMessage(booking.update.total);
    m_yearSummary = booking.list.summary;
    m_yearTally = booking.list.yearTally;
    fillSummaryList(m_yearModel, booking.list.rows);
    m_parts.month->bookedExpense(m_parts.date(), m_yearSummary.months[month - 1].expenses);
    const Tab key = m_parts.currentTab();
    if (key == Tab::Year || key == Tab::Total)
        m_parts.window.RefreshTotals();
}

void YearPage::lvwYear_ItemClick(int row)
{
    m_parts.state.selectedYearRow.reset();
    if (row >= 0 && row < 12) {
        m_parts.state.selectedYearRow = row;
        m_expenseEnded = false;
        txtUnhappyMoneyValue->setText(m_yearSummary.months[row].expenses.toText());
        m_parts.setCurrentDate(QDate(m_parts.date().year(), row + 1, 1));
        setMonthLabelCaption();
    }
    m_parts.window.updateCommands();
}

void YearPage::openChart(bool total)
{
    if (m_chart)
        m_chart->close(); // one chart at a time; it deletes itself
    m_chart = new frmChart(
        m_parts.context.dialogs,
        [this, total] {
            return total ? totalChartSeries(m_parts.total->totalRows(),
                                            m_parts.state.settings.dreamMoneyValue)
                         : yearChartSeries(m_parts.focusYear(), m_yearSummary);
        },
        &m_parts.window);
    m_chart->show();
    m_chart->raise();
    m_chart->activateWindow();
}

void YearPage::refreshChart()
{
    if (m_chart)
        m_chart->refresh();
}

void YearPage::openAnalysis(bool total)
{
    QDate from(m_parts.focusYear().toInt(), 1, 1);
    QDate to(from.year(), 12, 1);
    if (total) {
        const QStringList years = listYearFolders(m_parts.context.paths.dataFolder());
        if (!years.isEmpty()) {
            from = QDate(years.first().toInt(), 1, 1);
            to = QDate(years.last().toInt(), 12, 1);
        }
    }
    auto* window =
        new frmAnalysis(m_parts.context, m_parts.state.settings, from, to, &m_parts.window);
    window->show();
    window->raise();
    window->activateWindow();
}

void YearPage::cmdPostage_Click()
{
    const QDate month = m_parts.date();
    const QString year = m_parts.focusYear();
    const QString path = m_parts.context.paths.monthFilePath(year, m_parts.focusMonth());
    Dialogs& dialogs = m_parts.context.dialogs;
    const QString caption = QStringLiteral("郵送料");
    const MonthRead read = readMonthFile(
        path, {m_parts.state.settings.passwordInForce(), m_parts.context.paths.dataKey()});
    if (read.status != MonthRead::Status::Loaded && read.status != MonthRead::Status::Missing) {
        reportUnreadableDataFile(dialogs, path, read.status);
        return;
    }
    const PostageLoad rates = loadPostageTable(m_parts.context.paths);
    if (!rates.error.isEmpty() || !rates.read.badLines.isEmpty()) {
        dialogs.message({QStringLiteral("郵送料の表「%1」を読めないところがあるため、読めた料金"
                                        "（読めないときは既定の料金）で計算します。\r\n%2")
                             .arg(QDir::toNativeSeparators(rates.path), rates.error),
                         caption, MessageIcon::Exclamation, MessageButtons::Ok});
    }
    const MonthPostage postage =
        postageOf(read.entries, m_parts.state.settings.keyIsEndDay, rates.read.table);
    const QString monthText = QStringLiteral("%1年%2月").arg(year).arg(month.month());
    if (postage.mailed == 0) {
        dialogs.message({QStringLiteral("%1の記録に郵送応募の懸賞はありません。").arg(monthText),
                         caption, MessageIcon::Information, MessageButtons::Ok});
        return;
    }
    const Currency booked = m_yearSummary.months[month.month() - 1].expenses;
    const std::optional<Currency> sum =
        Currency::checkedSum(booked, Currency::fromUnits(postage.yen));
    // The expense box holds nine digits: a larger sum could not be booked as typed.
    if (!sum || sum->raw() > Currency::fromUnits(999999999).raw()) {
        dialogs.message({QStringLiteral("支出総額が大きくなりすぎるため、記帳できません。"),
                         caption, MessageIcon::Critical, MessageButtons::Ok});
        return;
    }
    QString text = QStringLiteral("%1の郵送応募%2件の郵送料は%3円です（応募日の料金）。")
                       .arg(monthText)
                       .arg(postage.mailed)
                       .arg(postage.yen);
    if (postage.unpriced > 0)
        text += QStringLiteral("\r\nうち%1件は応募日の料金が分からないため、含めていません。")
                    .arg(postage.unpriced);
    text += QStringLiteral("\r\n今の支出総額は%1円です。郵送料を加えて%2円として記帳しますか？")
                .arg(booked.toText(), sum->toText());
    if (dialogs.message({text, caption, MessageIcon::Question, MessageButtons::YesNo,
                         MessageAnswer::No}) != MessageAnswer::Yes)
        return;
    txtUnhappyMoneyValue->setText(sum->toText());
    cmdUnhappyMoneyIn_Click(); // the booking road of a typed amount
}

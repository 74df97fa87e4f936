#include "forms/TotalPage.h"

#include "core/Dialogs.h"
#include "diary/DeleteData.h"
#include "forms/FormHelpers.h"
#include "forms/PageLists.h"
#include "forms/SettingsPage.h"
#include "forms/UnreadableDataFile.h"
#include "forms/YearPage.h"
#include "forms/frmMain.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

TotalPage::TotalPage(MainParts& parts) : SummaryPage(parts)
{
    m_totalModel = named(new QStandardItemModel(this), "lvwTotalModel");
    lvwTotal = makeList("lvwTotal", m_totalModel, QStringLiteral("総計"), false);
    cmdTotalGraph = pushButton("cmdTotalGraph", QStringLiteral("グラフ(&G)"),
                               QStringLiteral("年別の応募・当選と収支のグラフ"));
    cmdTotalAnalysis = pushButton("cmdTotalAnalysis", QStringLiteral("分析(&J)"),
                                  QStringLiteral("すべての年の懸賞を種類ごとに集計します"));
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(cmdTotalGraph);
    bottom->addWidget(cmdTotalAnalysis);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lvwTotal, 1);
    layout->addLayout(bottom);

    connect(cmdTotalGraph, &QPushButton::clicked, this, [this] { m_parts.year->openChart(true); });
    connect(cmdTotalAnalysis, &QPushButton::clicked, this,
            [this] { m_parts.year->openAnalysis(true); });
    watchList(lvwTotal, m_parts.state.selectedTotalRow,
              [this](int row) { lvwTotal_ItemClick(row); });
    ListViewColumnHeadersTotal();
}

void TotalPage::enter()
{
    ListViewColumnHeadersTotal();
    ShowTotalList();
}

void TotalPage::commandInputs(CommandInputs& in) const
{
    in.picked = m_parts.state.selectedTotalRow.has_value();
}

std::optional<listexport::ExportInput> TotalPage::exportInput() const
{
    listexport::ExportInput input;
    input.kind = listexport::ListKind::Total;
    input.rows = summaryRows(m_totalModel);
    return input;
}

void TotalPage::removePicked(bool picked)
{
    if (!picked)
        return;
    const AppPaths& paths = m_parts.context.paths;
    m_parts.reportNotRemoved(deleteYearData(paths, m_parts.focusYear()));
    removeYearFromTotal(m_parts.focusYear());
    if (::readTotalList(paths).totalRows.isEmpty())
        m_parts.reportNotRemoved(deleteAllData(paths));
    ShowTotalList();
}

void TotalPage::removeAll()
{
    m_parts.reportNotRemoved(deleteAllData(m_parts.context.paths));
    ShowTotalList();
}

bool TotalPage::removeYearFromTotal(const QString& year)
{
    const TotalUpdate update = ::UpdateTotalSummary(m_parts.context.paths, year, std::nullopt,
                                                    m_parts.settings->targetState());
    if (!update.error.isEmpty()) {
        m_parts.context.dialogs.message(
            {QStringLiteral("集計ファイルを更新できませんでした。\r\n") + update.error,
             QStringLiteral("保存エラー"), MessageIcon::Critical, MessageButtons::Ok});
    }
    m_parts.settings->handleTargetMessage(update);
    return update.error.isEmpty();
}

Tally TotalPage::refreshTotalTally()
{
    m_totalTally = ::readTotalList(m_parts.context.paths).totalTally;
    return m_totalTally;
}

void TotalPage::ListViewColumnHeadersTotal()
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

void TotalPage::ShowTotalList()
{
    const TotalList list = ::readTotalList(m_parts.context.paths);
    if (!list.status.ok())
        reportUnreadableDataFile(m_parts.context.dialogs, m_parts.context.paths.totalSummaryPath(),
                                 summaryProblem(list.status));
    m_totalTally = list.totalTally;
    m_totalRows = list.totalRows;
    if (m_totalModel->columnCount() == 0)
        ListViewColumnHeadersTotal();
    fillSummaryList(m_totalModel, list.rows);
    m_parts.window.RefreshTotals();
    m_parts.year->refreshChart();
}

void TotalPage::lvwTotal_ItemClick(int row)
{
    const QString year = m_totalModel->index(row, 0).data().toString();
    m_parts.state.selectedTotalRow.reset();
    if (!year.isEmpty()) {
        m_parts.state.selectedTotalRow = row;
        m_parts.setCurrentDate(QDate(year.toInt(), m_parts.date().month(), 1));
    }
    m_parts.window.updateCommands();
}

#include "core/AtomicFile.h"
#include "core/Dialogs.h"
#include "diary/Export.h"
#include "forms/BusyCursor.h"
#include "forms/EntryTableModel.h"
#include "forms/ProgressPacer.h"
#include "forms/SettingsPage.h"
#include "forms/StatisticsPanel.h"
#include "forms/frmMain.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>

#include <algorithm>

// Saving the list on show as CSV or as an HTML table (保存).

namespace {

// The run-time error number of a file that could not be written.
constexpr int kFileAccessError = 75;

QList<QStringList> summaryRows(const QStandardItemModel* model)
{
    QList<QStringList> rows;
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < model->columnCount(); ++c) {
            const QStandardItem* item = model->item(r, c);
            row.append(item ? item->text() : QString());
        }
        rows.append(row);
    }
    return rows;
}

} // namespace

void frmMain::cmdSave_Click()
{
    disableEntryCommands();
    FileDialogSpec spec;
    spec.caption = QStringLiteral("保存");
    spec.fileName = m_outputFileName;
    spec.filter = QStringLiteral("*.csv (*.csv);;*.htm (*.htm);;*.html (*.html)");
    const QString chosen = m_context.dialogs.saveFileName(spec);
    if (chosen.isEmpty())
        return;
    m_outputFileName = chosen;

    const Tab key = currentTab();
    int maximum = 0;
    if (key == Tab::Month || key == Tab::Search) {
        maximum = m_panel->tally().entries;
        m_outputList = key == Tab::Month ? lvwMonth : lvwSearch;
    } else if (key == Tab::Year) {
        maximum = 12;
        m_outputList = lvwYear;
    } else if (key == Tab::Total) {
        maximum = m_totalModel->rowCount();
        m_outputList = lvwTotal;
    } else {
        return;
    }
    // A panel that disagrees with its list must not cut the file short: the bar grows instead.
    prgShinko->setMaximum(std::max({1, maximum, m_outputList->model()->rowCount()}));
    prgShinko->setValue(0);
    if (Output())
        m_context.dialogs.message({QStringLiteral("保存しました"), QStringLiteral("完了"),
                                   MessageIcon::None, MessageButtons::Ok});
}

listexport::ExportInput frmMain::listInput(const QTableView* list) const
{
    listexport::ExportInput input;
    input.keyIsEndDay = m_settingsPage->keyIsEndDayShown();
    if (list == lvwMonth || list == lvwSearch) {
        input.kind = listexport::ListKind::Entries;
        input.entries = (list == lvwMonth ? m_monthModel : m_searchModel)->entries();
    } else {
        const bool year = list == lvwYear;
        input.kind = year ? listexport::ListKind::Year : listexport::ListKind::Total;
        input.rows = summaryRows(year ? m_yearModel : m_totalModel);
    }
    input.withStatistics = m_state.settings.autoSumOutput;
    input.panel = m_panel->texts();
    return input;
}

bool frmMain::Output()
{
    if (m_outputFileName.isEmpty() || !m_outputList)
        return false;
    const BusyCursor busy;

    listexport::ExportInput input = listInput(m_outputList);
    const qsizetype rowCount = input.rowCount();
    ProgressPacer pacer;
    const listexport::ExportWrite written = listexport::writeExportFile(
        m_outputFileName, input, listexport::formatForPath(m_outputFileName), [&](int row) {
            if (pacer.due() || row == rowCount)
                prgShinko->setValue(row);
        });
    input = {};
    if (!written.unencodable.isEmpty()) {
        prgShinko->setValue(0);
        m_context.dialogs.message(
            {QStringLiteral("文字「%1」はファイルに保存できないため、保存しませんでした。")
                 .arg(written.unencodable),
             QStringLiteral("zumicho"), MessageIcon::Exclamation, MessageButtons::Ok});
        return false;
    }
    if (!written.error.isEmpty()) {
        prgShinko->setValue(0);
        m_context.dialogs.message(
            {QStringLiteral("エラー番号 = %1\r%2").arg(kFileAccessError).arg(written.error),
             QStringLiteral("zumicho"), MessageIcon::Exclamation, MessageButtons::Ok});
        return false;
    }
    return true;
}

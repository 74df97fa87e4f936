#include "core/AppContext.h"
#include "diary/PrintLayout.h"
#include "forms/BusyCursor.h"
#include "forms/StatisticsPanel.h"
#include "forms/frmMain.h"
#include "forms/frmPrint.h"
#include "platform/CupsPrinters.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QStandardItemModel>
#include <QTableView>

#include <algorithm>

// Printing the list on show (印刷): the lines are built here, the dialog lays them out.

namespace {

// The bar follows the rows by time: redrawing it per row would cost more than the rows.
constexpr qint64 kProgressInterval = 50; // ms

} // namespace

void frmMain::cmdPrint_Click()
{
    disableEntryCommands();
    const Tab key = currentTab();
    const QTableView* list = nullptr;
    int maximum = 0;
    if (key == Tab::Month || key == Tab::Search) {
        list = key == Tab::Month ? lvwMonth : lvwSearch;
        maximum = m_panel->tally().entries;
    } else if (key == Tab::Year) {
        list = lvwYear;
        maximum = 12;
    } else if (key == Tab::Total) {
        list = lvwTotal;
        maximum = m_totalModel->rowCount();
    } else {
        return;
    }

    QStringList lines;
    {
        const BusyCursor busy;
        const listexport::ExportInput input = listInput(list);
        // A panel that disagrees with its list must not cut the job short: the bar grows instead.
        prgShinko->setMaximum(std::max({1, maximum, int(input.rowCount())}));
        prgShinko->setValue(0);
        QElapsedTimer sinceShown;
        sinceShown.start();
        lines = printlayout::printLines(input, [&](int row) {
            if (sinceShown.elapsed() >= kProgressInterval) {
                prgShinko->setValue(row);
                sinceShown.restart();
            }
        });
        prgShinko->setValue(int(input.rowCount()));
    }

    if (!m_printers)
        m_printers = std::make_shared<CupsPrinters>();
    frmPrint dialog(m_context.dialogs, *m_printers, this);
    dialog.MPSetString(lines);
    dialog.Form_Load();
    dialog.centreOn(this);
    dialog.exec();
}

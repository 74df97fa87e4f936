// Switching tabs, the one command rule, the month navigation and the delete commands.
#include "forms/frmMain.h"

#include "core/Dialogs.h"
#include "diary/Deployment.h"
#include "diary/MonthNavigation.h"
#include "diary/ShellServices.h"
#include "forms/EntryTableModel.h"
#include "forms/MonthImport.h"
#include "forms/MonthPage.h"
#include "forms/SearchPage.h"
#include "forms/SettingsPage.h"
#include "forms/StatisticsPanel.h"
#include "forms/YearPage.h"

#include <QDateEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <algorithm>

namespace {

const MessageBoxSpec kDeleteQuestion{
    QStringLiteral("選択した懸賞情報を削除しますか？\r\n実行すると元には戻せません。"),
    QStringLiteral("削除の確認"), MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::Yes};
const MessageBoxSpec kAllDeleteQuestion{
    QStringLiteral("表示されている懸賞情報を全て削除しますか？\r\n実行すると元には戻せません。"),
    QStringLiteral("全削除の確認"), MessageIcon::Question, MessageButtons::YesNo,
    MessageAnswer::Yes};

// After a delete: edit, home page, delete and the expense booking wait for the next pick,
// and no month or year stays picked.
void endDeleteSelection(const MainParts& parts)
{
    parts.state.selectedYearRow.reset();
    parts.state.selectedTotalRow.reset();
    parts.year->endBooking();
    parts.disableEntryCommands();
}

// The page on show when it holds entries (month or search), else none.
EntryListPage* entryPage(const MainParts& parts)
{
    const Tab key = parts.currentTab();
    if (key == Tab::Month)
        return parts.month;
    if (key == Tab::Search)
        return parts.search;
    return nullptr;
}

} // namespace

Tab frmMain::currentTab() const
{
    return m_parts.currentTab();
}

MainPage* frmMain::currentPage() const
{
    return m_pages[static_cast<int>(currentTab())];
}

void frmMain::updateCommands()
{
    CommandInputs in;
    in.tab = currentTab();
    in.searchRunning = m_state.searchRunning;
    in.monthReadable = m_parts.month->shownMonth().readable();
    in.shownEntries = m_parts.panel->tally().entries;
    currentPage()->commandInputs(in);
    const CommandState c = commandStateFor(in);
    const std::pair<QWidget*, bool> commands[] = {
        {cmdNewInput, c.newInput},
        {cmdInput, c.input},
        {cmdCsvInput, c.input}, // the CSV import sits beside 取込登録 and follows its rule
        {cmdHensyu, c.hensyu},
        {cmdURL, c.url},
        {cmdDelete, c.del},
        {cmdAllDelete, c.allDelete},
        {cmdSave, c.save},
        {cmdPrint, c.print},
        {cmdMonthBack, c.monthSteps},
        {cmdMonthNext, c.monthSteps},
        {cmdYearBack, c.yearSteps},
        {cmdYearNext, c.yearSteps},
        {dtpDate, c.datePicker},
    };
    for (const auto& [command, enabled] : commands)
        command->setEnabled(enabled);
    for (MainPage* page : m_pages)
        page->applyCommands(c);
}

void frmMain::RefreshTotals()
{
    if (const std::optional<Tally> shown = currentPage()->refreshTotals())
        m_parts.panel->setTally(*shown);
    updateCommands();
}

void frmMain::connectEvents()
{
    connect(tabMain, &QTabWidget::currentChanged, this, &frmMain::tabMain_Click);
    connect(cmdEnd, &QPushButton::clicked, this, &frmMain::cmdEnd_Click);
    connect(cmdNewInput, &QPushButton::clicked, m_parts.month, &MonthPage::cmdNewInput_Click);
    connect(cmdInput, &QPushButton::clicked, this,
            [this] { MonthImport(m_parts).cmdInput_Click(); });
    connect(cmdCsvInput, &QPushButton::clicked, this,
            [this] { MonthImport(m_parts).cmdCsvInput_Click(); });
    connect(cmdHensyu, &QPushButton::clicked, this, [this] {
        if (EntryListPage* page = entryPage(m_parts))
            page->cmdHensyu_Click();
    });
    connect(cmdURL, &QPushButton::clicked, this, [this] {
        if (EntryListPage* page = entryPage(m_parts))
            page->cmdURL_Click();
    });
    connect(cmdDelete, &QPushButton::clicked, this, &frmMain::cmdDelete_Click);
    connect(cmdAllDelete, &QPushButton::clicked, this, &frmMain::cmdAllDelete_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmMain::cmdSave_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmMain::cmdPrint_Click);
    connect(cmdBackUp, &QPushButton::clicked, this, &frmMain::cmdBackUp_Click);
    connect(cmdRestore, &QPushButton::clicked, this, &frmMain::cmdRestore_Click);
    connect(cmdMonthBack, &QPushButton::clicked, this, &frmMain::cmdMonthBack_Click);
    connect(cmdMonthNext, &QPushButton::clicked, this, &frmMain::cmdMonthNext_Click);
    connect(cmdYearBack, &QPushButton::clicked, this, &frmMain::cmdYearBack_Click);
    connect(cmdYearNext, &QPushButton::clicked, this, &frmMain::cmdYearNext_Click);
    connect(dtpDate, &QDateEdit::dateChanged, this, &frmMain::dtpDate_Change);
    connect(cmdHelp, &QPushButton::clicked, this, &frmMain::cmdHelp_Click);
    connect(cmdUserInput, &QPushButton::clicked, this, &frmMain::cmdUserInput_Click);
    connect(cmdShortcut, &QPushButton::clicked, this, &frmMain::cmdShortcut_Click);
    const auto opens = [this](QPushButton* button, const QString& address) {
        connect(button, &QPushButton::clicked, this,
                [this, address] { OpenAddress(m_context.dialogs, address); });
    };
    opens(cmdZumiraHomepage, deployment::kSiteHome);
    opens(cmdZumiraMail, deployment::kSiteContact);
    opens(cmdMyHomepage, deployment::kDeveloperHome);
    opens(cmdMyMail, QStringLiteral("mailto:") + deployment::kDeveloperMail);
}

void frmMain::tabMain_Click()
{
    const Tab key = currentTab();
    m_state.entryPicked = false;

    m_state.suppressPasswordDialog = true;
    if (key != Tab::Setting)
        m_parts.settings->readSettings(); // settings edited but not applied are dropped
    MonthPage& month = *m_parts.month;
    if (month.shownMonth().dirty())
        month.SaveMonthFile();

    m_parts.panel->clear();
    m_state.selectedMonthRow.reset();
    m_state.selectedYearRow.reset();
    m_state.selectedTotalRow.reset();
    m_state.selectedSearchRow.reset();
    prgShinko->setValue(0);
    if (key != Tab::Search)
        m_parts.search->leave();
    currentPage()->enter();
    updateCommands();
}

void frmMain::stepShownDay(bool byYear, int delta)
{
    const Tab key = currentTab();
    if (byYear && key != Tab::Month && key != Tab::Year)
        return;
    MonthPage& month = *m_parts.month;
    if (month.shownMonth().dirty())
        month.SaveMonthFile();
    const QString day = dtpDate->date().toString(QStringLiteral("dd"));
    const ShownDay from{m_parts.focusYear(), m_parts.focusMonth(), day};
    const ShownDay to = byYear ? stepYear(from, day, delta) : stepMonth(from, day, delta);
    m_parts.setCurrentDate(QDate(to.year.toInt(), to.month.toInt(), to.day.toInt()));
    if (byYear && key == Tab::Year)
        m_parts.year->ShowYearList();
    else
        month.LoadMonthFile();
    if (byYear)
        m_parts.year->setMonthLabelCaption();
}

void frmMain::cmdMonthBack_Click()
{
    if (currentTab() == Tab::Month)
        stepShownDay(false, -1);
}

void frmMain::cmdMonthNext_Click()
{
    stepShownDay(false, +1);
}

void frmMain::cmdYearBack_Click()
{
    stepShownDay(true, -1);
}

void frmMain::cmdYearNext_Click()
{
    stepShownDay(true, +1);
}

void frmMain::dtpDate_Change()
{
    const QString yearMonth = dtpDate->date().toString(QStringLiteral("yyyy/MM"));
    if (yearMonth != m_state.lastYearMonth) {
        m_state.lastYearMonth = yearMonth;
        tabMain_Click(); // another month: reload the tab
    } else {
        RefreshTotals(); // the same month: only the win-day colour follows the day
    }
}

void frmMain::cmdDelete_Click()
{
    m_parts.disableEntryCommands();
    const Tab key = currentTab();
    if (key == Tab::Month) {
        if (m_state.selectedCount > 0 && m_state.selectedCount == monthModel()->rowCount()) {
            // Everything is selected: delete all, without the all-delete question.
            const bool ask = m_state.settings.allDeleteKakunin;
            m_state.settings.allDeleteKakunin = false;
            cmdAllDelete_Click();
            m_state.settings.allDeleteKakunin = ask;
        } else {
            DeleteSelectedEntries();
        }
    } else if (key == Tab::Search) {
        QList<int> rows = m_parts.search->selectedRows();
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
    const Tab key = currentTab();
    const bool picked = key == Tab::Year    ? m_state.selectedYearRow.has_value()
                        : key == Tab::Total ? m_state.selectedTotalRow.has_value()
                                            : true;
    endDeleteSelection(m_parts);
    if (m_state.settings.deleteKakunin &&
        m_context.dialogs.message(kDeleteQuestion) != MessageAnswer::Yes)
        return;
    currentPage()->removePicked(picked);
    RefreshTotals();
}

void frmMain::cmdAllDelete_Click()
{
    endDeleteSelection(m_parts);
    if (m_state.settings.allDeleteKakunin &&
        m_context.dialogs.message(kAllDeleteQuestion) != MessageAnswer::Yes)
        return;
    currentPage()->removeAll();
    RefreshTotals();
}

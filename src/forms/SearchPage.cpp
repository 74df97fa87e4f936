#include "forms/SearchPage.h"

#include "core/Clock.h"
#include "core/Dialogs.h"
#include "diary/Deadlines.h"
#include "forms/BusyCursor.h"
#include "forms/EntryTableModel.h"
#include "forms/MonthPage.h"
#include "forms/StatisticsPanel.h"
#include "forms/TotalPage.h"
#include "forms/UnreadableDataFile.h"
#include "forms/frmDataSearch.h"
#include "forms/frmMain.h"
#include "platform/WindowLevel.h"

#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

SearchPage::SearchPage(MainParts& parts) : EntryListPage(parts, "lvwSearch", QStringLiteral("検索"))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view());
}

void SearchPage::enter()
{
    BuildEntryColumns();
    loadSearchForm();
    m_parts.window.RefreshTotals();
    m_searchForm->show();
    m_searchForm->raise();
}

void SearchPage::leave()
{
    model()->clear();
    unloadSearchForm();
}

std::optional<Tally> SearchPage::refreshTotals()
{
    // The month's figures follow edits made from the results.
    m_parts.month->recount();
    return colourRows(Currency());
}

void SearchPage::RefreshTotals()
{
    m_parts.window.RefreshTotals();
}

void SearchPage::removePicked(bool)
{
    MainState& state = m_parts.state;
    if (!state.selectedSearchRow)
        return;
    const int searchRow = *state.selectedSearchRow;
    const EntryRecord entry = model()->entry(searchRow);
    model()->removeRowsAt({searchRow});
    MonthPage& month = *m_parts.month;
    const QDate keyDay = QDate::fromString(entry[KeyDate], QStringLiteral("yyyy/MM/dd"));
    if (keyDay.isValid())
        month.showMonthOf(keyDay);
    else
        month.LoadMonthFile();
    const int monthRow = static_cast<int>(month.shownMonth().entries().indexOf(entry));
    // A search row whose month no longer holds it leaves the search list only.
    if (monthRow >= 0)
        month.removeMonthRows({monthRow});
}

void SearchPage::showSorted(const QList<EntryRecord>& rows)
{
    model()->setEntries(rows);
    m_parts.window.RefreshTotals();
}

void SearchPage::deleteKey()
{
    m_parts.window.cmdDelete_Click(); // one delete per selected row, from the last
    m_parts.state.selectedSearchRow.reset();
}

void SearchPage::listPicked(std::optional<int> row)
{
    m_parts.state.selectedSearchRow = row;
    // One search result moves the month context to its entry, which editing it relies on.
    if (row) {
        const QDate day =
            QDate::fromString(model()->entry(*row)[KeyDate], QStringLiteral("yyyy/MM/dd"));
        if (day.isValid())
            m_parts.setCurrentDate(day);
    }
}

void SearchPage::loadSearchForm()
{
    QWidget& window = m_parts.window;
    if (!m_searchForm) {
        m_searchForm = new frmDataSearch(*this, &window);
        m_searchForm->Form_Load();
        // Beside the main window, kept on the screen.
        m_searchForm->adjustSize();
        QPoint at(window.frameGeometry().right() + 1, window.frameGeometry().top());
        if (const QScreen* screen = window.screen()) {
            const QRect area = screen->availableGeometry();
            const int width = m_searchForm->frameGeometry().width();
            if (at.x() + width > area.right())
                at.setX(std::max(area.left(), area.right() - width));
            at.setY(std::max(area.top(), at.y()));
        }
        m_searchForm->move(at);
    }
    m_searchForm->setAllDates(m_parts.context.clock.today());
    m_searchForm->arrangeDateRows(m_parts.state.settings.keyIsEndDay);
}

void SearchPage::unloadSearchForm()
{
    if (m_searchForm)
        m_searchForm->close(); // calls back searchFormClosed
}

bool SearchPage::stopRunningSearch()
{
    if (!m_searchForm || !m_searchForm->searching())
        return false;
    m_searchForm->cmdClose_Click(); // stops the search
    return true;
}

void SearchPage::searchFormClosed()
{
    m_searchForm = nullptr;
    setTopMost(&m_parts.window, m_parts.state.settings.formState);
}

Tally SearchPage::refreshTotalTally()
{
    return m_parts.total->refreshTotalTally();
}

void SearchPage::setSearchRunning(bool running)
{
    // The window's contents rather than the window: the search form and every message box
    // shown during the scan are children of the window and would be disabled with it.
    for (QWidget* child : m_parts.window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow())
            child->setEnabled(!running);
    }
    m_parts.state.searchRunning = running;
    if (running) {
        // The result list is emptied; nothing of it stays selected.
        m_parts.state.selectedSearchRow.reset();
        m_parts.state.selectedCount = 0;
    }
    m_parts.disableEntryCommands();
}

void SearchPage::clearStatisticsPanel()
{
    m_parts.panel->clear();
    // Nothing is left to save, print or edit.
    m_parts.state.selectedSearchRow.reset();
    m_parts.state.selectedCount = 0;
    m_parts.disableEntryCommands();
}

void SearchPage::showHelp(HelpTopic topic)
{
    ShowHelp(m_parts.context.dialogs, m_parts.context.paths, topic);
}

QWidget* SearchPage::mainWidget()
{
    return &m_parts.window;
}

QList<EntryRecord> SearchPage::scanOpenDeadlines(bool reportUnreadable)
{
    const Settings& s = m_parts.state.settings;
    DeadlineScan scan;
    {
        const BusyCursor busy;
        scan = findOpenEntries(m_parts.context.paths, s.keyIsEndDay, s.passwordInForce(),
                               m_parts.context.clock.today(), s.deadlineDays);
    }
    if (reportUnreadable)
        reportUnreadableDataFiles(m_parts.context.dialogs, scan.unreadableFiles);
    return std::move(scan.entries);
}

void SearchPage::showDeadlineList(QList<EntryRecord> entries)
{
    if (m_parts.currentTab() != Tab::Search)
        m_parts.showTab(Tab::Search); // loads the search form beside the window
    model()->setEntries(std::move(entries));
    m_parts.state.selectedSearchRow.reset();
    m_parts.state.selectedCount = 0;
    m_parts.window.RefreshTotals();
}

bool SearchPage::noticeDeadlinesAtStart()
{
    const Settings& s = m_parts.state.settings;
    if (!s.deadlineNotice)
        return false;
    // A month that cannot be read is told when it is opened or searched, not at every start.
    QList<EntryRecord> open = scanOpenDeadlines(false);
    if (open.isEmpty())
        return false;
    const MessageAnswer answer = m_parts.context.dialogs.message(
        {deadlineQuestionText(open.size(), s.deadlineDays), kDeadlineCaption, MessageIcon::Question,
         MessageButtons::YesNo, MessageAnswer::Yes});
    if (answer == MessageAnswer::Yes)
        showDeadlineList(std::move(open));
    return true;
}

void SearchPage::cmdSimekiri_Click()
{
    QList<EntryRecord> open = scanOpenDeadlines(true);
    if (open.isEmpty()) {
        m_parts.context.dialogs.message(
            {QStringLiteral("締切日が今日から%1日以内の未応募・不明の懸賞はありません。")
                 .arg(m_parts.state.settings.deadlineDays),
             kDeadlineCaption, MessageIcon::Information, MessageButtons::Ok});
    }
    showDeadlineList(std::move(open));
}

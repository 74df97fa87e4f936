// Entries whose deadline is coming up: the notice at start-up and the list on the search tab.
#include "forms/frmMain.h"

#include "core/Clock.h"
#include "core/Dialogs.h"
#include "diary/Deadlines.h"
#include "forms/BusyCursor.h"
#include "forms/EntryTableModel.h"
#include "forms/UnreadableDataFile.h"

#include <QTabWidget>

QList<EntryRecord> frmMain::scanOpenDeadlines(bool reportUnreadable)
{
    const Settings& s = m_state.settings;
    DeadlineScan scan;
    {
        const BusyCursor busy;
        scan = findOpenEntries(m_context.paths, s.keyIsEndDay, m_state.settings.passwordInForce(),
                               m_context.clock.today(), s.deadlineDays);
    }
    if (reportUnreadable)
        reportUnreadableDataFiles(m_context.dialogs, scan.unreadableFiles);
    return std::move(scan.entries);
}

void frmMain::showDeadlineList(QList<EntryRecord> entries)
{
    if (currentTab() != Tab::Search) {
        for (int i = 0; i < tabMain->count(); ++i) {
            if (static_cast<Tab>(tabMain->widget(i)->property("tab").toInt()) == Tab::Search)
                tabMain->setCurrentIndex(i); // loads the search form beside the window
        }
    }
    m_searchModel->setEntries(std::move(entries));
    m_state.selectedSearchRow.reset();
    m_state.selectedCount = 0;
    RefreshTotals();
}

void frmMain::noticeDeadlinesAtStart()
{
    if (!m_state.settings.deadlineNotice)
        return;
    // A month that cannot be read is told when it is opened or searched, not at every start.
    QList<EntryRecord> open = scanOpenDeadlines(false);
    if (open.isEmpty())
        return;
    const MessageAnswer answer = m_context.dialogs.message(
        {deadlineQuestionText(open.size(), m_state.settings.deadlineDays), kDeadlineCaption,
         MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::Yes});
    if (answer == MessageAnswer::Yes)
        showDeadlineList(std::move(open));
}

void frmMain::cmdSimekiri_Click()
{
    QList<EntryRecord> open = scanOpenDeadlines(true);
    if (open.isEmpty()) {
        m_context.dialogs.message(
            {QStringLiteral("締切日が今日から%1日以内の未応募・不明の懸賞はありません。")
                 .arg(m_state.settings.deadlineDays),
             kDeadlineCaption, MessageIcon::Information, MessageButtons::Ok});
    }
    showDeadlineList(std::move(open));
}

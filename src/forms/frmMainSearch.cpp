// The search tab's side of the search form: loading it beside the window, the result
// figures and the window order.
#include "forms/StatisticsPanel.h"
#include "forms/frmMain.h"

#include "core/Clock.h"
#include "forms/EntryTableModel.h"
#include "forms/frmDataSearch.h"
#include "platform/WindowLevel.h"

#include <QPushButton>
#include <QScreen>
#include <algorithm>

void frmMain::loadSearchForm()
{
    if (!m_searchForm) {
        m_searchForm = new frmDataSearch(*this, this);
        m_searchForm->Form_Load();
        // Beside the main window, kept on the screen.
        m_searchForm->adjustSize();
        QPoint at(frameGeometry().right() + 1, frameGeometry().top());
        if (const QScreen* screen = this->screen()) {
            const QRect area = screen->availableGeometry();
            if (at.x() + m_searchForm->frameGeometry().width() > area.right())
                at.setX(
                    std::max(area.left(), area.right() - m_searchForm->frameGeometry().width()));
            at.setY(std::max(area.top(), at.y()));
        }
        m_searchForm->move(at);
    }
    m_searchForm->setAllDates(m_context.clock.today());
    m_searchForm->arrangeDateRows(m_state.settings.keyIsEndDay);
}

void frmMain::unloadSearchForm()
{
    if (m_searchForm)
        m_searchForm->close(); // calls back searchFormClosed
}

void frmMain::searchFormClosed()
{
    m_searchForm = nullptr;
    setTopMost(this, m_state.settings.formState);
}

Tally frmMain::refreshTotalTally()
{
    m_totalTally = ::readTotalList(m_context.paths).totalTally;
    return m_totalTally;
}

void frmMain::setSearchRunning(bool running)
{
    // The window's contents rather than the window: the search form and every message box
    // shown during the scan are children of this window and would be disabled with it.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow())
            child->setEnabled(!running);
    }
    m_state.searchRunning = running;
    if (running) {
        // The result list is emptied; nothing of it stays selected.
        m_state.selectedSearchRow.reset();
        m_state.selectedCount = 0;
    }
    disableEntryCommands();
}

void frmMain::clearStatisticsPanel()
{
    m_panel->clear();
    m_searchTally = Tally();
    m_shownTally = Tally();
    // Nothing is left to save, print or edit.
    m_state.selectedSearchRow.reset();
    m_state.selectedCount = 0;
    disableEntryCommands();
}

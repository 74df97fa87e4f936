#pragma once

#include "forms/EntryListPage.h"
#include "forms/SearchHost.h"

#include <QPointer>

class frmDataSearch;

// The search tab: the result list, the search form beside the window (its host) and the
// entries whose deadline is coming up (締切間近).
class SearchPage : public EntryListPage, public SearchHost
{
public:
    explicit SearchPage(MainParts& parts);

    void enter() override;
    std::optional<Tally> refreshTotals() override;
    void removePicked(bool picked) override;

    // The search form's view of the main window.
    const AppContext& context() const override { return m_parts.context; }
    const Settings& settings() const override { return m_parts.state.settings; }
    EntryTableModel& searchList() override { return *model(); }
    void RefreshTotals() override;
    Tally refreshTotalTally() override;
    void setSearchRunning(bool running) override;
    void clearStatisticsPanel() override;
    void searchFormClosed() override;
    void showHelp(HelpTopic topic) override;
    void cmdSimekiri_Click() override;
    QWidget* mainWidget() override;

    // Another tab came on show: the results go, and the search form with them.
    void leave();
    // Stops a running search; false when none runs.
    bool stopRunningSearch();
    void unloadSearchForm();
    // At start-up, once the window is on the screen: offers the entries due soon. True when
    // it did.
    bool noticeDeadlinesAtStart();

protected:
    void showSorted(const QList<EntryRecord>& rows) override;
    void deleteKey() override;
    void listPicked(std::optional<int> row) override;

private:
    // Loads the search form unless it is loaded, with today's dates and the key date's row
    // on top.
    void loadSearchForm();
    // Entries whose deadline is coming up: read, and shown in the result list.
    QList<EntryRecord> scanOpenDeadlines(bool reportUnreadable);
    void showDeadlineList(QList<EntryRecord> entries);

    QPointer<frmDataSearch> m_searchForm;
};

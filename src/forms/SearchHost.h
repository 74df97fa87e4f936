#pragma once

#include "diary/ShellServices.h"

#include <QString>

class EntryTableModel;
class QWidget;
struct AppContext;
struct Settings;
struct Tally;

// What the search form needs of the main window: the result list, the statistics panel and
// the window order while a search runs.
class SearchHost
{
public:
    virtual ~SearchHost() = default;

    virtual const AppContext& context() const = 0;
    // Key date, start password and "always on top" in force.
    virtual const Settings& settings() const = 0;
    // The result list (lvwSearch); filled by the search in scan order.
    virtual EntryTableModel& searchList() = 0;
    // Recounts the result list and fills the statistics panel.
    virtual void RefreshTotals() = 0;
    // The all-time tally of the total summary (read afresh), for the progress bar.
    virtual Tally refreshTotalTally() = 0;
    // The main window is disabled while a search runs and enabled again afterwards.
    virtual void setSearchRunning(bool running) = 0;
    // New conditions: the statistics panel back to zero.
    virtual void clearStatisticsPanel() = 0;
    // The form closed itself; the main window forgets it and takes back its window level.
    virtual void searchFormClosed() = 0;
    // Opens the manual at the topic.
    virtual void showHelp(HelpTopic topic) = 0;
    // "締切間近(&L)": the entries whose deadline is coming up, as the result list.
    virtual void cmdSimekiri_Click() = 0;
    virtual QWidget* mainWidget() = 0;
};

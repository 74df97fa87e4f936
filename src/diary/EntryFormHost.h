#pragma once

#include "diary/ShellServices.h"

#include <QDate>
#include <QString>

class EntryTableModel;
class QWidget;
struct AppContext;
struct MainState;
struct Settings;

// What the entry form needs of the main window: its lists, the month on show and the one
// road by which every change reaches the month files and summaries.
class EntryFormHost
{
public:
    virtual ~EntryFormHost() = default;

    virtual const AppContext& context() const = 0;
    // The settings in force (key date, always on top, duplicate check, key sort).
    virtual const Settings& settings() const = 0;
    // "T_Month" or "T_Search" while the form is open.
    virtual QString currentTabKey() const = 0;
    virtual EntryTableModel& monthList() = 0;
    virtual EntryTableModel& searchList() = 0;
    // The month on show (curYear, curMonth), the selection indexes and monthDirty.
    virtual MainState& state() = 0;
    // The day of the main window's date picker.
    virtual QDate shownDate() const = 0;

    // Loads the month of state().curYear/curMonth into the month list.
    virtual void LoadMonthFile() = 0;
    // Writes the month list (counts, year and total summaries, target check follow).
    // False when the month was not written; the user has been told why.
    virtual bool SaveMonthFile() = 0;
    virtual void RefreshTotals() = 0;
    // Sorts the month list by key date and ID when that option is on.
    virtual void SortMonthList() = 0;
    // Removes one row (0-based) of the month on show because its entry moves to another
    // month: never asks, saves the month, tidies a month that became empty.
    virtual void removeMonthRowForMove(int row) = 0;

    // Opens an entry's page; entries taken from the site (ID other than "0") open its
    // pick-up page.
    virtual void OpenSiteUrl(const QString& url, const QString& id) = 0;
    // Opens a file with the desktop's program for it; reports failures.
    virtual void OpenDocument(const QString& path) = 0;
    // Opens the manual at the topic.
    virtual void showHelp(HelpTopic topic) = 0;
    // Edit, home page and delete end their selection state while the form works.
    virtual void disableEntryCommands() = 0;
    virtual QWidget* mainWidget() = 0;
};

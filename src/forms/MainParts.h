#pragma once

#include "core/AppContext.h"
#include "diary/Commands.h"
#include "forms/MainState.h"

#include <QDate>
#include <QString>

class frmMain;
class MonthPage;
class SearchPage;
class SettingsPage;
class StatisticsPanel;
class TotalPage;
class YearPage;
class QDateEdit;
class QProgressBar;
class QTabWidget;

// What the pages of the main window share: the frame's controls and state, and each other.
// The frame fills it while it builds itself; the pages never outlive it.
struct MainParts
{
    MainParts(const AppContext& appContext, MainState& mainState, frmMain& mainWindow)
        : context(appContext), state(mainState), window(mainWindow)
    {}

    const AppContext& context;
    MainState& state;
    frmMain& window;
    QTabWidget* tabMain = nullptr;
    QDateEdit* dtpDate = nullptr;
    QProgressBar* prgShinko = nullptr;
    StatisticsPanel* panel = nullptr;
    MonthPage* month = nullptr;
    YearPage* year = nullptr;
    TotalPage* total = nullptr;
    SearchPage* search = nullptr;
    SettingsPage* settings = nullptr;

    Tab currentTab() const;
    // Makes `tab` the one on show (which loads it).
    void showTab(Tab tab) const;
    // The day of the date picker, and the year and month in focus, which the year and total
    // rows move.
    QDate date() const;
    QString focusYear() const;
    QString focusMonth() const;
    // Puts `date` on the picker without loading the tab again.
    void setCurrentDate(const QDate& date) const;
    // Ends the selection state: edit, home page and delete wait for the next pick.
    void disableEntryCommands() const;
    // Tells that a file or folder of the data could not be deleted ("" tells nothing).
    void reportNotRemoved(const QString& path) const;
};

#pragma once

#include "diary/Settings.h"
#include "diary/MonthFile.h"

#include <QString>

// The main window's shared state: the month on show, the settings as last read, and the
// flags the tabs and commands consult.
struct MainState
{
    QString curYear;       // "yyyy"
    QString curMonth;      // "MM"
    QString curDay;        // "dd"
    QString lastYearMonth; // "yyyy/MM" last seen by the date picker
    Settings settings;
    bool startingUp = false;
    bool suppressPasswordDialog = false;
    bool monthDirty = false;
    bool searchFormLoaded = false;
    // A damaged settings file that could not be kept aside is never written over.
    bool settingsFileLocked = false;
    // How the month on show was read; a month that could not be read is never saved over.
    MonthRead::Status monthStatus = MonthRead::Status::Missing;
    int selectedMonthIndex = 0;
    int selectedYearIndex = 0;
    int selectedTotalIndex = 0;
    int selectedSearchIndex = 0;
    int selectedCount = 0;

    bool monthReadable() const
    {
        return monthStatus == MonthRead::Status::Missing || monthStatus == MonthRead::Status::Loaded;
    }
    // The start password in force, which every month file must carry.
    QString expectedPassword() const
    {
        return settings.startPassword ? settings.startPasswordText : QString();
    }
};

#pragma once

#include "diary/Settings.h"

#include <QString>

// The main window's state besides the month on show: the settings as last read, the
// selection and the flags the tabs and commands consult.
struct MainState
{
    QString lastYearMonth; // "yyyy/MM" last seen by the date picker
    Settings settings;
    bool startingUp = false;
    bool suppressPasswordDialog = false;
    bool searchFormLoaded = false;
    int selectedMonthIndex = 0;
    int selectedYearIndex = 0;
    int selectedTotalIndex = 0;
    int selectedSearchIndex = 0;
    int selectedCount = 0;

    // The start password in force, which every month file must carry.
    QString expectedPassword() const
    {
        return settings.startPassword ? settings.startPasswordText : QString();
    }
};

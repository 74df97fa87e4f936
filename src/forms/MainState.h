#pragma once

#include "diary/Settings.h"

#include <QString>
#include <optional>

// The main window's state besides the month on show: the settings as last read, the
// selection and the flags the tabs and commands consult.
struct MainState
{
    QString lastYearMonth; // "yyyy/MM" last seen by the date picker
    Settings settings;
    bool startingUp = false;
    bool suppressPasswordDialog = false;
    // A row of the month or search list was picked since the last command that ended the
    // selection.
    bool entryPicked = false;
    // A search is scanning the data folder; every command waits for it.
    bool searchRunning = false;
    // Why the settings file is never written over in this run (it could not be read, or it
    // was damaged and could not be kept aside); empty while it may be written.
    QString settingsFileLock;
    // The row last picked in each list, counted from 0; empty while nothing is picked.
    std::optional<int> selectedMonthRow;
    std::optional<int> selectedYearRow;
    std::optional<int> selectedTotalRow;
    std::optional<int> selectedSearchRow;
    int selectedCount = 0;
};

// Whether `row` is picked and still one of a list's `rowCount` rows.
inline bool pickedRowWithin(std::optional<int> row, int rowCount)
{
    return row && *row >= 0 && *row < rowCount;
}

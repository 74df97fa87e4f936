#pragma once

#include "diary/EntryRecord.h"
#include "diary/Settings.h"
#include "diary/Summaries.h"
#include "forms/MainPage.h"

#include <array>

class DigitKeyFilter;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class ReminderBox;

// The settings tab: the setting controls, reading and writing the settings file, the start
// password's check box and the apply step (適用).
class SettingsPage : public MainPage
{
public:
    explicit SettingsPage(MainParts& parts);

    void enter() override;
    void commandInputs(CommandInputs& in) const override;
    void applyCommands(const CommandState& c) override;
    std::optional<Tally> refreshTotals() override;

    // Reads the settings file into the controls; a damaged or missing file is written anew.
    void readSettings();
    // Stores the controls; false when the settings file could not be written (the user has
    // been told).
    bool writeSettings();
    // The key date and the list columns as the controls have them (before they are applied).
    bool keyIsEndDayShown() const;
    // Each entry column's width in twips, in the order of the list's columns.
    std::array<int, kEntryFieldCount - 1> entryColumnTwips() const;
    TargetState targetState() const;
    // The target-reached message, when a summary update asks for it; stored at once.
    void handleTargetMessage(const TotalUpdate& update);

    // The daily notice of deadlines, stored apart from the settings file.
    ReminderBox& reminders() { return *fraReminder; }

    void cmdSetting_Click();
    void chkStartPassword_Click();

private:
    friend class SettingsApplyRun;

    void buildControls();
    void connectControls();
    void showSettings(const Settings& settings);
    Settings settingsFromControls() const;
    // False, once the user has been told, while the settings file must not be written over:
    // the apply step then changes nothing.
    bool settingsFileWritable();
    void arrangeDateWidthBoxes(bool keyIsEndDay);
    // Encryption needs a start password: the box follows the password's.
    void arrangeEncryptBox();
    void settingChanged();
    // Settings were edited on the tab since it was shown or applied.
    bool m_edited = false;
    QGroupBox* fraSetting = nullptr;
    QRadioButton* optEndDay = nullptr;
    QRadioButton* optNowDay = nullptr;
    QLabel* lblMain = nullptr;
    QLabel* lblSub = nullptr;
    std::array<QLineEdit*, kWidthKeyCount> txtSize{};
    QGridLayout* m_widthGrid = nullptr;
    DigitKeyFilter* m_digitFilter = nullptr;
    QLineEdit* txtDreamMoney = nullptr;
    QCheckBox* chkStartPassword = nullptr;
    QCheckBox* chkEncryptData = nullptr;
    QCheckBox* chkStartZumira = nullptr;
    QCheckBox* chkFormState = nullptr;
    QCheckBox* chkNoTyohuku = nullptr;
    QCheckBox* chkSortOn = nullptr;
    QCheckBox* chkDeleteKakunin = nullptr;
    QCheckBox* chkAllDeleteKakunin = nullptr;
    QCheckBox* chkAutoSumOutput = nullptr;
    QCheckBox* chkSimekiriStart = nullptr;
    QLineEdit* txtSimekiriDays = nullptr;
    QPushButton* cmdSetting = nullptr;
    ReminderBox* fraReminder = nullptr;
};

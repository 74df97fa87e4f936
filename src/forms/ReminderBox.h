#pragma once

#include <QGroupBox>

class DeadlineReminder;
class QCheckBox;
class QTimeEdit;
struct MainParts;

// The settings tab's group for the daily notice of deadlines: its time, the notice while the
// diary runs, and the service-manager timer that tells while it is closed. Changes take
// effect at once and are stored in the reminders file, not in zumicho.ini.
class ReminderBox : public QGroupBox
{
public:
    explicit ReminderBox(MainParts& parts, QWidget* parent = nullptr);

    DeadlineReminder& reminder() { return *m_reminder; }
    // Reads the file into the controls and starts the daily checks.
    void start();

    void chkDeadlineTimer_Click();

private:
    void showSettings();
    void tmeRemind_Change();
    // Writes the timer's units for the time shown; false once the user has been told.
    bool installTimer();
    bool removeTimer();

    MainParts& m_parts;
    DeadlineReminder* m_reminder = nullptr;
    QTimeEdit* tmeRemind = nullptr;
    QCheckBox* chkRemindDaily = nullptr;
    QCheckBox* chkDeadlineTimer = nullptr;
};

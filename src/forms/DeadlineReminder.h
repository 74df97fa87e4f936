#pragma once

#include "diary/Reminders.h"
#include "platform/DesktopNotifications.h"

#include <QObject>
#include <QTime>
#include <QTimer>
#include <functional>

struct MainParts;

// While the diary runs: once a day at the set time (or at start-up, when the time has
// passed and the day was not told) the entries whose deadline is coming up are told through
// the desktop's notifications; a click on one brings the window to the front with the
// 締切間近 list. Owns the reminders file.
class DeadlineReminder : public QObject
{
public:
    explicit DeadlineReminder(MainParts& parts, QObject* parent = nullptr);

    // Reads the file and starts the checks every half minute; once the data folder is in
    // place. The first check is the caller's.
    void start();
    const ReminderSettings& settings() const { return m_settings; }
    // Stores changed settings; false once the user has been told that they could not be.
    bool store(const ReminderSettings& settings);
    // The time of day the checks go by (the clock gives the day); tests set their own.
    void setTimeSource(std::function<QTime()> time) { m_time = std::move(time); }

    // Tells the day's deadlines when they are due; later while the window is busy.
    void check();
    // The day's deadlines were told another way (the start-up question).
    void markToldToday();
    // What a click on a notice does: the window to the front, and 締切間近 listed unless the
    // window waits for a box or a search.
    void showDeadlineList();

private:
    QString path() const;
    bool windowBusy() const;

    MainParts& m_parts;
    ReminderSettings m_settings;
    QString m_fileLock; // why the file is not written over in this run; empty while it may be
    QTimer m_timer;
    ClickableNotifications m_notices;
    std::function<QTime()> m_time = [] { return QTime::currentTime(); };
};

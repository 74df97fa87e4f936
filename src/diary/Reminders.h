#pragma once

#include "core/AppPaths.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// The daily notice of deadlines coming up: while the diary runs it tells the desktop once a
// day at a set time; while it is closed a service-manager timer can do the same. Kept in
// data/ini/reminders.ini, a plain text file of the diary's own beside zumicho.ini (whose
// format leaves no room for it).
struct ReminderSettings
{
    QTime at{9, 0};
    bool daily = true;   // tell while the diary runs
    bool timer = false;  // the timer for the time the diary is closed is installed
    QDate lastAnnounced; // the day last told; invalid when never
};

struct ReminderLoad
{
    ReminderSettings settings;
    // Set when the file is there but could not be read: it is then never written over.
    QString error;
};

// data/ini/reminders.ini
QString reminderSettingsPath(const AppPaths& paths);
ReminderLoad loadReminderSettings(const QString& path);
// The file's text: one section, a line per key, CR LF.
QByteArray reminderSettingsText(const ReminderSettings& settings);
// Written whole and atomically (0600); empty on success, else a text naming the file.
QString saveReminderSettings(const QString& path, const ReminderSettings& settings);

// Whether the day's notice is due at `now`: the day's time has come and the day was not told
// yet. Any other day last told (the clock set back too) leaves the day untold.
bool reminderDue(const QDateTime& now, const QTime& at, const QDate& lastAnnounced);

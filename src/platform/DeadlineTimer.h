#pragma once

#include <QString>
#include <QTime>

// The optional daily check of deadlines while the diary is closed: a systemd user timer
// that runs `zumicho-data deadlines DATAFOLDER --notify` at a set time.
struct DeadlineTimerUnits
{
    QString service;
    QString timer;
};

inline const QString kDeadlineTimerName = QStringLiteral("zumicho-deadlines");

DeadlineTimerUnits deadlineTimerUnits(const QString& dataTool, const QString& dataFolder,
                                      const QTime& at);

// $XDG_CONFIG_HOME/systemd/user (normally ~/.config/systemd/user).
QString userUnitFolder();

// Whether the user's service manager can be told (systemctl is on the PATH); without it the
// unit files are only written or removed.
bool userServiceManagerFound();

// Writes (or rewrites) the two unit files and asks the user's service manager to start the
// timer; removing stops it first. An empty string on success, else what failed. A missing
// service manager is no failure of the files: `managerNote` then says so.
QString installDeadlineTimer(const QString& unitFolder, const DeadlineTimerUnits& units,
                             QString* managerNote = nullptr);
QString removeDeadlineTimer(const QString& unitFolder, QString* managerNote = nullptr);

#pragma once

#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;
class QWidget;

// One running copy of a program per data folder. The lock file lies beside the data folder
// (its real place, when the folder is a link), so every process on one data folder finds it
// whatever its environment; not inside the folder, which a restore replaces as a whole and
// whose absence at start-up tells that a restore was cut short. A lock left by a process
// that is gone is taken over.
class SingleInstance
{
public:
    SingleInstance(const QString& programName, const QString& dataFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process now holds the lock.
    bool tryAcquire();
    // After a refused tryAcquire: true when a running process holds the lock, false when the
    // lock file could not be made at all.
    bool heldElsewhere() const { return m_heldElsewhere; }
    QString lockPath() const { return m_path; }

    // While the lock is held: a later start on the same data folder that calls
    // askRunningCopyToShow() brings `window` to the front, restored if it was minimised.
    // Only processes of the same user are heard.
    void showOnRequest(QWidget* window);
    // Asks the copy that holds the lock to show its window; false when it could not be asked.
    bool askRunningCopyToShow();

private:
    QString m_path;
    QString m_serverName;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
    bool m_heldElsewhere = false;
};

class Dialogs;

// Takes the lock of a program's start. When another copy holds it, shows `alreadyRunning`
// ("多重起動不可"); when the lock cannot be made, says that. False in both cases.
bool acquireOrTellUser(SingleInstance& lock, Dialogs& dialogs, const QString& alreadyRunning);

#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// Holds a per-program, per-folder lock for the life of the process, so that a second copy
// of the same program started from the same folder can tell that one already runs.
// A lock left by a crashed process is taken over.
class SingleInstance
{
public:
    SingleInstance(const QString& programName, const QString& programFolder);
    // False when another running process holds the lock.
    bool tryAcquire();
    QString lockPath() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

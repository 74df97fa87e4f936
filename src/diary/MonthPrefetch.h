#pragma once

#include "diary/FieldTexts.h"
#include "diary/MonthFile.h"

#include <QString>
#include <QStringList>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Reads month files on worker threads a few files ahead of their use, and hands them out in
// the order given, so that a scan over many months keeps every core reading. Destroying it
// stops the workers after the file each is reading.
class MonthPrefetch
{
public:
    MonthPrefetch(const QStringList& paths, const QString& password);
    ~MonthPrefetch();
    MonthPrefetch(const MonthPrefetch&) = delete;
    MonthPrefetch& operator=(const MonthPrefetch&) = delete;

    // The next month in order, waiting until it is read; nothing after the last.
    std::optional<MonthRead> next();

private:
    const QStringList m_paths;
    const QString m_password;
    std::vector<std::optional<MonthRead>> m_read; // by position in m_paths, until handed out
    std::vector<FieldTexts> m_texts;              // one per worker: the table is not shared
    qsizetype m_handedOut = 0;
    bool m_stopping = false;
    std::mutex m_mutex;
    std::condition_variable m_readyChanged;
    std::vector<std::thread> m_workers;
};

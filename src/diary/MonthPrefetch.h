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
// the order given, so that a scan over many months keeps every core reading. The workers
// read, decode and split; the entries are made on the thread that takes them, so the workers
// never contend for the heap with it or with each other. Destroying it stops the workers
// after the file each is reading.
class MonthPrefetch
{
public:
    MonthPrefetch(const QStringList& paths, const MonthLock& lock);
    ~MonthPrefetch();
    MonthPrefetch(const MonthPrefetch&) = delete;
    MonthPrefetch& operator=(const MonthPrefetch&) = delete;

    // The next month in order, waiting until it is read; nothing after the last.
    std::optional<MonthRead> next();
    // The same before its entries are made: for a caller that puts them straight into its own
    // list with entriesOf/appendEntriesOf and texts().
    std::optional<MonthFileFields> nextFields();
    FieldTexts* texts() { return &m_texts; }

private:
    const QStringList m_paths;
    const MonthLock m_lock;
    std::vector<std::optional<MonthFileFields>> m_read; // by position in m_paths, until taken
    FieldTexts m_texts; // used only by the thread that takes the months
    qsizetype m_handedOut = 0;
    bool m_stopping = false;
    std::mutex m_mutex;
    std::condition_variable m_readyChanged;
    std::vector<std::thread> m_workers;
};

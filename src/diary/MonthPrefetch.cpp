#include "diary/MonthPrefetch.h"

#include <algorithm>

namespace {

// Files read ahead of the one handed out: enough to keep the workers busy, few enough that
// the months waiting in memory stay a small part of a search's results.
constexpr qsizetype kAhead = 8;

// The taking thread makes the entries, the larger part of the work: it keeps a core of its own.
int workerCount()
{
    return int(std::clamp(std::thread::hardware_concurrency(), 2u, 5u)) - 1;
}

} // namespace

MonthPrefetch::MonthPrefetch(const QStringList& paths, const MonthLock& lock)
    : m_paths(paths), m_lock(lock), m_read(std::size_t(paths.size()))
{
    const int workers = std::min(workerCount(), int(std::max<qsizetype>(1, paths.size())));
    for (int w = 0; w < workers; ++w)
        m_workers.emplace_back([this, w, workers] {
            for (qsizetype i = w; i < m_paths.size(); i += workers) {
                {
                    std::unique_lock lock(m_mutex);
                    m_readyChanged.wait(lock,
                                        [&] { return m_stopping || i < m_handedOut + kAhead; });
                    if (m_stopping)
                        return;
                }
                MonthFileFields month = readMonthFields(m_paths[i], m_lock);
                std::lock_guard lock(m_mutex);
                m_read[std::size_t(i)] = std::move(month);
                m_readyChanged.notify_all();
            }
        });
}

MonthPrefetch::~MonthPrefetch()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_readyChanged.notify_all();
    for (std::thread& worker : m_workers)
        worker.join();
}

std::optional<MonthRead> MonthPrefetch::next()
{
    std::optional<MonthFileFields> month = nextFields();
    if (!month)
        return std::nullopt;
    return entriesOf(*month, &m_texts);
}

std::optional<MonthFileFields> MonthPrefetch::nextFields()
{
    std::unique_lock lock(m_mutex);
    if (m_handedOut >= m_paths.size())
        return std::nullopt;
    std::optional<MonthFileFields>& slot = m_read[std::size_t(m_handedOut)];
    m_readyChanged.wait(lock, [&] { return slot.has_value(); });
    std::optional<MonthFileFields> month = std::move(slot);
    slot.reset();
    ++m_handedOut;
    lock.unlock();
    m_readyChanged.notify_all();
    return month;
}

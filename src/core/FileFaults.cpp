#include "core/FileFaults.h"

#include <mutex>

namespace filefaults {

namespace detail {
std::atomic<bool> active{false};
} // namespace detail

namespace {
std::atomic<long> counted{0};
std::atomic<long> failing{0};

std::atomic<bool> refusing{false};
std::mutex refusedMutex;
QString refusedPrefix;
std::mutex callsLock;
QList<Call> numbered;
} // namespace

bool detail::countAndDecide(Op op, const QString& path)
{
    // Numbered under the lock, so call k is the k-th of the list on any thread.
    const std::lock_guard lock(callsLock);
    const long number = counted.fetch_add(1, std::memory_order_relaxed) + 1;
    numbered.append(Call{op, path});
    return number == failing.load(std::memory_order_relaxed);
}

void start(long failAt)
{
    {
        const std::lock_guard lock(callsLock);
        numbered.clear();
    }
    counted.store(0);
    failing.store(failAt);
    detail::active.store(true);
}

long stop()
{
    detail::active.store(false);
    failing.store(0);
    return counted.load();
}

void refuseReads(const QString& prefix)
{
    const std::lock_guard lock(refusedMutex);
    refusedPrefix = prefix;
    refusing.store(!prefix.isEmpty());
}

bool readRefused(const QString& path)
{
    if (!refusing.load(std::memory_order_relaxed))
        return false;
    const std::lock_guard lock(refusedMutex);
    return !refusedPrefix.isEmpty() && path.startsWith(refusedPrefix);
}

QList<Call> calls()
{
    const std::lock_guard lock(callsLock);
    return numbered;
}

} // namespace filefaults

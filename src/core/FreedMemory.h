#pragma once

#include <QThread>
#include <QThreadPool>

#include <cstddef>
#include <utility>

// Hands memory freed after a large list or file text back to the system, so the process
// shrinks again instead of keeping its peak. Call it after releasing something large, not
// in loops; it does nothing where the C library keeps no such reserve.
void returnFreedMemory();

// How long a release waits before it frees: the window has painted what replaced the value by
// then. Freeing while it paints would make both take turns at the one heap.
constexpr unsigned long kReleaseDelayMs = 250;

// Drops `value` on a pool thread and then hands the memory back: freeing a list of a hundred
// thousand entries takes longer than the click that replaced it should. The pool is waited
// for when the application ends.
template <typename T> void releaseInBackground(T&& value)
{
    QThreadPool::globalInstance()->start([held = std::move(value)]() mutable {
        QThread::msleep(kReleaseDelayMs);
        held = std::decay_t<T>();
        returnFreedMemory();
    });
}

// Lets every thread allocate from the one heap that returnFreedMemory() can shrink (glibc
// never hands back the top of a thread's own arena), and has blocks up to a few megabytes
// (a month's list, a file's text) taken from that heap rather than mapped afresh each time.
// Call once at start, before any thread.
void configureHeap();

// While it lives, the heap holds `bytes` of room at its top, for a fill of many small blocks
// that stay (a whole diary's entries): the heap grows once instead of step by step. The room is
// untouched until used, and what is left is handed back afterwards. No large pages are asked
// for: where the system compacts memory to find them, the fault that waits for it costs more
// than the small pages it saves.
class HeapRoom
{
public:
    explicit HeapRoom(std::size_t bytes);
    ~HeapRoom();
    HeapRoom(const HeapRoom&) = delete;
    HeapRoom& operator=(const HeapRoom&) = delete;
};

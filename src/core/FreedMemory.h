#pragma once

#include <QThreadPool>

#include <cstddef>
#include <utility>

// Hands memory freed after a large list or file text back to the system, so the process
// shrinks again instead of keeping its peak. Call it after releasing something large, not
// in loops; it does nothing where the C library keeps no such reserve.
void returnFreedMemory();

// Drops `value` on a pool thread and then hands the memory back: freeing a list of a hundred
// thousand entries takes longer than the click that replaced it should. The pool is waited
// for when the application ends.
template <typename T> void releaseInBackground(T&& value)
{
    QThreadPool::globalInstance()->start([held = std::move(value)]() mutable {
        held = std::decay_t<T>();
        returnFreedMemory();
    });
}

// Lets every thread allocate from the one heap that returnFreedMemory() can shrink (glibc
// never hands back the top of a thread's own arena), and has blocks up to a few megabytes
// (a month's list, a file's text) taken from that heap rather than mapped afresh each time.
// Call once at start, before any thread.
void configureHeap();

// Asks for large pages behind a big block that is about to be filled: a few faults instead of
// one per small page. Only the whole large pages inside the block are affected; a hint that
// the system may ignore.
void adviseLargePages(void* block, std::size_t bytes);

// While it lives, the heap holds `bytes` of room at its top in large pages, for a fill of
// many small blocks that stay (a whole diary's entries): a few page faults instead of one per
// small page. The room is untouched until used, and what is left is handed back afterwards.
class LargePageFill
{
public:
    explicit LargePageFill(std::size_t bytes);
    ~LargePageFill();
    LargePageFill(const LargePageFill&) = delete;
    LargePageFill& operator=(const LargePageFill&) = delete;
};

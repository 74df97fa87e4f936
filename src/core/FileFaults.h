#pragma once

#include <QString>

#include <atomic>

// A seam for tests: every write, flush, sync, rename and remove of the file layer can be
// made to fail at call number k. Off by default; while off, a check is one relaxed load.
namespace filefaults {

enum class Op { Write, Flush, Sync, Rename, Remove };

namespace detail {
extern std::atomic<bool> active;
bool countAndDecide();
} // namespace detail

// Numbers every operation from 1 from now on; the one numbered `failAt` fails (0: none does).
void start(long failAt);
// Back to off; returns how many operations were numbered.
long stop();

// True when this operation is to fail; the caller then fails it as the system would (EIO).
inline bool fails(Op)
{
    if (!detail::active.load(std::memory_order_relaxed))
        return false;
    return detail::countAndDecide();
}

// Opening any file whose path begins with `prefix` for reading fails as for a file the user
// may not read (EACCES), until called again with an empty prefix. Root may read every file,
// so tests make "cannot be read" this way.
void refuseReads(const QString& prefix);
bool readRefused(const QString& path);

} // namespace filefaults

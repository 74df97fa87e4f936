#pragma once

#include <QList>
#include <QString>

#include <atomic>

// A seam for tests: every write, flush, sync, rename and remove of the file layer can be
// made to fail at call number k. Off by default; while off, a check is one relaxed load.
namespace filefaults {

enum class Op { Write, Flush, Sync, Rename, Remove };

// One numbered call: what it did, to which file or folder.
struct Call
{
    Op op = Op::Write;
    QString path;
};

namespace detail {
extern std::atomic<bool> active;
bool countAndDecide(Op op, const QString& path);
} // namespace detail

// Numbers every operation from 1 from now on; the one numbered `failAt` fails (0: none does).
void start(long failAt);
// Back to off; returns how many operations were numbered.
long stop();
// The calls numbered since the last start(), in order: call k is at k - 1.
QList<Call> calls();

// True when this operation on `path` is to fail; the caller then fails it as the system
// would (EIO).
inline bool fails(Op op, const QString& path)
{
    if (!detail::active.load(std::memory_order_relaxed))
        return false;
    return detail::countAndDecide(op, path);
}

// Opening any file whose path begins with `prefix` for reading fails as for a file the user
// may not read (EACCES), until called again with an empty prefix. Root may read every file,
// so tests make "cannot be read" this way.
void refuseReads(const QString& prefix);
bool readRefused(const QString& path);

} // namespace filefaults

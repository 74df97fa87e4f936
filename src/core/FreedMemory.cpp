#include "core/FreedMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstdlib>

void returnFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

#if defined(__GLIBC__)
namespace {
// Fixed thresholds: glibc's own start at 128 KiB and only rise as blocks are freed.
int g_mmapThreshold = 128 * 1024;
int g_trimThreshold = 128 * 1024;
} // namespace
#endif

void configureHeap()
{
#if defined(__GLIBC__)
    mallopt(M_ARENA_MAX, 1);
    g_mmapThreshold = 4 * 1024 * 1024;
    g_trimThreshold = 8 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, g_mmapThreshold);
    mallopt(M_TRIM_THRESHOLD, g_trimThreshold);
#endif
}

HeapRoom::HeapRoom(std::size_t bytes)
{
#if defined(__GLIBC__)
    // The room comes from the heap itself (not a mapping of its own) and stays there when it
    // is freed; later small blocks are cut from it.
    constexpr std::size_t kMost = 1024u * 1024 * 1024;
    bytes = std::min(bytes, kMost);
    mallopt(M_TRIM_THRESHOLD, int(kMost) + 1);
    mallopt(M_MMAP_THRESHOLD, int(kMost) + 1);
    void* volatile room = malloc(bytes); // volatile: the pair is not to be optimised away
    free(room);
    mallopt(M_MMAP_THRESHOLD, g_mmapThreshold);
#else
    (void)bytes;
#endif
}

HeapRoom::~HeapRoom()
{
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, g_trimThreshold); // the next free trims what the fill left
#endif
}

#pragma once

// Hands memory freed after a large list or file text back to the system, so the process
// shrinks again instead of keeping its peak. Call it after releasing something large, not
// in loops; it does nothing where the C library keeps no such reserve.
void returnFreedMemory();

// Lets every thread allocate from the one heap that returnFreedMemory() can shrink: glibc
// never hands back the top of a thread's own arena, so entries read by worker threads would
// keep a search's peak after the list is dropped. Call once at start, before any thread.
void shareOneHeapAcrossThreads();

#pragma once

// Hands memory freed after a large list or file text back to the system, so the process
// shrinks again instead of keeping its peak. Call it after releasing something large, not
// in loops; it does nothing where the C library keeps no such reserve.
void returnFreedMemory();

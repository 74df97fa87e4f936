#pragma once

#include <cstdint>

// The pseudo-random generator that keys the file transform. Its sequence defines the
// stored format, so it reproduces the classic BASIC runtime generator exactly:
// a 24-bit linear congruential state, reset by a draw with a negative argument and
// partly re-seeded by "randomize".
class ClassicRandom
{
public:
    // A draw with the argument -1: restarts from the state fixed by that argument.
    float reset();
    // "Randomize n" for a whole number n.
    void seed(std::int64_t n);
    // The next value in [0, 1).
    float next();

    std::uint32_t state() const { return m_state; }

private:
    void step();
    std::uint32_t m_state = 0x50000;
};

#include "core/ClassicRandom.h"

#include <bit>
#include <cstring>

namespace {
constexpr std::uint32_t kMask24 = 0xFFFFFF;
}

void ClassicRandom::step()
{
    m_state = (m_state * 0x43FD43FDu + 0xC39EC3u) & kMask24;
}

float ClassicRandom::next()
{
    step();
    return static_cast<float>(m_state) / 16777216.0f;
}

float ClassicRandom::reset()
{
    const std::uint32_t b = std::bit_cast<std::uint32_t>(-1.0f);
    m_state = (b + (b >> 24)) & kMask24;
    return next();
}

void ClassicRandom::seed(std::int64_t n)
{
    const double asDouble = static_cast<double>(n);
    const auto bits = std::bit_cast<std::uint64_t>(asDouble);
    const auto h = static_cast<std::int32_t>(static_cast<std::uint32_t>(bits >> 32));
    const std::uint32_t v =
        ((static_cast<std::uint32_t>(h) & 0xFFFFu) ^ static_cast<std::uint32_t>(h >> 16)) << 8;
    m_state = (m_state & 0xFF0000FFu) | (v & kMask24);
}

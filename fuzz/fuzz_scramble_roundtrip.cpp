// Unscrambling and scrambling again gives the input back, at any length.
#include "core/Scramble.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray plain = scrambleBytes(bytes);
    if (plain.size() != bytes.size() || (!bytes.isEmpty() && plain.front() != bytes.front()))
        std::abort();
    if (scrambleBytes(plain) != bytes)
        std::abort();
    return 0;
}

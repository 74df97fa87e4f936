// Code page 932: whatever decodes encodes again, to bytes that read back as the same text
// (the same bytes, but for the characters Windows keeps twice and writes in one place).
#include "core/Cp932.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString text;
    if (!cp932::decode(bytes, text))
        return 0;
    QByteArray again;
    QString back;
    if (!cp932::encode(text, again) || !cp932::decode(again, back) || back != text)
        std::abort();
    if (again.size() != bytes.size())
        std::abort();
    if (!cp932::firstUnencodable(text).isNull())
        std::abort();
    return 0;
}

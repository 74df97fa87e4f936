// The profile reader of the input assistant.
#include "core/IniFile.h"
#include "profile/UserProfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    isSoundIniText(bytes, QStringLiteral("UserProfile"));
    const UserProfile profile = parseProfile(bytes);
    // Text that could never be saved must not reach the profile.
    for (const QString& value : profile.values) {
        if (value.contains(QChar::ReplacementCharacter))
            std::abort();
    }
    profile.mail1();
    profile.mail2();
    profile.birthYear();
    profile.birthMonth();
    profile.birthDay();
    formatProfileText(profile);
    return 0;
}

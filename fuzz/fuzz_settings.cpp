// The INI reader and the two settings files built on it.
#include "assistant/AssistantSettings.h"
#include "core/IniFile.h"
#include "diary/Settings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    isSoundIniText(bytes, QStringLiteral("Setting"));
    const Settings settings = parseSettings(bytes);
    // What was read can always be written back: no U+FFFD, nothing code page 932 refuses.
    QByteArray plain;
    if (!formatSettings(settings, settings.mainTop.value_or(0), settings.mainLeft.value_or(0),
                        plain))
        std::abort();
    const AssistantSettings assistant = parseAssistantSettings(bytes);
    if (formatAssistantSettings(assistant, assistant.top.value_or(0), assistant.left.value_or(0))
            .isEmpty())
        std::abort();
    return 0;
}

#include "assistant/InstanceCheck.h"

#include "platform/SingleInstance.h"

bool acquireSingleInstance(SingleInstance& lock, Dialogs& dialogs)
{
    return acquireOrTellUser(
        lock, dialogs, QStringLiteral("ズミキー（入力支援ツール）は、すでに起動しています。"));
}

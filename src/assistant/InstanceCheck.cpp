#include "assistant/InstanceCheck.h"

#include "core/Dialogs.h"
#include "platform/SingleInstance.h"

bool acquireSingleInstance(SingleInstance& lock, Dialogs& dialogs)
{
    if (lock.tryAcquire())
        return true;
    dialogs.message({QStringLiteral("ズミキー（入力支援ツール）は、すでに起動しています。"),
                     QStringLiteral("多重起動不可"), MessageIcon::None, MessageButtons::Ok});
    return false;
}

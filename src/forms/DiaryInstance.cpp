#include "forms/DiaryInstance.h"

#include "platform/SingleInstance.h"

bool acquireDiaryInstance(SingleInstance& lock, Dialogs& dialogs)
{
    if (acquireOrTellUser(lock, dialogs, QStringLiteral("ズミラ帳は、すでに起動しています。")))
        return true;
    // The diary already running comes to the front instead.
    if (lock.heldElsewhere())
        lock.askRunningCopyToShow();
    return false;
}

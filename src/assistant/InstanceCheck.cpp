#include "assistant/InstanceCheck.h"

#include "core/Dialogs.h"
#include "platform/SingleInstance.h"

#include <QDir>

bool acquireSingleInstance(SingleInstance& lock, Dialogs& dialogs)
{
    if (lock.tryAcquire())
        return true;
    if (!lock.heldElsewhere()) {
        dialogs.message({QStringLiteral("多重起動を確かめるためのファイル「%1」を作成できないため、"
                                        "起動できません。")
                             .arg(QDir::toNativeSeparators(lock.lockPath())),
                         QStringLiteral("起動エラー"), MessageIcon::Critical, MessageButtons::Ok});
        return false;
    }
    dialogs.message({QStringLiteral("ズミキー（入力支援ツール）は、すでに起動しています。"),
                     QStringLiteral("多重起動不可"), MessageIcon::None, MessageButtons::Ok});
    return false;
}

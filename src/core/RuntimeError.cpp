#include "core/RuntimeError.h"

#include "core/Dialogs.h"

void ShowRuntimeError(Dialogs& dialogs, const RuntimeError& error)
{
    dialogs.message(
        {QStringLiteral("実行時エラー '%1':\r\n%2").arg(error.number).arg(error.description),
         QStringLiteral("エラー"), MessageIcon::Critical, MessageButtons::Ok});
}

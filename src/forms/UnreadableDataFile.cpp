#include "forms/UnreadableDataFile.h"

#include "core/Dialogs.h"

#include <QDir>

void reportUnreadableDataFile(Dialogs& dialogs, const QString& path)
{
    dialogs.message({QStringLiteral("データファイル「") + QDir::toNativeSeparators(path) +
                         QStringLiteral("」を読み込めません。"),
                     QStringLiteral("認証エラー"), MessageIcon::Critical, MessageButtons::Ok});
}

#include "core/DamagedFile.h"

#include "core/AtomicFile.h"
#include "core/Dialogs.h"

#include <QDir>
#include <QFileInfo>

QString damagedCopyPath(const QString& path, const QDate& today)
{
    const QString base =
        path + QStringLiteral(".damaged-") + today.toString(QStringLiteral("yyyyMMdd"));
    QString candidate = base;
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = base + u'-' + QString::number(n);
    return candidate;
}

bool keepDamagedFile(const QString& path, const QDate& today, Dialogs& dialogs)
{
    const QString copy = damagedCopyPath(path, today);
    const ReadResult read = readWholeFile(path);
    // The copy keeps the stored bytes as they are, scrambled or not.
    const QString error = read.ok ? writeFileAtomically(copy, read.bytes) : read.error;
    const QString file = QDir::toNativeSeparators(path);
    if (!error.isEmpty()) {
        dialogs.message({QStringLiteral("ファイル「%"
                                        "1」は壊れています。\r\n控えを作れなかったため、このファイ"
                                        "ルは上書きしません。\r\n%2")
                             .arg(file, error),
                         QStringLiteral("ファイルエラー"), MessageIcon::Critical,
                         MessageButtons::Ok});
        return false;
    }
    dialogs.message({QStringLiteral("ファイル「%1」は壊れていたため、「%"
                                    "2」として残しました。\r\n読み取れた内容と既定値で続けます。")
                         .arg(file, QDir::toNativeSeparators(copy)),
                     QStringLiteral("ファイルエラー"), MessageIcon::Exclamation,
                     MessageButtons::Ok});
    return true;
}

#include "core/DamagedFile.h"

#include "core/AtomicFile.h"
#include "core/Dialogs.h"
#include "core/FileFaults.h"
#include "core/IniFile.h"
#include "core/Scramble.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QByteArray readStoredIniFile(const QString& path, const QString& section, qint64 maxSize,
                             StoredFile& file)
{
    file = {};
    if (!QFileInfo::exists(path))
        return {};
    const ReadResult read = readWholeFile(path, maxSize);
    if (!read.ok && !read.tooLarge) {
        file = {FileCondition::Unreadable, read.error};
        return {};
    }
    // A file too large for its kind reads like an empty one: every key falls to its default.
    const QByteArray plain = read.ok ? scrambleBytes(read.bytes) : QByteArray();
    file.condition =
        read.ok && isSoundIniText(plain, section) ? FileCondition::Sound : FileCondition::Damaged;
    return plain;
}

bool cannotBeRead(const QString& path)
{
    if (!QFileInfo::exists(path))
        return false;
    QFile file(path);
    return filefaults::readRefused(path) || !file.open(QIODevice::ReadOnly);
}

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

void reportUnreadableFile(const QString& path, const QString& error, Dialogs& dialogs)
{
    dialogs.message({QStringLiteral("ファイル「%1」を読み込めません。\r\n%2\r\n"
                                    "このファイルはそのままにして、既定値で続けます。このファイル"
                                    "には保存しません。\r\n読み込めるようにしてから起動し直して下"
                                    "さい。")
                         .arg(QDir::toNativeSeparators(path), error),
                     QStringLiteral("ファイルエラー"), MessageIcon::Critical, MessageButtons::Ok});
}

bool settleStoredFile(const QString& path, const StoredFile& file, const QDate& today,
                      Dialogs& dialogs)
{
    switch (file.condition) {
    case FileCondition::Missing:
    case FileCondition::Sound:
        return true;
    case FileCondition::Damaged:
        return keepDamagedFile(path, today, dialogs);
    case FileCondition::Unreadable:
        reportUnreadableFile(path, file.error, dialogs);
        return false;
    }
    return false;
}

#include "bridge/BridgeLink.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace bridgelink {

QString socketPath(const QString& dataFolder)
{
    const QFileInfo data(QDir::cleanPath(QDir(dataFolder).absolutePath()));
    const QString place = data.exists() ? data.canonicalFilePath() : data.absoluteFilePath();
    const QByteArray key =
        QCryptographicHash::hash(place.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::tempPath();
    return QStringLiteral("%1/zumikey-%2-%3.bridge")
        .arg(folder)
        .arg(getuid())
        .arg(QString::fromLatin1(key));
}

QJsonObject insertMessage(int id, const QString& text, const QString& afterKey)
{
    return {{QStringLiteral("type"), QStringLiteral("insert")},
            {QStringLiteral("id"), id},
            {QStringLiteral("text"), text},
            {QStringLiteral("after"), afterKey}};
}

QJsonObject statusMessage(bool assistantConnected)
{
    return {{QStringLiteral("type"), QStringLiteral("status")},
            {QStringLiteral("assistant"), assistantConnected}};
}

QJsonObject errorMessage(const QString& error)
{
    return {{QStringLiteral("type"), QStringLiteral("error")}, {QStringLiteral("error"), error}};
}

} // namespace bridgelink

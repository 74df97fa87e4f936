#include "bridge/HostRegistration.h"

#include "bridge/BridgeLink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace hostregistration {

namespace {

bool inside(const QString& path, const QString& home)
{
    const QString h = QDir::cleanPath(home) + u'/';
    return QDir::cleanPath(path).startsWith(h);
}

QByteArray manifest(const QString& hostProgram, const QString& allowedKey, const QString& allowed)
{
    const QJsonObject m{
        {QStringLiteral("name"), QLatin1String(bridgelink::kHostName)},
        {QStringLiteral("description"), QStringLiteral("ズミキー ブラウザー連携")},
        {QStringLiteral("path"), hostProgram},
        {QStringLiteral("type"), QStringLiteral("stdio")},
        {allowedKey, QJsonArray{allowed}},
    };
    return QJsonDocument(m).toJson(QJsonDocument::Indented);
}

} // namespace

QList<Target> targets(const QString& home, const QProcessEnvironment& env,
                      const QString& hostProgram)
{
    QList<Target> list;
    if (home.isEmpty() || !QDir::isAbsolutePath(home))
        return list;
    const QString fileName = QLatin1String(bridgelink::kHostName) + QStringLiteral(".json");
    QString config = env.value(QStringLiteral("XDG_CONFIG_HOME"));
    if (config.isEmpty() || !inside(config, home))
        config = home + QStringLiteral("/.config");
    const QByteArray chromium = manifest(hostProgram, QStringLiteral("allowed_origins"),
                                         QStringLiteral("chrome-extension://%1/")
                                             .arg(QLatin1String(bridgelink::kChromiumExtensionId)));
    list.append({QStringLiteral("Chromium"),
                 config + QStringLiteral("/chromium/NativeMessagingHosts/") + fileName, chromium});
    list.append({QStringLiteral("Google Chrome"),
                 config + QStringLiteral("/google-chrome/NativeMessagingHosts/") + fileName,
                 chromium});
    list.append({QStringLiteral("Firefox"),
                 home + QStringLiteral("/.mozilla/native-messaging-hosts/") + fileName,
                 manifest(hostProgram, QStringLiteral("allowed_extensions"),
                          QLatin1String(bridgelink::kFirefoxExtensionId))});
    return list;
}

QStringList registerHost(const QList<Target>& targets)
{
    QStringList failures;
    for (const Target& t : targets) {
        QFile existing(t.path);
        if (existing.open(QIODevice::ReadOnly) && existing.readAll() == t.content)
            continue;
        existing.close();
        const QString folder = QFileInfo(t.path).absolutePath();
        if (!QFileInfo(folder).isDir()) {
            if (!QDir().mkpath(folder)) {
                failures << t.browser + QStringLiteral(": ") + folder;
                continue;
            }
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        QSaveFile file(t.path);
        if (!file.open(QIODevice::WriteOnly) || file.write(t.content) != t.content.size() ||
            !file.commit()) {
            failures << t.browser + QStringLiteral(": ") + t.path + QStringLiteral(" (") +
                            file.errorString() + u')';
            continue;
        }
        QFile::setPermissions(t.path, QFile::ReadOwner | QFile::WriteOwner);
    }
    return failures;
}

} // namespace hostregistration

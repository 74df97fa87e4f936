#include "platform/DesktopNotifications.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QVariantMap>

QString sendDesktopNotification(const QString& summary, const QString& body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return QStringLiteral("no session bus: %1").arg(bus.lastError().message());
    QDBusInterface service(QStringLiteral("org.freedesktop.Notifications"),
                           QStringLiteral("/org/freedesktop/Notifications"),
                           QStringLiteral("org.freedesktop.Notifications"), bus);
    // A service that reads markup in the body would take "<" or "&" of a prize as markup.
    const QDBusReply<QStringList> capabilities = service.call(QStringLiteral("GetCapabilities"));
    const bool markup =
        capabilities.isValid() && capabilities.value().contains(QStringLiteral("body-markup"));
    // The desktop entry lets the desktop show the diary's name and icon, and start it.
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("zumicho")},
                            {QStringLiteral("urgency"), QVariant::fromValue<uchar>(1)}};
    const QDBusReply<uint> reply = service.call(
        QStringLiteral("Notify"), QStringLiteral("ズミラ帳"), uint(0), QStringLiteral("zumicho"),
        summary, markup ? body.toHtmlEscaped() : body, QStringList(), hints, int(-1));
    if (!reply.isValid())
        return QStringLiteral("the notification service refused: %1").arg(reply.error().message());
    return QString();
}

#include "platform/DesktopNotifications.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

// Sends one; the id the service gave it, or what failed.
QString notify(QDBusConnection bus, const QString& summary, const QString& body,
               const QStringList& actions, uint* id)
{
    if (!bus.isConnected())
        return QStringLiteral("no session bus: %1").arg(bus.lastError().message());
    QDBusInterface service(kService, kPath, kService, bus);
    // A service that reads markup in the body would take "<" or "&" of a prize as markup.
    const QDBusReply<QStringList> capabilities = service.call(QStringLiteral("GetCapabilities"));
    const bool markup =
        capabilities.isValid() && capabilities.value().contains(QStringLiteral("body-markup"));
    // The desktop entry lets the desktop show the diary's name and icon, and start it.
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("zumicho")},
                            {QStringLiteral("urgency"), QVariant::fromValue<uchar>(1)}};
    const QDBusReply<uint> reply = service.call(
        QStringLiteral("Notify"), QStringLiteral("ズミラ帳"), uint(0), QStringLiteral("zumicho"),
        summary, markup ? body.toHtmlEscaped() : body, actions, hints, int(-1));
    if (!reply.isValid())
        return QStringLiteral("the notification service refused: %1").arg(reply.error().message());
    if (id)
        *id = reply.value();
    return QString();
}

} // namespace

QString sendDesktopNotification(const QString& summary, const QString& body)
{
    return notify(QDBusConnection::sessionBus(), summary, body, {}, nullptr);
}

ClickableNotifications::ClickableNotifications(QObject* parent) : QObject(parent) {}

QString ClickableNotifications::notify(const QString& summary, const QString& body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && !m_listening) {
        // Signals of every sender of that interface: the service's unique name may change
        // when it restarts, and the ids sort out which notifications are ours.
        bus.connect(QString(), kPath, kService, QStringLiteral("ActionInvoked"), this,
                    SLOT(onActionInvoked(uint, QString)));
        bus.connect(QString(), kPath, kService, QStringLiteral("ActivationToken"), this,
                    SLOT(onActivationToken(uint, QString)));
        bus.connect(QString(), kPath, kService, QStringLiteral("NotificationClosed"), this,
                    SLOT(onClosed(uint, uint)));
        m_listening = true;
    }
    uint id = 0;
    // "default" is the click on the notification itself; the label is for services that
    // show it as a button.
    const QString error = ::notify(bus, summary, body,
                                   {QStringLiteral("default"), QStringLiteral("一覧を開く")}, &id);
    if (error.isEmpty())
        m_shown.append(id);
    return error;
}

void ClickableNotifications::onActionInvoked(uint id, const QString& action)
{
    if (action == u"default" && m_shown.contains(id))
        emit clicked();
}

void ClickableNotifications::onActivationToken(uint id, const QString& token)
{
    // The Wayland plugin takes the token for the next activation from here.
    if (m_shown.contains(id) && !token.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
}

void ClickableNotifications::onClosed(uint id, uint)
{
    m_shown.removeAll(id);
}

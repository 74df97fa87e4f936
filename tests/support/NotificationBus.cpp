#include "support/NotificationBus.h"

#include <QDBusConnection>
#include <QDBusError>

QStringList RecordingNotifications::GetCapabilities()
{
    const QMutexLocker lock(&mutex);
    return capabilities;
}

uint RecordingNotifications::Notify(const QString&, uint, const QString&, const QString& summary,
                                    const QString& body, const QStringList& actionList,
                                    const QVariantMap&, int)
{
    const QMutexLocker lock(&mutex);
    calls << summary << body;
    actions << actionList;
    return uint(actions.size());
}

NotificationBus::NotificationBus()
{
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--session"), QStringLiteral("--nofork"),
                    QStringLiteral("--print-address=1")});
    if (!m_daemon.waitForReadyRead(5000)) {
        m_error = QStringLiteral("dbus-daemon did not start: ") + m_daemon.errorString();
        return;
    }
    const QByteArray address = m_daemon.readLine().trimmed();
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    QDBusConnection connection =
        QDBusConnection::connectToBus(QString::fromUtf8(address), QStringLiteral("fake"));
    if (!connection.registerService(QStringLiteral("org.freedesktop.Notifications")) ||
        !connection.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &m_service,
                                   QDBusConnection::ExportAllSlots |
                                       QDBusConnection::ExportScriptableSignals))
        m_error = QStringLiteral("the service could not be registered: ") +
                  connection.lastError().message();
    // Moved once registered, with the child that relays its signals.
    m_service.moveToThread(&m_serving);
    m_serving.start();
}

NotificationBus::~NotificationBus()
{
    // Back to this thread first, where it is destroyed (and says so) at the end.
    if (m_serving.isRunning()) {
        QThread* here = QThread::currentThread();
        QMetaObject::invokeMethod(
            &m_service, [this, here] { m_service.moveToThread(here); },
            Qt::BlockingQueuedConnection);
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("fake"));
    m_serving.quit();
    m_serving.wait();
    m_daemon.kill();
    m_daemon.waitForFinished();
}

void NotificationBus::click(uint id, const QString& action)
{
    QMetaObject::invokeMethod(
        &m_service, [this, id, action] { emit m_service.ActionInvoked(id, action); },
        Qt::QueuedConnection);
}

#pragma once

#include <QMutex>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QThread>
#include <QVariantMap>

// The desktop's notification service as the test's own: it records what it is sent and
// can say that the user clicked one.
class RecordingNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QMutex mutex;
    QStringList calls;          // summary, then body, per notification
    QList<QStringList> actions; // per notification
    QStringList capabilities;

    // The texts sent so far.
    QStringList recorded()
    {
        const QMutexLocker lock(&mutex);
        return calls;
    }

public slots:
    QStringList GetCapabilities();
    uint Notify(const QString& appName, uint replaces, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actionList, const QVariantMap& hints,
                int timeout);

signals:
    Q_SCRIPTABLE void ActionInvoked(uint id, const QString& action_key);
};

// A session bus of the test's own (a private dbus-daemon, named in DBUS_SESSION_BUS_ADDRESS
// for this process) with the recording service on it, served on a thread of its own, so
// that a blocking call of the code under test is answered. Set up before anything in the
// process first uses the session bus.
class NotificationBus
{
public:
    NotificationBus();
    ~NotificationBus();
    NotificationBus(const NotificationBus&) = delete;
    NotificationBus& operator=(const NotificationBus&) = delete;

    // Empty when the bus and the service are up, else what failed.
    QString error() const { return m_error; }
    RecordingNotifications& service() { return m_service; }
    // The user clicks notification `id` (the Notify answer: 1 for the first one).
    void click(uint id, const QString& action = QStringLiteral("default"));

private:
    QProcess m_daemon;
    QThread m_serving;
    RecordingNotifications m_service;
    QString m_error;
};

#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

// A message through the desktop's notification service (org.freedesktop.Notifications on
// the session bus). Returns an empty string when the service took it, else what failed.
QString sendDesktopNotification(const QString& summary, const QString& body);

// Notifications that a click answers: the service's default action on one of ours is told
// as clicked(), after the activation token the service gave for it (if any) has been put
// where the window system's plugin takes it from.
class ClickableNotifications : public QObject
{
    Q_OBJECT

public:
    explicit ClickableNotifications(QObject* parent = nullptr);

    // Shows one; an empty string when the service took it, else what failed.
    QString notify(const QString& summary, const QString& body);

signals:
    void clicked();

private slots:
    void onActionInvoked(uint id, const QString& action);
    void onActivationToken(uint id, const QString& token);
    void onClosed(uint id, uint reason);

private:
    bool m_listening = false;
    QList<uint> m_shown; // ids of ours the service still shows
};

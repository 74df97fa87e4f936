#pragma once

#include "bridge/NativeFrame.h"

#include <QJsonArray>
#include <QObject>

#include <functional>

#include <QLocalSocket>
#include <QTimer>

// The native-messaging host's work: frames from the browser go to the running assistant and
// the assistant's back to the browser, each checked on the way. Without an assistant the host
// keeps trying to reach one and tells the extension so; it never ends because of it.
class HostRelay : public QObject
{
    Q_OBJECT

public:
    // `toBrowser` writes bytes to the browser (standard output); `pids` is this host's
    // process chain, by which the assistant knows which browser window it serves.
    HostRelay(const QString& socketPath, QJsonArray pids,
              std::function<void(const QByteArray&)> toBrowser, QObject* parent = nullptr);
    ~HostRelay() override;

    void start();
    // Bytes read from the browser (standard input).
    void fromBrowser(const QByteArray& bytes);
    bool assistantConnected() const;

signals:
    // The browser's stream cannot be read any further (a length over the limit).
    void browserLost();

private:
    void connectToAssistant();
    void onConnected();
    void onDisconnected();
    void onAssistantBytes();
    void toBrowser(const QJsonObject& message);
    void toAssistant(const QJsonObject& message);

    QString m_socketPath;
    QJsonArray m_pids;
    std::function<void(const QByteArray&)> m_toBrowser;
    nativeframe::Reader m_fromBrowser;
    nativeframe::Reader m_fromAssistant;
    QLocalSocket* m_socket = nullptr;
    QTimer* m_retry = nullptr;
    QJsonObject m_browserHello; // told to every assistant the host reaches
    bool m_told = false;
    bool m_lastStatus = false;
};

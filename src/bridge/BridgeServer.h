#pragma once

#include "bridge/NativeFrame.h"

#include <QJsonObject>
#include <QList>
#include <QObject>

#include <memory>

#include <QLocalServer>
#include <QLocalSocket>

// The assistant's end of the browser bridge: a local socket only this user can open, where
// the native-messaging hosts of the browsers with our extension connect.
class BridgeServer : public QObject
{
    Q_OBJECT

public:
    explicit BridgeServer(QString socketPath, QObject* parent = nullptr);
    ~BridgeServer() override;

    // Starts listening; an empty string on success, else what failed. Call only while the
    // assistant's single-instance lock is held: a socket left by a killed copy is replaced.
    QString listen();
    // A browser with the extension is connected.
    bool browserConnected() const;
    // The connected browser whose host has `pid` in its process chain (the browser's own
    // process is the window's owner).
    bool browserOwnsProcess(qint64 pid) const;
    // Sends to the browser that connected last; false when none is connected.
    bool send(const QJsonObject& message);

signals:
    void messageReceived(const QJsonObject& message);

private:
    struct Client
    {
        QLocalSocket* socket = nullptr;
        nativeframe::Reader reader;
        QList<qint64> pids;
        bool hello = false;
    };
    void accept();
    void read(Client& client);
    void drop(QLocalSocket* socket);

    QString m_path;
    std::unique_ptr<QLocalServer> m_server;
    std::vector<std::unique_ptr<Client>> m_clients;
};

#include "bridge/BridgeServer.h"

#include "core/PeerUser.h"

#include <QJsonArray>
#include <QLocalServer>
#include <QLocalSocket>

#include <algorithm>

BridgeServer::BridgeServer(QString socketPath, QObject* parent)
    : QObject(parent), m_path(std::move(socketPath))
{}

BridgeServer::~BridgeServer()
{
    for (auto& c : m_clients)
        c->socket->disconnect(this);
}

QString BridgeServer::listen()
{
    m_server = std::make_unique<QLocalServer>();
    // Root is not kept out by the file's mode, so the peer is checked as well.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(m_path);
    if (!m_server->listen(m_path)) {
        const QString error = m_server->errorString();
        m_server.reset();
        return error;
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, &BridgeServer::accept);
    return {};
}

void BridgeServer::accept()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        if (!peerIsThisUser(socket->socketDescriptor())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto client = std::make_unique<Client>();
        client->socket = socket;
        Client* raw = client.get();
        m_clients.push_back(std::move(client));
        connect(socket, &QLocalSocket::readyRead, this, [this, raw] { read(*raw); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { drop(socket); });
        read(*raw);
    }
}

void BridgeServer::read(Client& client)
{
    client.reader.append(client.socket->readAll());
    while (const std::optional<QByteArray> body = client.reader.next()) {
        const std::optional<QJsonObject> message = nativeframe::parseObject(*body);
        if (!message)
            continue;
        const QString type = message->value(QStringLiteral("type")).toString();
        if (type == QLatin1String("host")) {
            client.pids.clear();
            for (const QJsonValue& pid : message->value(QStringLiteral("pids")).toArray())
                client.pids.append(pid.toInteger());
        } else if (type == QLatin1String("hello")) {
            client.hello = true;
        }
        emit messageReceived(*message);
    }
    if (client.reader.failed())
        client.socket->abort();
}

void BridgeServer::drop(QLocalSocket* socket)
{
    socket->disconnect(this);
    std::erase_if(m_clients, [socket](const auto& c) { return c->socket == socket; });
    socket->deleteLater();
}

bool BridgeServer::browserConnected() const
{
    return std::any_of(m_clients.begin(), m_clients.end(), [](const auto& c) { return c->hello; });
}

bool BridgeServer::browserOwnsProcess(qint64 pid) const
{
    if (pid <= 0)
        return false;
    return std::any_of(m_clients.begin(), m_clients.end(),
                       [pid](const auto& c) { return c->hello && c->pids.contains(pid); });
}

bool BridgeServer::send(const QJsonObject& message)
{
    for (auto it = m_clients.rbegin(); it != m_clients.rend(); ++it) {
        if (!(*it)->hello || (*it)->socket->state() != QLocalSocket::ConnectedState)
            continue;
        const QByteArray frame = nativeframe::encode(message);
        return !frame.isEmpty() && (*it)->socket->write(frame) == frame.size();
    }
    return false;
}

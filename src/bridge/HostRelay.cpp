#include "bridge/HostRelay.h"

#include "bridge/BridgeLink.h"

#include <QLocalSocket>
#include <QTimer>

namespace {
constexpr int kRetryMs = 1000;
}

HostRelay::HostRelay(const QString& socketPath, QJsonArray pids,
                     std::function<void(const QByteArray&)> toBrowser, QObject* parent)
    : QObject(parent), m_socketPath(socketPath), m_pids(std::move(pids)),
      m_toBrowser(std::move(toBrowser)), m_socket(new QLocalSocket(this)), m_retry(new QTimer(this))
{
    m_retry->setSingleShot(true);
    m_retry->setInterval(kRetryMs);
    connect(m_retry, &QTimer::timeout, this, &HostRelay::connectToAssistant);
    connect(m_socket, &QLocalSocket::connected, this, &HostRelay::onConnected);
    connect(m_socket, &QLocalSocket::disconnected, this, &HostRelay::onDisconnected);
    connect(m_socket, &QLocalSocket::errorOccurred, this, [this] {
        if (m_socket->state() != QLocalSocket::ConnectedState)
            onDisconnected();
    });
    connect(m_socket, &QLocalSocket::readyRead, this, &HostRelay::onAssistantBytes);
}

HostRelay::~HostRelay() = default;

void HostRelay::start()
{
    connectToAssistant();
}

bool HostRelay::assistantConnected() const
{
    return m_socket->state() == QLocalSocket::ConnectedState;
}

void HostRelay::connectToAssistant()
{
    if (m_socket->state() == QLocalSocket::ConnectedState)
        return;
    m_socket->abort();
    m_socket->connectToServer(m_socketPath);
}

void HostRelay::onConnected()
{
    m_fromAssistant = {};
    toAssistant(
        {{QStringLiteral("type"), QStringLiteral("host")}, {QStringLiteral("pids"), m_pids}});
    if (!m_browserHello.isEmpty())
        toAssistant(m_browserHello);
    toBrowser(bridgelink::statusMessage(true));
    m_told = true;
    m_lastStatus = true;
}

void HostRelay::onDisconnected()
{
    if (!m_told || m_lastStatus)
        toBrowser(bridgelink::statusMessage(false));
    m_told = true;
    m_lastStatus = false;
    if (!m_retry->isActive())
        m_retry->start();
}

void HostRelay::fromBrowser(const QByteArray& bytes)
{
    m_fromBrowser.append(bytes);
    while (const std::optional<QByteArray> body = m_fromBrowser.next()) {
        const std::optional<QJsonObject> message = nativeframe::parseObject(*body);
        if (!message) {
            toBrowser(bridgelink::errorMessage(QStringLiteral("bad-json")));
            continue;
        }
        if (message->value(QStringLiteral("type")).toString() == QLatin1String("hello"))
            m_browserHello = *message;
        if (assistantConnected())
            toAssistant(*message);
        else
            toBrowser(bridgelink::statusMessage(false));
    }
    if (m_fromBrowser.failed())
        emit browserLost();
}

void HostRelay::onAssistantBytes()
{
    m_fromAssistant.append(m_socket->readAll());
    while (const std::optional<QByteArray> body = m_fromAssistant.next()) {
        // The assistant is ours; what it sends that is not an object is dropped.
        if (const std::optional<QJsonObject> message = nativeframe::parseObject(*body))
            toBrowser(*message);
    }
    if (m_fromAssistant.failed())
        m_socket->abort(); // a new connection starts in step again
}

void HostRelay::toBrowser(const QJsonObject& message)
{
    const QByteArray frame = nativeframe::encode(message);
    if (!frame.isEmpty())
        m_toBrowser(frame);
}

void HostRelay::toAssistant(const QJsonObject& message)
{
    const QByteArray frame = nativeframe::encode(message);
    if (!frame.isEmpty())
        m_socket->write(frame);
}

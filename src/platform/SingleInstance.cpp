#include "platform/SingleInstance.h"

#include "core/Dialogs.h"
#include "core/PeerUser.h"
#include "platform/WindowLevel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QWidget>

#include <unistd.h>

namespace {

constexpr int kAskTimeout = 2000; // milliseconds
const QByteArray kShowRequest = "show\n";

// The data folder's real place: links resolved, also for a folder not made yet.
QString realPlace(const QString& dataFolder)
{
    const QFileInfo data(QDir::cleanPath(QDir(dataFolder).absolutePath()));
    if (data.exists())
        return data.canonicalFilePath();
    const QString parent = QFileInfo(data.absolutePath()).canonicalFilePath();
    return (parent.isEmpty() ? data.absolutePath() : parent) + u'/' + data.fileName();
}

} // namespace

SingleInstance::SingleInstance(const QString& programName, const QString& dataFolder)
{
    const QFileInfo data(realPlace(dataFolder));
    m_path = data.absolutePath() + QStringLiteral("/.") + data.fileName() + u'.' + programName +
             QStringLiteral(".lock");
    // An abstract socket: no file to leave behind, and no length limit of a path. Its name
    // is open to every user, so the running copy checks who is asking.
    const QByteArray key =
        QCryptographicHash::hash(m_path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    m_serverName =
        QStringLiteral("%1-%2-%3").arg(programName).arg(getuid()).arg(QString::fromLatin1(key));
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::tryAcquire()
{
    m_lock = std::make_unique<QLockFile>(m_path);
    m_lock->setStaleLockTime(0); // only a dead owner makes the lock stale
    if (m_lock->tryLock(0)) {
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner);
        return true;
    }
    m_heldElsewhere = m_lock->error() == QLockFile::LockFailedError;
    return false;
}

void SingleInstance::showOnRequest(QWidget* window)
{
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    // Without the socket a later start still refuses itself; it only cannot raise this one.
    if (!m_server->listen(m_serverName)) {
        m_server.reset();
        return;
    }
    QLocalServer* server = m_server.get();
    const QPointer<QWidget> shown(window);
    QObject::connect(server, &QLocalServer::newConnection, server, [server, shown] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (!peerIsThisUser(socket->socketDescriptor())) {
                socket->abort();
                continue;
            }
            const auto read = [socket, shown] {
                if (!socket->canReadLine())
                    return;
                if (socket->readLine(64) == kShowRequest && shown)
                    bringToFront(shown);
                socket->disconnectFromServer();
            };
            QObject::connect(socket, &QLocalSocket::readyRead, socket, read);
            read(); // the request may have come with the connection
        }
    });
}

bool SingleInstance::askRunningCopyToShow()
{
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(kAskTimeout))
        return false;
    socket.write(kShowRequest);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(kAskTimeout))
            return false;
    }
    socket.disconnectFromServer();
    return true;
}

bool acquireOrTellUser(SingleInstance& lock, Dialogs& dialogs, const QString& alreadyRunning)
{
    if (lock.tryAcquire())
        return true;
    if (!lock.heldElsewhere()) {
        dialogs.message({QStringLiteral("多重起動を確かめるためのファイル「%1」を作成できないため、"
                                        "起動できません。")
                             .arg(QDir::toNativeSeparators(lock.lockPath())),
                         QStringLiteral("起動エラー"), MessageIcon::Critical, MessageButtons::Ok});
        return false;
    }
    dialogs.message(
        {alreadyRunning, QStringLiteral("多重起動不可"), MessageIcon::None, MessageButtons::Ok});
    return false;
}

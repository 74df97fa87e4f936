// The native-messaging host that a browser with our extension starts: it relays between the
// browser (standard input and output) and the running assistant of this program folder.
#include "bridge/BridgeLink.h"
#include "bridge/HostRelay.h"
#include "core/AppPaths.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <unistd.h>

namespace {

// This process and its parents: the browser that started the host owns the windows the
// assistant then recognises.
QJsonArray processChain()
{
    QJsonArray pids;
    qint64 pid = getpid();
    for (int depth = 0; depth < 8 && pid > 1; ++depth) {
        pids.append(pid);
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            break;
        // "pid (name) state ppid ...": the name may hold spaces and parentheses.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> rest = line.mid(line.lastIndexOf(')') + 2).split(' ');
        pid = rest.size() > 1 ? rest[1].toLongLong() : 0;
    }
    return pids;
}

void writeAll(const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.constData() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            QCoreApplication::exit(1); // the browser is gone
            return;
        }
        done += n;
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const AppPaths paths(QCoreApplication::applicationDirPath());
    HostRelay relay(bridgelink::socketPath(paths.dataFolder()), processChain(), writeAll);
    QObject::connect(&relay, &HostRelay::browserLost, &app, [] { QCoreApplication::exit(1); });

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&relay, &input] {
        char buffer[65536];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            return;
        if (n <= 0) { // the browser closed the port
            input.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        relay.fromBrowser(QByteArray(buffer, n));
    });
    relay.start();
    return app.exec();
}

#include "SessionBench.h"

#include "BenchWindow.h"
#include "core/AppContext.h"
#include "core/Clock.h"
#include "forms/EntryTableModel.h"
#include "forms/frmDataSearch.h"
#include "support/ScriptedDialogs.h"
#include "support/VirtualDisplay.h"

#include <QAccessible>
#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QThreadPool>
#include <QWindow>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kProcessRuns = 3;

// A session bus of our own, so that the accessibility bus started on it reaches nobody else.
class PrivateBus
{
public:
    PrivateBus()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address=1")});
        if (!m_daemon.waitForStarted(5000))
            return;
        QByteArray line;
        while (!line.contains('\n') && m_daemon.waitForReadyRead(5000))
            line += m_daemon.readAllStandardOutput();
        m_address = QString::fromUtf8(line.trimmed());
    }
    ~PrivateBus()
    {
        stop(m_launcher);
        stop(m_daemon);
    }
    QString address() const { return m_address; }

    // The accessibility bus, as a desktop starts it for a screen reader. True once its name
    // answers on the session bus.
    bool startAccessibilityBus()
    {
        const QString launcher = QStringLiteral("/usr/libexec/at-spi-bus-launcher");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
        m_launcher.setProcessEnvironment(env);
        m_launcher.start(launcher, {});
        if (!m_launcher.waitForStarted(5000))
            return false;
        for (int i = 0; i < 50; ++i) {
            QProcess ask;
            ask.setProcessEnvironment(env);
            ask.start(QStringLiteral("dbus-send"),
                      {QStringLiteral("--session"), QStringLiteral("--print-reply"),
                       QStringLiteral("--dest=org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                       QStringLiteral("org.a11y.Bus.GetAddress")});
            if (ask.waitForFinished(5000) && ask.exitCode() == 0)
                return true;
            QThread::msleep(100);
        }
        return false;
    }

private:
    static void stop(QProcess& process)
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(3000))
            process.kill();
        process.waitForFinished(2000);
    }
    QProcess m_daemon;
    QProcess m_launcher;
    QString m_address;
};

QList<SessionTiming> runChild(const QString& folder, const QString& mode,
                              const QProcessEnvironment& env, const QString& suffix)
{
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--fresh-process"), folder, mode});
    QList<SessionTiming> timings;
    if (!child.waitForFinished(30 * 60 * 1000) || child.exitCode() != 0) {
        std::printf("  the %s process failed (exit %d)\n", qPrintable(mode), child.exitCode());
        return timings;
    }
    const bool wantsBus = !suffix.isEmpty();
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split('\t');
        if (parts.size() == 2 && parts[0] == "accessible" && (parts[1] == "1") != wantsBus) {
            std::printf("  the %s process had accessibility %s: its rows are left out\n",
                        qPrintable(mode), wantsBus ? "off" : "on");
            return {};
        }
        if (parts.size() == 2 && parts[0] != "accessible")
            timings.append({QString::fromUtf8(parts[1]) + suffix, parts[0].toDouble()});
    }
    return timings;
}

void report(const QString& step, double ms)
{
    std::printf("%.2f\t%s\n", ms, step.toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

QList<SessionTiming> measureSessions(const QString& programFolder, const QString& label)
{
    VirtualDisplay display;
    if (display.display().isEmpty()) {
        std::printf("  no X server: the fresh-process rows are left out\n");
        return {};
    }
    PrivateBus bus;
    if (bus.address().isEmpty()) {
        std::printf("  no session bus: the fresh-process rows are left out\n");
        return {};
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display.display());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    env.remove(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"));
    env.remove(QStringLiteral("QT_ACCESSIBILITY"));

    QList<SessionTiming> timings;
    const QString prefix = label + QStringLiteral(": ");
    for (const bool accessible : {false, true}) {
        if (accessible) {
            if (!bus.startAccessibilityBus()) {
                std::printf("  no accessibility bus: its rows are left out\n");
                break;
            }
            env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        }
        const QString suffix = accessible ? QStringLiteral(", a11y bus") : QString();
        for (const char* mode : {"searches", "register"}) {
            // The best of a few processes, as for the warm steps: one start alone says more
            // about what else the machine was doing.
            QList<SessionTiming> best;
            for (int run = 0; run < kProcessRuns; ++run) {
                const QList<SessionTiming> one =
                    runChild(programFolder, QString::fromLatin1(mode), env, suffix);
                if (best.isEmpty()) {
                    best = one;
                    continue;
                }
                for (qsizetype i = 0; i < best.size() && i < one.size(); ++i)
                    best[i].ms = std::min(best[i].ms, one[i].ms);
            }
            for (SessionTiming timing : best) {
                timing.step.prepend(prefix);
                timings.append(timing);
            }
        }
    }
    return timings;
}

int runSessionChild(QApplication& app, const QString& programFolder, const QString& mode)
{
    Q_UNUSED(app);
    ScriptedDialogs dialogs;
    FixedClock clock{QDate(2024, 6, 15)};
    frmMain window(AppContext{AppPaths(programFolder), dialogs, clock});
    if (!window.Form_Load())
        return 2;
    window.show();
    for (int i = 0; i < 200 && !(window.windowHandle() && window.windowHandle()->isExposed()); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 25);
    settle();
    std::printf("accessible\t%d\n", QAccessible::isActive() ? 1 : 0);
    // A prize of its own in every process, so that the duplicate check never asks.
    const QString tag = QString::number(QCoreApplication::applicationPid());

    if (mode == u"register") {
        const double ms = registerOne(window, QStringLiteral("計測用（最初の操作）") + tag);
        if (ms < 0)
            return 3;
        report(QStringLiteral("registration as the first action"), ms);
        return 0;
    }

    selectTab(window, QStringLiteral("検　　　索"));
    auto* form = window.findChild<frmDataSearch*>(QStringLiteral("frmDataSearch"));
    auto* start = form->findChild<QPushButton*>(QStringLiteral("cmdSearch"));
    form->cmdNewSearch_Click();
    settle();
    const char* names[] = {"first search of a fresh process", "second search", "third search"};
    for (const char* name : names) {
        // The user reads the results before searching again; the last ones are freed by then.
        QThreadPool::globalInstance()->waitForDone();
        const double ms = msOf([&] {
            start->click();
            settle();
        });
        report(QStringLiteral("%1 (%2 rows)")
                   .arg(QString::fromLatin1(name))
                   .arg(window.searchModel()->rowCount()),
               ms);
    }
    const double ms = registerOne(window, QStringLiteral("計測用（検索の後）") + tag);
    if (ms < 0)
        return 3;
    report(QStringLiteral("registration after a search"), ms);
    return 0;
}

#include "platform/DeadlineTimer.h"

#include "core/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

// One word of a command line as systemd reads it: in double quotes, with backslash, quote
// and the specifier sign escaped.
QString unitWord(QString word)
{
    word.replace(u'\\', QStringLiteral("\\\\"));
    word.replace(u'"', QStringLiteral("\\\""));
    word.replace(u'%', QStringLiteral("%%"));
    return u'"' + word + u'"';
}

QString servicePath(const QString& folder)
{
    return folder + u'/' + kDeadlineTimerName + QStringLiteral(".service");
}

QString timerPath(const QString& folder)
{
    return folder + u'/' + kDeadlineTimerName + QStringLiteral(".timer");
}

// Tells the user's service manager; its absence (no systemd, a session without one) is
// noted, not failed: the files are in place for the next session.
void tellManager(const QStringList& arguments, QString* note)
{
    if (!userServiceManagerFound()) {
        if (note && note->isEmpty())
            *note = QStringLiteral("systemctl is not installed");
        return;
    }
    QProcess systemctl;
    systemctl.start(QStringLiteral("systemctl"), QStringList{QStringLiteral("--user")} + arguments);
    if (!systemctl.waitForFinished(10000) || systemctl.exitStatus() != QProcess::NormalExit ||
        systemctl.exitCode() != 0) {
        if (note && note->isEmpty())
            *note = QString::fromLocal8Bit(systemctl.readAllStandardError()).trimmed();
        if (note && note->isEmpty())
            *note = QStringLiteral("systemctl --user %1 did not succeed").arg(arguments.join(u' '));
    }
}

} // namespace

bool userServiceManagerFound()
{
    return !QStandardPaths::findExecutable(QStringLiteral("systemctl")).isEmpty();
}

DeadlineTimerUnits deadlineTimerUnits(const QString& dataTool, const QString& dataFolder,
                                      const QTime& at)
{
    DeadlineTimerUnits units;
    units.service = QStringLiteral("[Unit]\n"
                                   "Description=ズミラ帳: 締切間近の懸賞を知らせる\n"
                                   "\n"
                                   "[Service]\n"
                                   "Type=oneshot\n"
                                   "ExecStart=%1 deadlines %2 --notify\n")
                        .arg(unitWord(dataTool), unitWord(dataFolder));
    units.timer = QStringLiteral("[Unit]\n"
                                 "Description=ズミラ帳: 毎日の締切の確認\n"
                                 "\n"
                                 "[Timer]\n"
                                 "OnCalendar=*-*-* %1:00\n"
                                 "Persistent=true\n"
                                 "\n"
                                 "[Install]\n"
                                 "WantedBy=timers.target\n")
                      .arg(at.toString(QStringLiteral("HH:mm")));
    return units;
}

QString userUnitFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/systemd/user");
}

QString installDeadlineTimer(const QString& unitFolder, const DeadlineTimerUnits& units,
                             QString* managerNote)
{
    if (!QDir().mkpath(unitFolder))
        return QStringLiteral("cannot create the folder %1")
            .arg(QDir::toNativeSeparators(unitFolder));
    if (QString error = writeFileAtomically(servicePath(unitFolder), units.service.toUtf8());
        !error.isEmpty())
        return error;
    if (QString error = writeFileAtomically(timerPath(unitFolder), units.timer.toUtf8());
        !error.isEmpty())
        return error;
    tellManager({QStringLiteral("daemon-reload")}, managerNote);
    tellManager({QStringLiteral("enable"), QStringLiteral("--now"),
                 kDeadlineTimerName + QStringLiteral(".timer")},
                managerNote);
    return QString();
}

QString removeDeadlineTimer(const QString& unitFolder, QString* managerNote)
{
    if (QFileInfo::exists(timerPath(unitFolder)))
        tellManager({QStringLiteral("disable"), QStringLiteral("--now"),
                     kDeadlineTimerName + QStringLiteral(".timer")},
                    managerNote);
    for (const QString& path : {timerPath(unitFolder), servicePath(unitFolder)}) {
        if (QFileInfo::exists(path) && !removeFileDurably(path))
            return QStringLiteral("cannot remove %1").arg(QDir::toNativeSeparators(path));
    }
    tellManager({QStringLiteral("daemon-reload")}, managerNote);
    return QString();
}

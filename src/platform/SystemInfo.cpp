#include "SystemInfo.h"

#include <QProcess>

QString RunAndCapture(const QString& commandLine)
{
    const QStringList parts = QProcess::splitCommand(commandLine);
    if (parts.isEmpty())
        return QString();
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(parts.first(), parts.mid(1));
    if (!process.waitForStarted())
        return QString();
    if (!process.waitForFinished(65535))
        process.kill();
    QString text = QString::fromLocal8Bit(process.readAllStandardOutput());
    text.remove(QChar(0));
    return text;
}

std::optional<WindowsVersion> GetWindowsVersion()
{
    // Only a Windows back end has a version to read; elsewhere Qt layouts size the window.
    return std::nullopt;
}

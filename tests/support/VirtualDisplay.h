#pragma once

#include <QProcess>
#include <QStandardPaths>

// Starts Xvfb on a display number it picks itself and stops it again.
class VirtualDisplay
{
public:
    VirtualDisplay()
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty())
            return;
        // -displayfd 1: Xvfb chooses a free display and writes its number to standard output.
        m_server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"),
                              QStringLiteral("-screen"), QStringLiteral("0"),
                              QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                              QStringLiteral("tcp")});
        if (!m_server.waitForStarted(5000))
            return;
        QByteArray number;
        while (!number.contains('\n') && m_server.waitForReadyRead(10000))
            number += m_server.readAllStandardOutput();
        bool ok = false;
        number.trimmed().toInt(&ok);
        if (ok)
            m_display = u':' + QString::fromLatin1(number.trimmed());
    }

    ~VirtualDisplay()
    {
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            if (!m_server.waitForFinished(5000))
                m_server.kill();
            m_server.waitForFinished(2000);
        }
    }

    bool found() const { return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty(); }
    QString display() const { return m_display; }

private:
    QProcess m_server;
    QString m_display;
};

// A window manager that keeps _NET_ACTIVE_WINDOW, as desktops have one.
class WindowManager
{
public:
    bool start()
    {
        const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
        if (openbox.isEmpty())
            return false;
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(openbox, {QStringLiteral("--sm-disable")});
        return m_process.waitForStarted(5000);
    }

    // True once the manager has announced itself on the root window.
    static bool running()
    {
        QProcess xprop;
        xprop.start(QStringLiteral("xprop"),
                    {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
        return xprop.waitForFinished(5000) && xprop.readAllStandardOutput().contains("window id");
    }

    ~WindowManager()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(2000);
    }

private:
    QProcess m_process;
};

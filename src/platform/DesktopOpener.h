#pragma once

#include "core/ShellResult.h"

#include <QString>
#include <QTemporaryDir>

// Hands documents and addresses to the desktop's opener (xdg-open) and finds out why it
// failed, where that can be known.
class DesktopOpener
{
public:
    struct Tools
    {
        QString opener = QStringLiteral("xdg-open");
        QString mimeQuery = QStringLiteral("xdg-mime");
        // The opener may run as long as the program it starts; after this long it is left
        // running and counted as having opened.
        int graceMs = 1500;
    };

    DesktopOpener() = default;
    explicit DesktopOpener(Tools tools) : m_tools(std::move(tools)) {}

    // `address` is a web or mail address, a file URL (perhaps with a fragment) or a path.
    ShellResult open(const QString& address);

private:
    QString forwardingPage(const QString& target);

    Tools m_tools;
    QTemporaryDir m_forwards; // pages that carry a fragment through to the browser
    int m_forwardCount = 0;
};

// Why the opener failed, from its exit status and whether the desktop names a program
// for the address's type.
ShellResult openerFailure(int exitStatus, bool typeHasDefaultProgram);

// Why a local file cannot be opened, or Opened when it is there and readable.
ShellResult localFileProblem(const QString& path);

#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// The browsers find a native-messaging host by a manifest in the user's own folders.
namespace hostregistration {

struct Target
{
    QString browser; // "Chromium", "Google Chrome", "Firefox"
    QString path;    // the manifest file
    QByteArray content;
};

// The manifests for the host program `hostProgram`, in the folders of `home` (and the
// config folder the environment names, when it lies inside `home`).
QList<Target> targets(const QString& home, const QProcessEnvironment& env,
                      const QString& hostProgram);

// Writes each manifest that is missing or different; what failed, one line each.
QStringList registerHost(const QList<Target>& targets);

} // namespace hostregistration

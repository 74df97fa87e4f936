#include "platform/DesktopShortcut.h"

#include "core/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// Desktop entry values escape backslashes; Exec arguments are quoted.
QString quoteExec(const QString& program)
{
    QString escaped = program;
    escaped.replace(u'\\', QStringLiteral("\\\\\\\\"));
    escaped.replace(u'"', QStringLiteral("\\\\\""));
    escaped.replace(u'`', QStringLiteral("\\\\`"));
    escaped.replace(u'$', QStringLiteral("\\\\$"));
    return u'"' + escaped + u'"';
}

} // namespace

QString userDesktopFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString createDesktopShortcut(const QString& desktopFolder, const QString& name,
                              const QString& program, const QString& comment)
{
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Version=1.0\n"
                                  "Name=%1\n"
                                  "Comment=%2\n"
                                  "Exec=%3\n"
                                  "Path=%4\n"
                                  "Terminal=false\n")
                       .arg(name, comment, quoteExec(program), QFileInfo(program).absolutePath());
    // An installed program folder has the icon beside the program.
    const QString icon = program + QStringLiteral(".svg");
    if (QFileInfo::exists(icon))
        text += QStringLiteral("Icon=") + icon + u'\n';
    const QString path = desktopFolder + u'/' + name + QStringLiteral(".desktop");
    const QString error = writeFileAtomically(path, text.toUtf8());
    if (!error.isEmpty())
        return error;
    // Desktops start only entries that are marked executable.
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
    return QString();
}

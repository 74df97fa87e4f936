#include "platform/DesktopOpener.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

// Exit statuses of xdg-open, and of the shell that runs it.
constexpr int kSyntaxError = 1;
constexpr int kFileMissing = 2;
constexpr int kNoMethod = 3;
constexpr int kActionFailed = 4;
constexpr int kNoReadPermission = 5;
constexpr int kCannotExecute = 126;
constexpr int kCommandNotFound = 127;

// Runs the opener in the background and waits a little for it: failures of the opener
// itself come within moments, while a successful one may wait for the program it started.
// After the grace time the shell leaves, and the opener goes on without a parent of ours.
const QString kGraceScript = QStringLiteral("\"$1\" \"$2\" </dev/null >/dev/null 2>&1 & pid=$!\n"
                                            "n=0\n"
                                            "while kill -0 \"$pid\" 2>/dev/null; do\n"
                                            "  [ \"$n\" -ge \"$3\" ] && exit 0\n"
                                            "  sleep 0.05; n=$((n + 1))\n"
                                            "done\n"
                                            "wait \"$pid\"\n");

QString mimeTypeOf(const QUrl& url)
{
    if (url.isLocalFile())
        return QMimeDatabase().mimeTypeForFile(url.toLocalFile()).name();
    return QStringLiteral("x-scheme-handler/") + url.scheme();
}

bool hasDefaultProgram(const QString& mimeQuery, const QString& mimeType)
{
    QProcess query;
    query.start(mimeQuery, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForFinished(3000))
        return false;
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

ShellResult openerFailure(int exitStatus, bool typeHasDefaultProgram)
{
    switch (exitStatus) {
    case 0:
        return ShellResult::Opened;
    case kFileMissing:
        return ShellResult::FileNotFound;
    case kNoReadPermission:
        return ShellResult::AccessDenied;
    case kNoMethod:
    case kActionFailed:
        // A program is named but could not open it, or nothing is named at all.
        return typeHasDefaultProgram ? ShellResult::IncompleteAssociation
                                     : ShellResult::NoAssociation;
    case kCannotExecute:
        return ShellResult::BadExecutable;
    case kCommandNotFound:
        return ShellResult::IncompleteAssociation; // the desktop has no opener
    case kSyntaxError:
    default:
        return ShellResult::Unknown;
    }
}

ShellResult localFileProblem(const QString& path)
{
    const QFileInfo file(path);
    if (!file.exists())
        return file.dir().exists() ? ShellResult::FileNotFound : ShellResult::PathNotFound;
    if (!file.isReadable())
        return ShellResult::AccessDenied;
    return ShellResult::Opened;
}

QString DesktopOpener::forwardingPage(const QString& target)
{
    if (!m_forwards.isValid())
        return QString();
    const QString path = m_forwards.filePath(QStringLiteral("open-%1.html").arg(++m_forwardCount));
    QFile page(path);
    if (!page.open(QIODevice::WriteOnly))
        return QString();
    const QString escaped = target.toHtmlEscaped();
    const QByteArray html =
        QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
                       "<meta http-equiv=\"refresh\" content=\"0; url=%1\"></head>"
                       "<body><a href=\"%1\">%1</a></body></html>\n")
            .arg(escaped)
            .toUtf8();
    if (page.write(html) != html.size() || !page.flush())
        return QString();
    return path;
}

ShellResult DesktopOpener::open(const QString& address)
{
    const QUrl url = QUrl::fromUserInput(address);
    QString argument = url.toString(QUrl::FullyEncoded);
    if (url.isLocalFile()) {
        const ShellResult problem = localFileProblem(url.toLocalFile());
        if (problem != ShellResult::Opened)
            return problem;
        // Openers hand the browser the bare path of a local file and lose the fragment, so
        // the browser gets a page that forwards to the section.
        if (url.hasFragment()) {
            const QString forward = forwardingPage(argument);
            if (!forward.isEmpty())
                argument = forward;
        }
    }
    const QString opener = QStandardPaths::findExecutable(m_tools.opener);
    if (opener.isEmpty())
        return openerFailure(QFileInfo::exists(m_tools.opener) ? kCannotExecute : kCommandNotFound,
                             false);

    QProcess shell;
    const int ticks = m_tools.graceMs / 50;
    shell.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), kGraceScript, QStringLiteral("sh"), opener, argument,
                 QString::number(ticks)});
    if (!shell.waitForStarted())
        return ShellResult::OutOfMemory; // the system could not start even a shell
    if (!shell.waitForFinished(m_tools.graceMs + 5000) ||
        shell.exitStatus() != QProcess::NormalExit) {
        shell.kill();
        shell.waitForFinished();
        return ShellResult::Unknown;
    }
    const int status = shell.exitCode();
    if (status == 0)
        return ShellResult::Opened;
    const bool named = (status == kNoMethod || status == kActionFailed) &&
                       hasDefaultProgram(m_tools.mimeQuery, mimeTypeOf(url));
    return openerFailure(status, named);
}

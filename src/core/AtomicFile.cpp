#include "core/AtomicFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <fcntl.h>
#include <unistd.h>

namespace {

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

ReadResult readWholeFile(const QString& path, qint64 maxSize)
{
    ReadResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    if (file.size() > maxSize) {
        result.error = QStringLiteral("file too large");
        return result;
    }
    result.bytes = file.readAll();
    result.ok = file.error() == QFileDevice::NoError;
    if (!result.ok)
        result.error = file.errorString();
    return result;
}

QString writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return QStringLiteral("cannot create folder %1").arg(info.absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    syncFolder(info.absolutePath());
    return QString();
}

bool removeFileDurably(const QString& path)
{
    if (!QFileInfo::exists(path))
        return true;
    if (!QFile::remove(path))
        return false;
    syncFolder(QFileInfo(path).absolutePath());
    return true;
}

int removeStrayTemporaries(const QString& folder)
{
    // QSaveFile names its temporary file after the target plus a dot and six characters.
    static const QRegularExpression pattern(QStringLiteral("^(.+)\\.[A-Za-z0-9]{6}$"));
    int removed = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const auto match = pattern.match(info.fileName());
        if (!match.hasMatch())
            continue;
        const QString base = match.captured(1);
        if (!base.endsWith(QLatin1String(".log")) && !base.endsWith(QLatin1String(".ini"))
            && !base.endsWith(QLatin1String(".dat")))
            continue;
        if (QFile::remove(info.filePath()))
            ++removed;
    }
    return removed;
}

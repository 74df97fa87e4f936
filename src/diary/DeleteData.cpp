#include "diary/DeleteData.h"

#include "core/AppPaths.h"
#include "core/AtomicFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Every copied file and folder is on the disk when this returns true.
bool copyTree(const QString& from, const QString& to)
{
    bool ok = QDir().mkpath(to);
    const QDir source(from);
    for (const QFileInfo& info : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString target = to + u'/' + info.fileName();
        if (info.isDir())
            ok = copyTree(info.absoluteFilePath(), target) && ok;
        else
            ok = copyFileDurably(info.absoluteFilePath(), target) && ok;
    }
    return syncFolder(to) && ok;
}

} // namespace

bool syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

bool copyFileDurably(const QString& from, const QString& to)
{
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (;;) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty())
            break;
        if (target.write(chunk) != chunk.size())
            return false;
    }
    if (source.error() != QFileDevice::NoError || !target.flush() || ::fsync(target.handle()) != 0)
        return false;
    target.close();
    return target.error() == QFileDevice::NoError;
}

bool folderHoldsFiles(const QString& folder)
{
    return !QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty();
}

EmptiedMonth tidyEmptiedMonth(const AppPaths& paths, const QString& year, const QString& month)
{
    removeFileDurably(paths.monthFilePath(year, month));
    if (folderHoldsFiles(paths.yearFolder(year)))
        return EmptiedMonth::YearKept;
    deleteYearData(paths, year);
    return EmptiedMonth::YearRemoved;
}

void deleteYearData(const AppPaths& paths, const QString& year)
{
    QDir(paths.yearFolder(year)).removeRecursively();
    removeFileDurably(paths.yearSummaryPath(year));
}

void removeSummaryFolderIfEmpty(const AppPaths& paths)
{
    if (!folderHoldsFiles(paths.summaryFolder()))
        QDir(paths.summaryFolder()).removeRecursively();
}

bool summaryFolderHoldsOnlyTotal(const AppPaths& paths)
{
    const QStringList files = QDir(paths.summaryFolder()).entryList(QDir::Files | QDir::Hidden);
    return files == QStringList{QStringLiteral("total.log")};
}

bool FolderOperation(const QString& source, const QString& target, FolderMode mode)
{
    bool ok = true;
    const QFileInfoList children = QDir(source).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo& child : children) {
        switch (mode) {
        case FolderMode::Copy:
            // Staging folders of the program (".apply") are work in progress, not data.
            if (child.fileName().startsWith(u'.'))
                break;
            ok = copyTree(child.absoluteFilePath(), target + u'/' + child.fileName()) && ok;
            ok = syncFolder(target) && ok;
            break;
        case FolderMode::DeleteData:
            if (child.fileName().endsWith(QLatin1String("ini"), Qt::CaseInsensitive))
                break;
            [[fallthrough]];
        case FolderMode::Delete:
            ok = QDir(child.absoluteFilePath()).removeRecursively() && ok;
            break;
        }
    }
    return ok;
}

void deleteAllData(const AppPaths& paths)
{
    FolderOperation(paths.dataFolder(), QString(), FolderMode::DeleteData);
    QDir(paths.summaryFolder()).removeRecursively();
}

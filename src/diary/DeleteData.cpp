#include "diary/DeleteData.h"

#include "core/AppPaths.h"
#include "core/AtomicFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Every copied file and folder is on the disk when this returns true. A copied folder has
// its original's permissions, as copied files do.
bool copyTree(const QString& from, const QString& to)
{
    bool ok = createFolders(to, folderPermissions(from));
    const QDir source(from);
    for (const QFileInfo& info :
         source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString target = to + u'/' + info.fileName();
        if (info.isDir())
            ok = copyTree(info.absoluteFilePath(), target) && ok;
        else
            ok = copyFileAtomically(info.absoluteFilePath(), target).isEmpty() && ok;
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

unsigned folderPermissions(const QString& folder)
{
    struct stat st
    {
    };
    return ::stat(QFile::encodeName(folder).constData(), &st) == 0 ? st.st_mode & 0777 : 0700;
}

bool folderHoldsFiles(const QString& folder)
{
    return !QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty();
}

EmptiedMonth tidyEmptiedMonth(const AppPaths& paths, const QString& year, const QString& month,
                              QString& notRemoved)
{
    const QString path = paths.monthFilePath(year, month);
    if (!removeFileDurably(path))
        notRemoved = path;
    // A month file that stayed keeps its year.
    if (folderHoldsFiles(paths.yearFolder(year)))
        return EmptiedMonth::YearKept;
    if (const QString left = deleteYearData(paths, year); notRemoved.isEmpty())
        notRemoved = left;
    return EmptiedMonth::YearRemoved;
}

QString deleteYearData(const AppPaths& paths, const QString& year)
{
    const QString folder = paths.yearFolder(year);
    const bool folderGone = QDir(folder).removeRecursively();
    const QString summary = paths.yearSummaryPath(year);
    if (!removeFileDurably(summary))
        return summary;
    return folderGone ? QString() : folder;
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

QString deleteAllData(const AppPaths& paths)
{
    const bool folders = FolderOperation(paths.dataFolder(), QString(), FolderMode::DeleteData);
    const bool summaries = QDir(paths.summaryFolder()).removeRecursively();
    return folders && summaries ? QString() : paths.dataFolder();
}

#include "core/AtomicFile.h"

#include "core/FileFaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

const QString kWorkFolderName = QStringLiteral(".zumi-work");
constexpr qsizetype kChunk = 64 * 1024;

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

QString describe(const QString& path, const char* what, int error)
{
    return QStringLiteral("「%1」: %2 (%3)")
        .arg(QDir::toNativeSeparators(path), QString::fromLatin1(what),
             QString::fromLocal8Bit(std::strerror(error)));
}

// Runs one system call of the file layer, or fails it when the fault seam says so.
template <typename Call> int checked(filefaults::Op op, const QString& path, Call call)
{
    if (filefaults::fails(op, path)) {
        errno = EIO;
        return -1;
    }
    int result;
    do {
        result = call();
    } while (result < 0 && errno == EINTR);
    return result;
}

// fsync(); 0, else the errno. The fault seam is the caller's business.
int fsyncOf(int fd)
{
    int result;
    do {
        result = ::fsync(fd);
    } while (result < 0 && errno == EINTR);
    return result < 0 ? errno : 0;
}

int fsyncFolder(const QString& folder)
{
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int error = fsyncOf(fd);
    ::close(fd);
    return error;
}

// A folder's sync to run later, perhaps on another thread; the fault seam decides now.
std::function<int()> folderSyncCall(const QString& folder)
{
    const bool fails = filefaults::fails(filefaults::Op::Sync, folder);
    return [folder, fails] { return fails ? EIO : fsyncFolder(folder); };
}

int syncFolder(const QString& folder)
{
    const int error = folderSyncCall(folder)();
    errno = error;
    return error ? -1 : 0;
}

bool isThere(const QString& path)
{
    struct stat st
    {
    };
    return ::lstat(native(path).constData(), &st) == 0;
}

// The work folder among the parents of `folder`, else `folder` itself. Whatever carries the
// work folder's name counts, so that a link by that name is refused rather than passed by.
QString temporaryFolderFor(const QString& folder, bool& inWorkFolder)
{
    QDir dir(folder);
    do {
        const QString candidate = dir.filePath(kWorkFolderName);
        if (isThere(candidate)) {
            inWorkFolder = true;
            return candidate;
        }
    } while (dir.cdUp());
    inWorkFolder = false;
    return folder;
}

// "<pid>-<sequence>-<random>.tmp": the process id tells start-up whose file it is.
QString temporaryPath(const QString& target, const QString& folder, bool inWorkFolder)
{
    static std::atomic<unsigned> sequence{0};
    const QFileInfo info(target);
    const QString name =
        QStringLiteral("%1-%2-%3.tmp")
            .arg(::getpid())
            .arg(sequence.fetch_add(1))
            .arg(QRandomGenerator::global()->bounded(0x1000000), 6, 16, QLatin1Char('0'));
    return folder + u'/' + (inWorkFolder ? name : u'.' + info.fileName() + u'.' + name);
}

thread_local JointCommit* t_jointCommit = nullptr;

bool processIsGone(qint64 pid)
{
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

} // namespace

// A temporary file being filled; removed again unless it was renamed into place.
class AtomicFileWriter::Temporary
{
public:
    // `copyMode`: the permissions of the file copied, else -1.
    Temporary(const QString& target, NewFileMode mode, int copyMode = -1)
        : m_target(target), m_mode(mode), m_copyMode(copyMode)
    {}
    ~Temporary()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_path.isEmpty())
            ::unlink(native(m_path).constData());
    }

    QString open()
    {
        const QString folder = QFileInfo(m_target).absolutePath();
        if (!createFolders(folder))
            return describe(m_target, "cannot create the folder", errno ? errno : EACCES);
        bool inWorkFolder = false;
        const QString temporaries = temporaryFolderFor(folder, inWorkFolder);
        if (inWorkFolder) {
            if (const QString refusal = foreignFolderError(temporaries); !refusal.isEmpty())
                return refusal;
        }
        const mode_t created = m_mode == NewFileMode::Umask ? 0666 : 0600;
        for (int attempt = 0; attempt < 16 && m_fd < 0; ++attempt) {
            m_path = temporaryPath(m_target, temporaries, inWorkFolder);
            m_fd = ::open(native(m_path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, created);
            if (m_fd < 0 && errno != EEXIST)
                break;
        }
        if (m_fd < 0) {
            const int error = errno;
            m_path.clear();
            return describe(m_target, "cannot create a temporary file", error);
        }
        // A copy takes its original's permissions, a replaced file keeps its own, and a new
        // private file is the user's alone whatever the umask.
        struct stat old
        {
        };
        int permissions = m_copyMode;
        if (permissions < 0 && ::stat(native(m_target).constData(), &old) == 0)
            permissions = int(old.st_mode & 07777);
        if (permissions < 0 && m_mode == NewFileMode::Private)
            permissions = 0600;
        if (permissions >= 0 && ::fchmod(m_fd, mode_t(permissions)) != 0)
            return describe(m_target, "cannot set permissions", errno);
        return QString();
    }

    QString write(const char* data, qsizetype size)
    {
        while (size > 0) {
            const auto chunk = static_cast<size_t>(std::min(size, kChunk));
            ssize_t written = -1;
            checked(filefaults::Op::Write, m_path, [&] {
                written = ::write(m_fd, data, chunk);
                return written < 0 ? -1 : 0;
            });
            if (written <= 0)
                return describe(m_target, "write failed", written < 0 ? errno : ENOSPC);
            data += written;
            size -= written;
        }
        return QString();
    }

    // Sync, close, rename and sync the folder: from here on the target is the new file.
    QString commit()
    {
        if (const int error = syncFails() ? EIO : sync())
            return describe(m_target, "sync failed", error);
        if (const QString error = rename(); !error.isEmpty())
            return error;
        if (syncFolder(folder()) != 0)
            return describe(m_target, "the new file was written but its folder could not be synced",
                            errno);
        return QString();
    }

    // The sync alone, for a caller that syncs several files at once: the fault seam is asked
    // first, on the caller's thread, so that its numbering does not depend on timing.
    bool syncFails() const { return filefaults::fails(filefaults::Op::Sync, m_path); }
    int sync() const { return fsyncOf(m_fd); }

    // Close and rename, once the file is synced.
    QString rename()
    {
        const int fd = m_fd;
        m_fd = -1;
        // close() reports write errors that the file system delayed. It is never repeated:
        // the descriptor is gone even when it was interrupted.
        const bool injected = filefaults::fails(filefaults::Op::Flush, m_path);
        if (::close(fd) != 0 || injected)
            return describe(m_target, "flush failed", injected ? EIO : errno);
        if (checked(filefaults::Op::Rename, m_target, [&] {
                return ::rename(native(m_path).constData(), native(m_target).constData());
            }) != 0)
            return describe(m_target, "rename failed", errno);
        m_path.clear();
        return QString();
    }

    QString target() const { return m_target; }
    QString folder() const { return QFileInfo(m_target).absolutePath(); }

private:
    QString m_target;
    NewFileMode m_mode;
    int m_copyMode;
    QString m_path;
    int m_fd = -1;
};

ReadResult readWholeFile(const QString& path, qint64 maxSize)
{
    ReadResult result;
    if (filefaults::readRefused(path)) {
        result.error = QString::fromLocal8Bit(std::strerror(EACCES));
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    if (file.size() > maxSize) {
        result.tooLarge = true;
        result.error = QStringLiteral("file too large");
        return result;
    }
    result.bytes = file.readAll();
    result.ok = file.error() == QFileDevice::NoError;
    if (!result.ok)
        result.error = file.errorString();
    return result;
}

QString workFolderOf(const QString& dataFolder)
{
    return dataFolder + u'/' + kWorkFolderName;
}

QString foreignFolderError(const QString& folder)
{
    struct stat st
    {
    };
    if (::lstat(native(folder).constData(), &st) != 0)
        return QString(); // not there (or below a file): nothing of it can be used either
    const QString name = QDir::toNativeSeparators(folder);
    QString why;
    if (S_ISLNK(st.st_mode))
        why = QStringLiteral("「%1」はシンボリックリンクのため、作業用フォルダとして使えません。");
    else if (!S_ISDIR(st.st_mode))
        why = QStringLiteral("「%1」はフォルダではないため、作業用フォルダとして使えません。");
    else if (st.st_uid != ::geteuid())
        why = QStringLiteral(
            "「%1」は他のユーザーのフォルダのため、作業用フォルダとして使えません。");
    else
        return QString();
    return why.arg(name) +
           QStringLiteral("\r\nここには何も書き込みません。中身を確かめてから削除し、もう一度実行"
                          "して下さい。");
}

bool createFolders(const QString& folder, unsigned mode, bool syncEach)
{
    QStringList missing;
    for (QString f = QDir::cleanPath(QDir(folder).absolutePath()); !QFileInfo(f).isDir();) {
        missing.prepend(f);
        const QString up = QFileInfo(f).absolutePath();
        if (up == f)
            break;
        f = up;
    }
    for (const QString& created : missing) {
        if (::mkdir(native(created).constData(), mode_t(mode)) != 0) {
            if (errno != EEXIST)
                return false;
            continue; // made meanwhile by another process: it keeps its mode
        }
        // The mode exactly, whatever the umask; each new entry is synced, so that a file
        // renamed into the folder later cannot vanish with it.
        if (::chmod(native(created).constData(), mode_t(mode)) != 0 ||
            (syncEach && syncFolder(QFileInfo(created).absolutePath()) != 0))
            return false;
    }
    return QFileInfo(folder).isDir();
}

int permissionBits(const QString& path)
{
    struct stat st
    {
    };
    return ::lstat(native(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

AtomicFileWriter::AtomicFileWriter(const QString& path, NewFileMode mode)
    : m_file(std::make_unique<Temporary>(path, mode))
{}

AtomicFileWriter::~AtomicFileWriter() = default;

QString AtomicFileWriter::open()
{
    return m_file->open();
}

QString AtomicFileWriter::write(const char* data, qsizetype size)
{
    return m_file->write(data, size);
}

QString AtomicFileWriter::commit()
{
    if (t_jointCommit) {
        t_jointCommit->adopt(std::move(m_file));
        m_file = std::make_unique<Temporary>(QString(), NewFileMode::Private); // spent
        return QString();
    }
    return m_file->commit();
}

namespace {

// Runs each of `calls` (each returning an errno, or 0), all at the same time: the disk then
// serves their syncs in one wait. The last one runs on this thread.
std::vector<int> runTogether(const std::vector<std::function<int()>>& calls)
{
    std::vector<int> results(calls.size(), 0);
    std::vector<std::thread> others;
    for (size_t i = 0; i + 1 < calls.size(); ++i)
        others.emplace_back([&, i] { results[i] = calls[i](); });
    if (!calls.empty())
        results.back() = calls.back()();
    for (std::thread& other : others)
        other.join();
    return results;
}

} // namespace

JointCommit::JointCommit() : m_outer(t_jointCommit)
{
    t_jointCommit = this;
}

JointCommit::~JointCommit()
{
    finish();
    t_jointCommit = m_outer;
}

void JointCommit::adopt(std::unique_ptr<AtomicFileWriter::Temporary> file)
{
    m_targets.append(file->target());
    m_files.push_back(std::move(file));
}

void JointCommit::syncBeforeRenames(const QString& folder, const QString& file)
{
    if (m_firstFolders.contains(folder))
        return;
    m_firstFolders.append(folder);
    m_firstFiles.append(file);
}

QString JointCommit::fileError(const QString& target) const
{
    const qsizetype index = m_targets.indexOf(target);
    return index < 0 ? QString() : m_errors.value(index);
}

QString JointCommit::finish()
{
    if (m_files.empty() && m_firstFolders.isEmpty())
        return QString();
    // The fault seam decides in a fixed order here; only the system calls run side by side.
    std::vector<std::function<int()>> syncs;
    for (const auto& file : m_files) {
        const bool fails = file->syncFails();
        syncs.emplace_back([&file, fails] { return fails ? EIO : file->sync(); });
    }
    for (const QString& folder : std::as_const(m_firstFolders))
        syncs.push_back(folderSyncCall(folder));
    const std::vector<int> synced = runTogether(syncs);
    QString blocked; // a record that may not last: then no file takes its name
    for (qsizetype i = 0; i < m_firstFolders.size() && blocked.isEmpty(); ++i) {
        if (const int error = synced[m_files.size() + size_t(i)])
            blocked = describe(m_firstFiles.at(i),
                               "the file was created but its folder could not be synced", error);
    }
    QString first = blocked;
    m_firstFolders.clear();
    m_firstFiles.clear();
    QStringList folders;
    QStringList folderFiles; // a file renamed into each folder, to name it
    for (size_t i = 0; i < m_files.size(); ++i) {
        QString error = !blocked.isEmpty() ? blocked
                        : synced[i] ? describe(m_files[i]->target(), "sync failed", synced[i])
                                    : m_files[i]->rename();
        if (error.isEmpty() && !folders.contains(m_files[i]->folder())) {
            folders.append(m_files[i]->folder());
            folderFiles.append(m_files[i]->target());
        }
        if (first.isEmpty())
            first = error;
        m_errors.append(error);
    }
    m_files.clear(); // what did not take its name is removed
    std::vector<std::function<int()>> folderSyncs;
    for (const QString& folder : std::as_const(folders))
        folderSyncs.push_back(folderSyncCall(folder));
    const std::vector<int> folderResults = runTogether(folderSyncs);
    for (size_t i = 0; i < folderResults.size(); ++i) {
        if (folderResults[i] && first.isEmpty())
            first = describe(folderFiles.at(qsizetype(i)),
                             "the new file was written but its folder could not be synced",
                             folderResults[i]);
    }
    return first;
}

QString writeFileAtomically(const QString& path, const QByteArray& bytes, NewFileMode mode)
{
    AtomicFileWriter file(path, mode);
    QString error = file.open();
    if (error.isEmpty())
        error = file.write(bytes.constData(), bytes.size());
    if (error.isEmpty())
        error = file.commit();
    return error;
}

QString copyFileAtomically(const QString& source, const QString& target)
{
    QFile in(source);
    const bool refused = filefaults::readRefused(source);
    if (refused || !in.open(QIODevice::ReadOnly))
        return QStringLiteral("「%1」: %2")
            .arg(QDir::toNativeSeparators(source),
                 refused ? QString::fromLocal8Bit(std::strerror(EACCES)) : in.errorString());
    struct stat original
    {
    };
    if (::fstat(in.handle(), &original) != 0)
        return describe(source, "cannot read the permissions", errno);
    AtomicFileWriter::Temporary file(target, NewFileMode::Private, int(original.st_mode & 0777));
    QString error = file.open();
    QByteArray buffer(kChunk, Qt::Uninitialized);
    while (error.isEmpty()) {
        const qint64 got = in.read(buffer.data(), buffer.size());
        if (got < 0)
            return QStringLiteral("「%1」: %2")
                .arg(QDir::toNativeSeparators(source), in.errorString());
        if (got == 0)
            break;
        error = file.write(buffer.constData(), got);
    }
    return error.isEmpty() ? file.commit() : error;
}

QString createFileDurably(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!createFolders(folder))
        return describe(path, "cannot create the folder", errno ? errno : EACCES);
    if (QFileInfo(folder).fileName() == kWorkFolderName) {
        if (const QString refusal = foreignFolderError(folder); !refusal.isEmpty())
            return refusal;
    }
    const int fd =
        ::open(native(path).constData(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return describe(path, "cannot create the file", errno);
    ::close(fd);
    if (t_jointCommit) {
        t_jointCommit->syncBeforeRenames(folder, path);
        return QString();
    }
    if (syncFolder(folder) != 0)
        return describe(path, "the file was created but its folder could not be synced", errno);
    return QString();
}

bool removeFileUnsynced(const QString& path)
{
    if (!QFileInfo::exists(path))
        return true;
    return checked(filefaults::Op::Remove, path,
                   [&] { return ::unlink(native(path).constData()); }) == 0;
}

bool removeFileDurably(const QString& path)
{
    if (!QFileInfo::exists(path))
        return true;
    return removeFileUnsynced(path) && syncFolder(QFileInfo(path).absolutePath()) == 0;
}

int removeDeadTemporaries(const QString& dataFolder)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d+)-\\d+-[0-9a-f]{6}\\.tmp$"));
    const QString folder = workFolderOf(dataFolder);
    if (!foreignFolderError(folder).isEmpty() || !createFolders(folder))
        return 0;
    int removed = 0;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const auto match = pattern.match(name);
        if (match.hasMatch() && processIsGone(match.captured(1).toLongLong()) &&
            QFile::remove(folder + u'/' + name))
            ++removed;
    }
    return removed;
}

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

struct ReadResult
{
    bool ok = false;
    bool tooLarge = false; // refused for its size; otherwise a failure is one to open or read
    QByteArray bytes;
    QString error;
};

// Reads a whole file; a file larger than `maxSize` is refused by its size, before any of it
// is read.
ReadResult readWholeFile(const QString& path, qint64 maxSize = 256 * 1024 * 1024);

// The hidden folder of our own inside a data folder: temporary files while they are
// written, and the records of saves in progress. Nothing else of ours lives in it.
QString workFolderOf(const QString& dataFolder);

// What a file the atomic writers create may be read by. A file that exists keeps its mode.
enum class NewFileMode {
    Private, // 0600, only the user: everything the programs keep
    Umask    // 0666 less the user's umask: a file put where the user chose
};

// Empty when `folder` is absent or a real folder (not a link) of this user; else a text for
// the user naming it. Our work and staging folders are used only then: nothing is written
// into, or removed from, one that fails.
QString foreignFolderError(const QString& folder);

// Creates `folder` and the missing folders above it with `mode` (only the user by default),
// syncing each new folder's entry unless the caller syncs them itself. Folders that exist
// keep their modes. True when `folder` is a folder afterwards.
bool createFolders(const QString& folder, unsigned mode = 0700, bool syncEach = true);

// The permission bits of `path` itself (a link is not followed), or -1 when it is not there.
int permissionBits(const QString& path);

// Writes `bytes` to a temporary file and renames it over `path`, then syncs the folder, so
// a crash leaves either the old or the new file. Every write, flush, sync and rename is
// checked; on a failure before the rename the old file is untouched. The temporary file
// lives in the work folder of the data folder that holds `path` (found among its parent
// folders), else beside `path` under a hidden name of ours. Creates missing folders.
// Returns an empty string on success, else a description that names the file.
QString writeFileAtomically(const QString& path, const QByteArray& bytes,
                            NewFileMode mode = NewFileMode::Private);

// The same for a file written piece by piece: the pieces go to the temporary file, and only
// commit() puts it in place of `path`. Dropped without commit(), it leaves `path` untouched.
class AtomicFileWriter
{
public:
    explicit AtomicFileWriter(const QString& path, NewFileMode mode = NewFileMode::Private);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Each returns an empty string on success, else a description that names the file.
    QString open();
    QString write(const char* data, qsizetype size);
    QString write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    QString commit();

    class Temporary;

private:
    std::unique_ptr<Temporary> m_file;
    friend QString copyFileAtomically(const QString& source, const QString& target);
};

// While one lives on a thread, the atomic writes of that thread are put in place together by
// finish(): the new files are synced at the same time (one wait for the disk, not one each),
// then take their names in the order they were written, then each of their folders is synced
// once. Until then a commit only hands its file over and reports success; what finish()
// could not do is told by fileError(). Every file is still synced before it takes its name.
class JointCommit
{
public:
    JointCommit();
    ~JointCommit(); // finishes, if finish() was not called
    JointCommit(const JointCommit&) = delete;
    JointCommit& operator=(const JointCommit&) = delete;

    // Puts the files in place; an empty string when all went well, else the first failure,
    // naming its file.
    QString finish();
    // What finish() could not do for the file written to `target`: empty when it took its
    // name (its folder's sync is told only by finish()).
    QString fileError(const QString& target) const;

    void adopt(std::unique_ptr<AtomicFileWriter::Temporary> file);
    // A folder whose entries must last before any of the files takes its name (a record
    // created in it says the files are on their way): synced together with the files. When
    // it fails, no file takes its name.
    void syncBeforeRenames(const QString& folder, const QString& file);

private:
    JointCommit* m_outer;
    QStringList m_firstFolders;
    QStringList m_firstFiles; // a file created in each of them, to name it
    std::vector<std::unique_ptr<AtomicFileWriter::Temporary>> m_files;
    QStringList m_targets;
    QStringList m_errors; // by file, once finished
};

// Copies `source` to `target` the same way: the target is either the old or a complete copy,
// with the source's permissions (a copy is never readable by more than its original).
QString copyFileAtomically(const QString& source, const QString& target);

// Makes sure an empty file named `path` exists (keeping one that does) and syncs its folder:
// for a mark whose name says all. Within a JointCommit the folder is synced with its files,
// before they take their names. Returns an empty string on success, else a description.
QString createFileDurably(const QString& path);

// Removes a file and syncs its folder. True when the file is gone afterwards.
bool removeFileDurably(const QString& path);
// Removes `path` without syncing its folder: for a file whose coming back after a power
// failure costs only some work at the next start. Returns true when it is gone.
bool removeFileUnsynced(const QString& path);

// Creates the work folder of `dataFolder` and removes the temporary files in it that
// processes no longer running left behind. Files of a running process (the diary and the
// assistant share the data folder) and every other file are kept, and so is everything in a
// work folder that foreignFolderError refuses. Returns how many went.
int removeDeadTemporaries(const QString& dataFolder);

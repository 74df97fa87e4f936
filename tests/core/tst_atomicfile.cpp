#include "core/AtomicFile.h"
#include "core/FileFaults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

qint64 deadPid()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

void touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

} // namespace

class TestAtomicFile : public QObject
{
    Q_OBJECT

private slots:
    void writeCreatesFoldersAndReplaces()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data/2026/07.log"));
        QVERIFY(writeFileAtomically(path, "first version, longer").isEmpty());
        QVERIFY(writeFileAtomically(path, "second").isEmpty());
        const ReadResult read = readWholeFile(path);
        QVERIFY(read.ok);
        QCOMPARE(read.bytes, QByteArray("second"));
        // Nothing but the file itself is left in the folder.
        QCOMPARE(
            QDir(dir.filePath(QStringLiteral("data/2026"))).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("07.log")});
    }

    // Start-up removes temporaries of processes that are gone, from our work folder only.
    void startUpRemovesOnlyDeadTemporaries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("removed");
        QTest::newRow("month copy") << "data/2026/07.log.backup" << false;
        QTest::newRow("settings copy") << "data/ini/zumicho.ini.backup" << false;
        QTest::newRow("total copy") << "data/0000/total.log.Copy01" << false;
        QTest::newRow("six characters after the name") << "data/2026/07.log.Ab12Cd" << false;
        QTest::newRow("temporary of a process that is gone")
            << "data/.zumi-work/DEAD-3-0a1b2c.tmp" << true;
        QTest::newRow("temporary of a running process")
            << "data/.zumi-work/LIVE-3-0a1b2c.tmp" << false;
        QTest::newRow("record of a save") << "data/.zumi-work/recount-2026-07" << false;
        QTest::newRow("a file of someone else") << "data/.zumi-work/notes.tmp" << false;
    }

    void startUpRemovesOnlyDeadTemporaries()
    {
        QFETCH(QString, name);
        QFETCH(bool, removed);
        name.replace("DEAD", QString::number(deadPid()))
            .replace("LIVE", QString::number(::getpid()));
        QTemporaryDir dir;
        touch(dir.filePath(name));
        QCOMPARE(removeDeadTemporaries(dir.filePath("data")), removed ? 1 : 0);
        QCOMPARE(QFile::exists(dir.filePath(name)), !removed);
    }

    // A work folder that is a link, no folder, or another user's is neither written into nor
    // tidied: the write fails naming it, and what the link leads to stays as it was.
    void foreignWorkFolderIsNeverUsed_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("link to a folder") << "link";
        QTest::newRow("link to nothing") << "dangling";
        QTest::newRow("a file") << "file";
        QTest::newRow("another user's folder") << "foreign"; // root only: chown
    }

    void foreignWorkFolderIsNeverUsed()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString data = dir.filePath("data");
        const QString work = workFolderOf(data);
        const QString elsewhere = dir.filePath("elsewhere");
        const QString dead = QStringLiteral("%1-0-0a1b2c.tmp").arg(deadPid());
        touch(elsewhere + u'/' + dead);
        QVERIFY(QDir().mkpath(data));
        if (kind == "link" || kind == "dangling")
            QVERIFY(QFile::link(kind == "link" ? elsewhere : dir.filePath("gone"), work));
        else if (kind == "file")
            touch(work);
        else if (::geteuid() != 0)
            QSKIP("only root can give a folder to another user");
        else
            QVERIFY(QDir().rename(elsewhere, work) &&
                    ::chown(QFile::encodeName(work).constData(), 65534, 65534) == 0);
        const QString shown = kind == "foreign" ? work : elsewhere;

        QVERIFY(foreignFolderError(work).contains(QDir::toNativeSeparators(work)));
        QCOMPARE(removeDeadTemporaries(data), 0);
        const QString path = data + "/ini/zumicho.ini";
        QVERIFY(writeFileAtomically(path, "new").contains(QDir::toNativeSeparators(work)));
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(
            createFileDurably(work + "/recount-2026-07").contains(QDir::toNativeSeparators(work)));
        if (kind != "file" && kind != "dangling")
            QCOMPARE(QDir(shown).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                     QStringList{dead});
        QVERIFY(!QFileInfo::exists(dir.filePath("gone")));
    }

    // Created files and folders are the user's alone whatever the umask; a replaced file
    // keeps its permissions, a copy takes its original's, an export the umask's.
    void permissionsOfWhatIsWritten()
    {
        QTemporaryDir dir;
        const mode_t umask = ::umask(022);
        const QString file = dir.filePath("data/2026/07.log");
        QVERIFY(writeFileAtomically(file, "new").isEmpty());
        const int created[] = {permissionBits(dir.filePath("data")),
                               permissionBits(dir.filePath("data/2026")), permissionBits(file)};
        QVERIFY(
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        QVERIFY(writeFileAtomically(file, "rewritten").isEmpty());
        const int rewritten = permissionBits(file);
        QVERIFY(copyFileAtomically(file, dir.filePath("copy/07.log")).isEmpty());
        QVERIFY(writeFileAtomically(dir.filePath("list.csv"), "a", NewFileMode::Umask).isEmpty());
        ::umask(umask);
        QCOMPARE(created[0], 0700);
        QCOMPARE(created[1], 0700);
        QCOMPARE(created[2], 0600);
        QCOMPARE(rewritten, 0640);
        QCOMPARE(permissionBits(dir.filePath("copy")), 0700);
        QCOMPARE(permissionBits(dir.filePath("copy/07.log")), 0640);
        QCOMPARE(permissionBits(dir.filePath("list.csv")), 0644);
    }

    // Each call of one write failing in turn: the old file stays unless the new one is
    // already in place, the error names the file, and no temporary is left.
    void failingCallIsReported_data()
    {
        QTest::addColumn<int>("call");
        QTest::addColumn<QByteArray>("left");
        QTest::newRow("write") << 1 << QByteArray("old");
        QTest::newRow("sync") << 2 << QByteArray("old");
        QTest::newRow("flush") << 3 << QByteArray("old");
        QTest::newRow("rename") << 4 << QByteArray("old");
        QTest::newRow("folder sync") << 5 << QByteArray("new and longer");
    }

    void failingCallIsReported()
    {
        QFETCH(int, call);
        QFETCH(QByteArray, left);
        QTemporaryDir dir;
        QDir().mkpath(workFolderOf(dir.filePath("data")));
        const QString path = dir.filePath("data/ini/zumicho.ini");
        QVERIFY(writeFileAtomically(path, "old").isEmpty());
        filefaults::start(call);
        const QString error = writeFileAtomically(path, "new and longer");
        QCOMPARE(filefaults::stop(), long(call)); // nothing runs after the failure
        QVERIFY(error.contains(QDir::toNativeSeparators(path)));
        QCOMPARE(readWholeFile(path).bytes, left);
        QVERIFY(QDir(workFolderOf(dir.filePath("data"))).isEmpty());
    }

    // Two files put in place together, with a record that must last before either takes its
    // name, each call failing in turn: write, write, then the syncs of both files and of the
    // record's folder at once, then flush and rename of each, then one folder sync. A file
    // that failed keeps its old content and is named; the other still takes its place.
    void jointCommitFailsFileByFile_data()
    {
        QTest::addColumn<int>("call");
        QTest::addColumn<QByteArray>("leftA");
        QTest::addColumn<QByteArray>("leftB");
        QTest::addColumn<QString>("named"); // what the errors name: "a", "b", "ab" (the record)
        QTest::addColumn<long>("calls");    // a file that failed skips what is left of it
        const QByteArray old("old");
        QTest::newRow("none") << 0 << QByteArray("new a") << QByteArray("new b") << "" << 10L;
        QTest::newRow("sync of a") << 3 << old << QByteArray("new b") << "a" << 8L;
        QTest::newRow("sync of b") << 4 << QByteArray("new a") << old << "b" << 8L;
        QTest::newRow("record's folder") << 5 << old << old << "ab" << 5L;
        QTest::newRow("flush of a") << 6 << old << QByteArray("new b") << "a" << 9L;
        QTest::newRow("rename of b") << 9 << QByteArray("new a") << old << "b" << 10L;
        QTest::newRow("folder sync")
            << 10 << QByteArray("new a") << QByteArray("new b") << "" << 10L;
    }

    void jointCommitFailsFileByFile()
    {
        QFETCH(int, call);
        QFETCH(QByteArray, leftA);
        QFETCH(QByteArray, leftB);
        QFETCH(QString, named);
        QFETCH(long, calls);
        QTemporaryDir dir;
        const QString work = workFolderOf(dir.filePath("data"));
        QDir().mkpath(work);
        const QString a = dir.filePath("data/0000/a.log");
        const QString b = dir.filePath("data/0000/b.log");
        QVERIFY(writeFileAtomically(a, "old").isEmpty());
        QVERIFY(writeFileAtomically(b, "old").isEmpty());
        filefaults::start(call);
        QString failure;
        QString errorA;
        QString errorB;
        {
            JointCommit commit;
            QVERIFY(writeFileAtomically(a, "new a").isEmpty());
            QVERIFY(writeFileAtomically(b, "new b").isEmpty());
            QVERIFY(createFileDurably(work + "/record").isEmpty());
            QCOMPARE(readWholeFile(a).bytes, QByteArray("old")); // nothing in place before finish
            failure = commit.finish();
            errorA = commit.fileError(a);
            errorB = commit.fileError(b);
        }
        QCOMPARE(filefaults::stop(), calls);
        QCOMPARE(readWholeFile(a).bytes, leftA);
        QCOMPARE(readWholeFile(b).bytes, leftB);
        QCOMPARE(failure.isEmpty(), call == 0);
        const QString record = QDir::toNativeSeparators(work + "/record");
        QCOMPARE(errorA.contains(QDir::toNativeSeparators(a)), named == u"a");
        QCOMPARE(errorB.contains(QDir::toNativeSeparators(b)), named == u"b");
        QCOMPARE(errorA.contains(record) && errorB.contains(record), named == u"ab");
        QCOMPARE(QDir(work).entryList({"*.tmp"}, QDir::Files), QStringList());
    }

    void copyIsCompleteAndChecked()
    {
        QTemporaryDir dir;
        const QByteArray big(200 * 1024, 'x');
        QVERIFY(writeFileAtomically(dir.filePath("a"), big).isEmpty());
        QVERIFY(copyFileAtomically(dir.filePath("a"), dir.filePath("b/c")).isEmpty());
        QCOMPARE(readWholeFile(dir.filePath("b/c")).bytes, big);
        filefaults::start(2);
        QVERIFY(!copyFileAtomically(dir.filePath("a"), dir.filePath("b/c")).isEmpty());
        filefaults::stop();
        QCOMPARE(readWholeFile(dir.filePath("b/c")).bytes, big);
        QVERIFY(copyFileAtomically(dir.filePath("missing"), dir.filePath("d"))
                    .contains(dir.filePath("missing")));
        QVERIFY(!QFile::exists(dir.filePath("d")));
    }

    void failedReadIsReported()
    {
        const ReadResult read = readWholeFile(QStringLiteral("/nonexistent/file"));
        QVERIFY(!read.ok);
        QVERIFY(!read.error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"

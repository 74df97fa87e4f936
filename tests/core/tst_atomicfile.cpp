#include "core/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
        QCOMPARE(QDir(dir.filePath(QStringLiteral("data/2026"))).entryList(QDir::Files),
                 QStringList{QStringLiteral("07.log")});
    }

    void strayTemporariesAreRemovedOthersKept()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("data/2026"));
        const QStringList names{QStringLiteral("data/2026/07.log"), QStringLiteral("data/2026/07.log.Ab12Cd"),
                                QStringLiteral("data/user.dat.x1y2z3"), QStringLiteral("data/notes.txt")};
        for (const QString& name : names) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QCOMPARE(removeStrayTemporaries(dir.filePath(QStringLiteral("data"))), 2);
        QVERIFY(QFile::exists(dir.filePath(names[0])));
        QVERIFY(!QFile::exists(dir.filePath(names[1])));
        QVERIFY(!QFile::exists(dir.filePath(names[2])));
        QVERIFY(QFile::exists(dir.filePath(names[3])));
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

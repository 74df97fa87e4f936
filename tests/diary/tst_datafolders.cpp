#include "diary/DataFolders.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestDataFolders : public QObject
{
    Q_OBJECT

private slots:
    void yearFoldersOnly()
    {
        QTemporaryDir dir;
        QDir root(dir.path());
        for (const char* sub : {"0000", "2026", "2025", "ini", "2026/extra", "backup"})
            QVERIFY(root.mkpath(QString::fromLatin1(sub)));
        QCOMPARE(listYearFolders(dir.path()), (QStringList{"2025", "2026"}));
        QVERIFY(listYearFolders(dir.filePath("missing")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDataFolders)
#include "tst_datafolders.moc"

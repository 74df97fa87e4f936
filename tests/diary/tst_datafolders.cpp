#include "diary/DataFolders.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestDataFolders : public QObject
{
    Q_OBJECT

private slots:
    void listsDepthFirstWithBothSwitches()
    {
        QTemporaryDir dir;
        QDir root(dir.path());
        for (const char* sub : {"0000", "2025", "2026", "ini", "2026/extra"})
            QVERIFY(root.mkpath(QString::fromLatin1(sub)));
        QCOMPARE(ListDataFolders(dir.path(), false, true),
                 (QStringList{"0000", "2025", "2026", "xtra", "ini"}));
        QCOMPARE(ListDataFolders(dir.path(), false, false), (QStringList{"0000", "2025", "2026", "xtra"}));
        const QStringList full = ListDataFolders(dir.path(), true, false);
        QCOMPARE(full.size(), 4);
        QCOMPARE(full[3], QDir::toNativeSeparators(dir.path() + "/2026/extra"));
        QCOMPARE(listYearFolders(dir.path()), (QStringList{"2025", "2026"}));
        QVERIFY(ListDataFolders(dir.filePath("missing"), true, true).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDataFolders)
#include "tst_datafolders.moc"

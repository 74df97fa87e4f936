#include "core/AppPaths.h"
#include "diary/DataFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

    // An install marked system-wide keeps the same layout below the user's data folder.
    void installedLayout_data()
    {
        QTest::addColumn<bool>("marked");
        QTest::newRow("program folder") << false;
        QTest::newRow("system-wide") << true;
    }
    void installedLayout()
    {
        QFETCH(bool, marked);
        QTemporaryDir dir;
        const QString program = dir.filePath("usr/lib/zumicho");
        QVERIFY(QDir().mkpath(program));
        if (marked) {
            QFile mark(program + u'/' + AppPaths::kSystemInstallMark);
            QVERIFY(mark.open(QIODevice::WriteOnly));
        }
        qputenv("XDG_DATA_HOME", dir.filePath("share").toUtf8());
        const AppPaths paths = AppPaths::forInstall(program);
        qunsetenv("XDG_DATA_HOME");
        const QString home = marked ? dir.filePath("share/zumicho") : program;
        QCOMPARE(paths.programFolder(), program);
        QCOMPARE(paths.dataHome(), home);
        QCOMPARE(paths.dataFolder(), home + "/data");
        QCOMPARE(paths.monthFilePath("2026", "07"), home + "/data/2026/07.log");
        QCOMPARE(paths.settingsPath(), home + "/data/ini/zumicho.ini");
        QCOMPARE(paths.oldSettingsPath(), home + "/zumicho.ini");
        if (marked) // the lock beside data/ needs its folder, the user's alone
            QVERIFY(!(QFile::permissions(home) &
                      (QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther)));
        QVERIFY(!QFileInfo::exists(dir.filePath("share/zumicho")) || marked);
    }
};

QTEST_GUILESS_MAIN(TestDataFolders)
#include "tst_datafolders.moc"

#include "diary/Backup.h"
#include "diary/Startup.h"
#include "forms/EntryTableModel.h"
#include "support/MainWindowHarness.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <sys/mount.h>
#include <unistd.h>

namespace {

const QDate kDay(2026, 12, 7);

// Every file below `folder` by relative path, with its bytes.
QMap<QString, QByteArray> filesBelow(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        files.insert(QDir(folder).relativeFilePath(path), file.readAll());
    }
    return files;
}

// What a backup folder holds, without the list of files the backup wrote.
QMap<QString, QByteArray> backupFiles(const QString& folder)
{
    auto files = filesBelow(folder);
    files.remove(".zumicho_backup_files");
    return files;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Makes a folder read-only while it lives: a read-only bind mount of it over itself for root,
// who ignores permissions, else its folders' write permissions taken away.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString& folder) : m_path(QFile::encodeName(folder))
    {
        if (::geteuid() == 0) {
            m_mounted =
                ::mount(m_path.constData(), m_path.constData(), nullptr, MS_BIND, nullptr) == 0;
            if (m_mounted && ::mount(nullptr, m_path.constData(), nullptr,
                                     MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
                ::umount2(m_path.constData(), MNT_DETACH);
                m_mounted = false;
            }
            return;
        }
        m_folders.append(folder);
        QDirIterator it(folder, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            m_folders.append(it.next());
        for (const QString& f : m_folders)
            QFile::setPermissions(f, QFile::ReadOwner | QFile::ExeOwner);
    }
    ~ReadOnlyFolder()
    {
        if (m_mounted)
            ::umount2(m_path.constData(), MNT_DETACH);
        for (const QString& f : m_folders)
            QFile::setPermissions(f, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // False when root may not mount here (a container without the right).
    bool made() const { return m_mounted || !m_folders.isEmpty(); }

private:
    QByteArray m_path;
    bool m_mounted = false;
    QStringList m_folders;
};

} // namespace

class TestBackup : public QObject
{
    Q_OBJECT

private slots:
    void names();
    void backupCopiesEveryFileAndReplacesTheSameDay();
    void backupOnlyReadsTheDataFolder();
    void leftoversOfAKilledBackupAreTidied_data();
    void leftoversOfAKilledBackupAreTidied();
    void restoreBringsBackExactlyTheBackup();
    void refusedRestoresChangeNothing();
    void interruptedRestoreIsFinished();
    void linkedStagingIsNeverUsed_data();
    void linkedStagingIsNeverUsed();
    void throughTheWindow();
};

void TestBackup::names()
{
    QCOMPARE(backupTargetFor("/media/usb", kDay), QString("/media/usb/20261207_zumicho_backup"));
    QCOMPARE(backupTargetFor("D:\\", kDay), QString("D:\\20261207_zumicho_backup"));
    QVERIFY(hasBackupFolderName("/x/old_zumicho_backup"));
    QVERIFY(hasBackupFolderName("/x/zumicho_backup"));
    QVERIFY(!hasBackupFolderName("/x/20261207_zumicho_backup2"));
    QVERIFY(!hasBackupFolderName(
        "/x/zumicho_backup/20261207_zumicho_backup")); // first occurrence counts
}

void TestBackup::backupCopiesEveryFileAndReplacesTheSameDay()
{
    MainWindowHarness h(kDay);
    h.folder.writeMonth("2026", "07", {makeEntry("2026/07/01", "1")});
    const QString data = h.folder.paths().dataFolder();
    writeFile(data + "/0000/total.log", "total");
    writeFile(data + "/.apply/2026/07.log", "half-done key change");
    QTemporaryDir place;

    QCOMPARE(backupData(h.folder.paths(), place.path(), kDay), QString());
    const QString target = place.path() + "/20261207_zumicho_backup";
    auto expected = filesBelow(data);
    expected.remove(".apply/2026/07.log");
    QCOMPARE(backupFiles(target), expected);
    QCOMPARE(QDir(place.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"20261207_zumicho_backup"});

    // The second backup of the day replaces what the first one wrote; files the user put
    // into the folder stay.
    writeFile(target + "/メモ.txt", "notes");
    writeFile(target + "/2026/写真.jpg", "picture");
    QDir(h.folder.paths().yearFolder("2026")).removeRecursively();
    writeFile(data + "/2025/12.log", "december");
    QCOMPARE(backupData(h.folder.paths(), place.path(), kDay), QString());
    expected = filesBelow(data);
    expected.remove(".apply/2026/07.log");
    expected.insert("メモ.txt", "notes");
    expected.insert("2026/写真.jpg", "picture");
    QCOMPARE(backupFiles(target), expected);

    // A backup into the data folder itself would copy into what it copies.
    QVERIFY(!backupData(h.folder.paths(), data, kDay).isEmpty());
    QVERIFY(!QFileInfo::exists(data + "/20261207_zumicho_backup"));
}

// A data folder that cannot be written is backed up, and stays as it was to the byte.
void TestBackup::backupOnlyReadsTheDataFolder()
{
    MainWindowHarness h(kDay);
    h.folder.writeMonth("2026", "07", {makeEntry("2026/07/01", "1")});
    writeFile(h.folder.paths().totalSummaryPath(), "total");
    h.start();
    const QString data = h.folder.paths().dataFolder();
    const auto files = filesBelow(data);
    QTemporaryDir place;
    {
        const ReadOnlyFolder readOnly(data);
        if (!readOnly.made())
            QSKIP("a read-only bind mount is not permitted here");
        QVERIFY(!QFile(data + "/probe").open(QIODevice::WriteOnly));
        h.dialogs.queueFolder(place.path());
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.button("cmdBackUp")->click();
        QCOMPARE(h.dialogs.shown.size(), 1);
        QCOMPARE(h.dialogs.shown[0].box.caption, QString("完了"));
    }
    QCOMPARE(filesBelow(data), files);
    QCOMPARE(backupFiles(place.path() + "/20261207_zumicho_backup"), files);
    QCOMPARE(
        QDir(h.folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList{"data"}); // nothing left beside the data either
}

void TestBackup::leftoversOfAKilledBackupAreTidied_data()
{
    QTest::addColumn<int>("leftover");
    QTest::addColumn<QString>("next"); // what comes next: a start, a backup or a restore
    QTest::addColumn<QString>("mark"); // below the program folder
    // A complete copy is finished; anything else goes, and the day's backup is never only
    // in a leftover.
    const QString mark = "data.backup_pending";
    QTest::newRow("complete copy not moved in, next start") << 0 << "start" << mark;
    QTest::newRow("complete copy not moved in, next backup") << 0 << "backup" << mark;
    QTest::newRow("complete copy not moved in, restored from") << 0 << "restore"
                                                               << "";
    QTest::newRow("incomplete copy, next start") << 1 << "start" << mark;
    QTest::newRow("backup only as .old, next start") << 2 << "start" << mark;
    QTest::newRow(".old beside the backup, next backup") << 3 << "backup" << mark;
    QTest::newRow("mark cut short, next start") << 4 << "start" << mark;
    QTest::newRow("mark of an earlier version, next start") << 0 << "start"
                                                            << "data/.backup_pending";
}

void TestBackup::leftoversOfAKilledBackupAreTidied()
{
    QFETCH(int, leftover);
    QFETCH(QString, next);
    QFETCH(QString, mark);
    MainWindowHarness h(kDay);
    h.folder.writeMonth("2026", "07", {makeEntry("2026/07/01", "1")});
    const QString data = h.folder.paths().dataFolder();
    QTemporaryDir place;
    const QString target = place.path() + "/20261207_zumicho_backup";
    QCOMPARE(backupData(h.folder.paths(), place.path(), kDay), QString());
    writeFile(data + "/2026/08.log", "changed after the backup");
    switch (leftover) {
    case 0: { // copied completely, killed before it was moved into the folder
        QTemporaryDir elsewhere;
        QCOMPARE(backupData(h.folder.paths(), elsewhere.path(), kDay), QString());
        QVERIFY(QDir().rename(elsewhere.path() + "/20261207_zumicho_backup", target + ".partial"));
        break;
    }
    case 1:
        writeFile(target + ".partial/2026/07.log", "half");
        break;
    case 2:
        QVERIFY(QDir().rename(target, target + ".old"));
        break;
    case 3:
        writeFile(target + ".old/2026/07.log", "older");
        break;
    }
    // The mark names the backup folder on a line; the earlier version's mark had no line end.
    // Without a mark (none could be written), the copy beside the folder is the only sign.
    const QByteArray line = target.toUtf8() + (mark.startsWith("data/") ? "" : "\n");
    if (!mark.isEmpty())
        writeFile(h.folder.path() + '/' + mark, leftover == 4 ? line.left(10) : line);
    const auto before = backupFiles(target + (leftover == 2 ? ".old" : ""));
    const auto dataNow = filesBelow(data);

    if (next == "start") {
        QVERIFY(prepareDataFolders(h.folder.paths(), h.dialogs).has_value());
        QCOMPARE(backupFiles(target), leftover == 0 ? filesBelow(data) : before);
    } else if (next == "backup") {
        QCOMPARE(backupData(h.folder.paths(), place.path(), kDay), QString());
        QCOMPARE(backupFiles(target), filesBelow(data));
    } else {
        // The backup is finished first: what comes back is the complete copy, not a mix.
        QCOMPARE(restoreData(h.folder.paths(), target), QString());
        QCOMPARE(filesBelow(data), dataNow);
    }
    QCOMPARE(QDir(place.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"20261207_zumicho_backup"});
    QVERIFY(mark.isEmpty() || !QFileInfo::exists(h.folder.path() + '/' + mark));
}

void TestBackup::restoreBringsBackExactlyTheBackup()
{
    MainWindowHarness h(kDay);
    const QString data = h.folder.paths().dataFolder();
    QTemporaryDir backup;
    writeFile(backup.path() + "/ini/zumicho.ini", "restored settings");
    writeFile(backup.path() + "/2024/03.log", "march");
    writeFile(backup.path() + "/0000/2024.log", "year");
    h.folder.writeMonth("2026", "07", {makeEntry("2026/07/01", "1")});
    writeFile(data + "/notes.txt", "not data of the diary");

    QCOMPARE(restoreData(h.folder.paths(), backup.path()), QString());
    auto expected = filesBelow(backup.path());
    expected.insert("notes.txt", "not data of the diary");
    QCOMPARE(filesBelow(data), expected);
    QFile::remove(data + "/notes.txt");
    QCOMPARE(
        QDir(h.folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList{"data"}); // no staging left behind

    // A backup without settings keeps the settings in use.
    QTemporaryDir noSettings;
    writeFile(noSettings.path() + "/2023/01.log", "january");
    QCOMPARE(restoreData(h.folder.paths(), noSettings.path()), QString());
    QCOMPARE(filesBelow(data).keys(), QStringList({"2023/01.log", "ini/zumicho.ini"}));
    QCOMPARE(filesBelow(data).value("ini/zumicho.ini"), QByteArray("restored settings"));
}

void TestBackup::refusedRestoresChangeNothing()
{
    MainWindowHarness h(kDay);
    h.folder.writeMonth("2026", "07", {makeEntry("2026/07/01", "1")});
    const QString data = h.folder.paths().dataFolder();
    const auto before = filesBelow(data);

    QTemporaryDir notBackup;
    writeFile(notBackup.path() + "/photos/a.jpg", "jpeg");
    writeFile(notBackup.path() + "/2024/empty/x",
              "deeper only"); // year folder without files of its own
    QVERIFY(!looksLikeBackup(notBackup.path()));
    QVERIFY(!restoreData(h.folder.paths(), notBackup.path()).isEmpty());
    QCOMPARE(filesBelow(data), before);

    // Restoring from inside the data folder, or while a key change is unfinished, is refused.
    QVERIFY(!restoreData(h.folder.paths(), data).isEmpty());
    QTemporaryDir backup;
    writeFile(backup.path() + "/2024/03.log", "march");
    QDir().mkpath(data + "/.apply");
    QVERIFY(!restoreData(h.folder.paths(), backup.path()).isEmpty());
    QDir(data + "/.apply").removeRecursively();
    QCOMPARE(filesBelow(data), before);

    // When the restored copy cannot be built beside the data, nothing is replaced.
    writeFile(h.folder.path() + "/data.restore", "a file in the way");
    QVERIFY(!restoreData(h.folder.paths(), backup.path()).isEmpty());
    QCOMPARE(filesBelow(data), before);
}

void TestBackup::interruptedRestoreIsFinished()
{
    // Cut short after the old data was moved aside: the complete restored copy goes in.
    MainWindowHarness h(kDay);
    const QString program = h.folder.path();
    const QString data = h.folder.paths().dataFolder();
    QVERIFY(QDir().rename(data, program + "/data.old"));
    writeFile(program + "/data.ready/2024/03.log", "march");
    finishInterruptedRestore(h.folder.paths());
    QCOMPARE(filesBelow(data).keys(), QStringList{"2024/03.log"});
    QVERIFY(!QFileInfo::exists(program + "/data.old"));

    // Cut short while copying: the half copy goes, the data stays.
    writeFile(program + "/data.restore/2025/01.log", "half");
    finishInterruptedRestore(h.folder.paths());
    QCOMPARE(filesBelow(data).keys(), QStringList{"2024/03.log"});
    QVERIFY(!QFileInfo::exists(program + "/data.restore"));

    // Moved aside but no complete copy: the old data comes back.
    QVERIFY(QDir().rename(data, program + "/data.old"));
    finishInterruptedRestore(h.folder.paths());
    QCOMPARE(filesBelow(data).keys(), QStringList{"2024/03.log"});
}

void TestBackup::linkedStagingIsNeverUsed_data()
{
    QTest::addColumn<QString>("name"); // {place}: where the backup goes
    QTest::addColumn<bool>("backup");  // else a restore from the backup
    QTest::newRow("backup staging") << "{place}/20261207_zumicho_backup.partial" << true;
    QTest::newRow("earlier backup aside") << "{place}/20261207_zumicho_backup.old" << true;
    QTest::newRow("restore staging") << "{program}/data.restore" << false;
    QTest::newRow("restored copy") << "{program}/data.ready" << false;
}

// A link in the place of a staging folder is refused by name; what it leads to stays as it
// was, also when a start tidies after a killed backup.
void TestBackup::linkedStagingIsNeverUsed()
{
    QFETCH(QString, name);
    QFETCH(bool, backup);
    MainWindowHarness h(kDay);
    h.folder.writeMonth("2026", "07", {makeEntry("2026/07/01", "1")});
    QTemporaryDir place;
    QTemporaryDir elsewhere;
    writeFile(elsewhere.path() + "/.zumicho_backup_files", "2026/07.log\n");
    writeFile(elsewhere.path() + "/2026/07.log", "the user's own");
    const auto there = filesBelow(elsewhere.path());
    const QString target = place.path() + "/20261207_zumicho_backup";
    if (!backup)
        QCOMPARE(backupData(h.folder.paths(), place.path(), kDay), QString());
    const QString link =
        QString(name).replace("{place}", place.path()).replace("{program}", h.folder.path());
    QVERIFY(QFile::link(elsewhere.path(), link));
    const auto data = filesBelow(h.folder.paths().dataFolder());

    const QString error = backup ? backupData(h.folder.paths(), place.path(), kDay)
                                 : restoreData(h.folder.paths(), target);
    QVERIFY2(error.contains(QDir::toNativeSeparators(link)), qPrintable(error));
    writeFile(h.folder.path() + "/data.backup_pending", target.toUtf8() + '\n');
    finishInterruptedBackup(h.folder.paths());
    finishInterruptedRestore(h.folder.paths());
    QCOMPARE(filesBelow(elsewhere.path()), there);
    QCOMPARE(filesBelow(h.folder.paths().dataFolder()), data);
    QCOMPARE(QFileInfo::exists(target), !backup);
}

void TestBackup::throughTheWindow()
{
    MainWindowHarness h(kDay, "[Setting]\r\n");
    h.folder.writeMonth("2026", "12", {makeEntry("2026/12/01", "1")});
    frmMain& w = h.start();
    QCOMPARE(h.button("cmdBackUp")->text(), QString("ﾊﾞｯｸｱｯﾌﾟ(&B)"));
    QCOMPARE(h.button("cmdRestore")->text(), QString("ﾘｽﾄｱ(&R)"));
    QTemporaryDir place;

    h.dialogs.queueFolder(place.path());
    h.dialogs.queueAnswer(MessageAnswer::Ok);
    h.button("cmdBackUp")->click();
    QCOMPARE(h.dialogs.shown.last().box.text, QString("バックアップが完了しました。"));
    const QString backup = place.path() + "/20261207_zumicho_backup";
    QCOMPARE(backupFiles(backup), filesBelow(h.folder.paths().dataFolder()));

    // A backup that cannot be written is reported and the day's earlier backup stays.
    writeFile(backup + ".partial", "a file in the way");
    h.dialogs.queueFolder(place.path());
    h.dialogs.queueAnswer(MessageAnswer::Ok);
    h.button("cmdBackUp")->click();
    QCOMPARE(h.dialogs.shown.last().box.caption, QString("エラー"));
    QCOMPARE(backupFiles(backup), filesBelow(h.folder.paths().dataFolder()));
    QFile::remove(backup + ".partial");

    // After the backup the month gets a second entry; the restore takes it away again.
    h.folder.writeMonth("2026", "12", {makeEntry("2026/12/01", "1"), makeEntry("2026/12/02", "2")});
    w.monthPage().LoadMonthFile();
    QCOMPARE(w.monthModel()->rowCount(), 2);

    h.dialogs.clearShown();
    h.dialogs.queueAnswer(MessageAnswer::Yes);
    h.dialogs.queueAnswer(MessageAnswer::Ok); // the wrong name
    h.dialogs.queueAnswer(MessageAnswer::Ok); // done
    h.dialogs.queueFolder(place.path());      // wrong name: asked again
    h.dialogs.queueFolder(backup);
    h.button("cmdRestore")->click();
    QVERIFY(h.dialogs.allAnswersUsed());
    // The picker shows the whole prompt, the hint on its second line included.
    QCOMPARE(h.dialogs.folderPrompts.last(),
             QString("【yyyyMMdd_zumicho_backup】フォルダを指定して下さい。\r\n"
                     "※yyyyMMddの部分は、バックアップした年月日が割り当てられています。"));
    QCOMPARE(h.dialogs.shown.size(), 3);
    QCOMPARE(h.dialogs.shown[1].box.caption, QString("エラー"));
    QCOMPARE(h.dialogs.shown[2].box.text,
             QString("復元は正常に行われました。\r\n適用させるために一旦終了します。"));
    QCOMPARE(w.monthModel()->rowCount(), 1);
    QCOMPARE(filesBelow(h.folder.paths().dataFolder()), backupFiles(backup));
    QVERIFY(!w.isVisible());
}

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"

#include "core/AtomicFile.h"
#include "core/Clock.h"
#include "core/DamagedFile.h"
#include "core/FileFaults.h"
#include "core/Scramble.h"
#include "diary/MonthFile.h"
#include "diary/Settings.h"
#include "forms/DiaryInstance.h"
#include "forms/EntryTableModel.h"
#include "forms/MonthPage.h"
#include "forms/SettingsPage.h"
#include "forms/frmMain.h"
#include "platform/SingleInstance.h"
#include "support/MainWindowHarness.h"
#include "support/ScriptedDialogs.h"
#include "support/TempProgramFolder.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Another process's environment: its own temporary folder.
QProcessEnvironment environmentWithOwnTemp()
{
    static QTemporaryDir temp;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), temp.path());
    return environment;
}

struct Started
{
    int status = -1;
    QString out;
};

// A diary start on `dataFolder` in a process of its own, with another TMPDIR.
Started startElsewhere(const QString& dataFolder, const char* mode)
{
    QProcess process;
    process.setProcessEnvironment(environmentWithOwnTemp());
    process.start(QStringLiteral(SINGLEINSTANCE_HELPER), {dataFolder, QString::fromLatin1(mode)});
    if (!process.waitForFinished(20000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput())};
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;

private slots:
    void initTestCase()
    {
        // The shortcut goes to the desktop of a throw-away home folder.
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (m_home.path() + "/.config").toUtf8());
        QCoreApplication::setApplicationVersion(QStringLiteral("1.5"));
    }

    void firstStartInAnEmptyFolder()
    {
        TempProgramFolder folder;
        ScriptedDialogs dialogs;
        FixedClock clock(QDate(2026, 7, 15));
        dialogs.queueAnswer(MessageAnswer::Yes);
        QFile icon(folder.path() + QStringLiteral("/zumicho.svg")); // as installed
        QVERIFY(icon.open(QIODevice::WriteOnly));
        icon.close();
        frmMain window(AppContext{folder.paths(), dialogs, clock});
        QVERIFY(window.Form_Load());

        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].box.caption, QStringLiteral("ズミラ帳初回起動"));
        QCOMPARE(dialogs.shown[0].box.text,
                 QStringLiteral("デスクトップ上にショートカットを作成しますか？"));
        QCOMPARE(dialogs.shown[0].box.icon, MessageIcon::Question);
        QVERIFY(QDir(folder.paths().iniFolder()).exists());
        const QByteArray settings = folder.plainFile("data/ini/zumicho.ini");
        QVERIFY(settings.startsWith("[Setting]\r\nFormatKey=1\r\n"));
        QCOMPARE(window.findChild<QDateEdit*>("dtpDate")->date(), QDate(2026, 7, 15));
        QCOMPARE(window.monthModel()->rowCount(), 0);
        QCOMPARE(window.findChild<QLabel*>("lblVersion")->text(),
                 QStringLiteral("ズミラ帳 Version 1.05"));

        const QString shortcut = m_home.path() + QStringLiteral("/Desktop/ズミラ帳.desktop");
        QFile entry(shortcut);
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(entry.readAll());
        QVERIFY(text.contains(QStringLiteral("Name=ズミラ帳")));
        QVERIFY(text.contains(QStringLiteral("Exec=\"") + folder.path() +
                              QStringLiteral("/zumicho\"")));
        QVERIFY(text.contains(QStringLiteral("\nIcon=") + icon.fileName() + u'\n'));
        QVERIFY(QFile::permissions(shortcut) & QFile::ExeOwner);
    }

    void oldSettingsFileIsMovedInScrambled()
    {
        TempProgramFolder folder;
        const QByteArray old = "[Setting]\r\nFormatKey=0\r\nSortOn=0\r\n";
        QFile file(folder.paths().oldSettingsPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(old);
        file.close();
        ScriptedDialogs dialogs;
        FixedClock clock(QDate(2026, 7, 15));
        frmMain window(AppContext{folder.paths(), dialogs, clock});
        QVERIFY(window.Form_Load());
        QVERIFY(dialogs.shown.isEmpty()); // no first-start question
        QVERIFY(!QFile::exists(folder.paths().oldSettingsPath()));
        QVERIFY(window.state().settings.keyIsEndDay);
        QVERIFY(!window.state().settings.sortOn);
    }

    void contestSiteOpensAtStartWhenAsked()
    {
        MainWindowHarness off(QDate(2026, 7, 15));
        off.start();
        QVERIFY(off.dialogs.openedUrls.isEmpty());
        MainWindowHarness on(QDate(2026, 7, 15), "[Setting]\r\nStartZumira=1\r\n");
        on.start();
        QCOMPARE(on.dialogs.openedUrls.size(), 1);
        QVERIFY(on.dialogs.openedUrls[0].startsWith(QStringLiteral("https://www.example.jp/")));
    }

    void bothFilesPresentUsesTheDataFolderOne()
    {
        TempProgramFolder folder;
        folder.writeSettings("[Setting]\r\nDeleteKakunin=1\r\n");
        QFile file(folder.paths().oldSettingsPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Setting]\r\nDeleteKakunin=0\r\n");
        file.close();
        ScriptedDialogs dialogs;
        FixedClock clock(QDate(2026, 7, 15));
        frmMain window(AppContext{folder.paths(), dialogs, clock});
        QVERIFY(window.Form_Load());
        QVERIFY(!QFile::exists(folder.paths().oldSettingsPath()));
        QVERIFY(window.state().settings.deleteKakunin);
    }

    void currentMonthIsLoaded()
    {
        TempProgramFolder folder;
        folder.writeSettings("[Setting]\r\n");
        folder.writeMonth("2026", "07",
                          {makeEntry("2026/07/01", "1"), makeEntry("2026/07/20", "2")});
        ScriptedDialogs dialogs;
        FixedClock clock(QDate(2026, 7, 15));
        frmMain window(AppContext{folder.paths(), dialogs, clock});
        QVERIFY(window.Form_Load());
        QCOMPARE(window.monthModel()->rowCount(), 2);
        QCOMPARE(window.monthModel()->entry(1)[ID], QStringLiteral("2"));
        QCOMPARE(window.monthModel()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("応募日"));
    }

    // Copies the user keeps beside the data look like temporary files, but are not ours.
    void usersCopiesSurviveAStart_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("month") << "data/2026/07.log.backup";
        QTest::newRow("settings") << "data/ini/zumicho.ini.backup";
        QTest::newRow("total") << "data/0000/total.log.Copy01";
        QTest::newRow("profile") << "data/ini/user.dat.Ab12Cd";
    }

    void usersCopiesSurviveAStart()
    {
        QFETCH(QString, name);
        MainWindowHarness h(QDate(2026, 7, 15));
        QDir().mkpath(QFileInfo(h.folder.path() + '/' + name).absolutePath());
        QFile copy(h.folder.path() + '/' + name);
        QVERIFY(copy.open(QIODevice::WriteOnly));
        copy.write("kept");
        copy.close();
        h.start();
        QVERIFY(QFile::exists(copy.fileName()));
    }

    // A link in the place of our work or staging folders: start-up says so, naming it, and
    // ends; nothing is written into or removed from where the link leads.
    void linkedWorkFolderStopsTheStart_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("work folder") << "data/.zumi-work";
        QTest::newRow("apply staging") << "data/.apply";
        QTest::newRow("restore staging") << "data.restore";
        QTest::newRow("restored copy") << "data.ready";
    }

    void linkedWorkFolderStopsTheStart()
    {
        QFETCH(QString, name);
        TempProgramFolder folder;
        ScriptedDialogs dialogs;
        FixedClock clock(QDate(2026, 7, 15));
        QTemporaryDir elsewhere;
        // What a killed process of ours would have left: a temporary, a half staged copy.
        const QStringList left = {"2147483646-0-0a1b2c.tmp", "commit", "2026/07.log"};
        for (const QString& file : left)
            QVERIFY(writeFileAtomically(elsewhere.filePath(file), "keep").isEmpty());
        const QString link = folder.path() + u'/' + name;
        QVERIFY(QDir().mkpath(folder.paths().dataFolder()));
        QVERIFY(QFile::link(elsewhere.path(), link));
        dialogs.queueAnswer(MessageAnswer::Ok);
        frmMain window(AppContext{folder.paths(), dialogs, clock});
        QVERIFY(!window.Form_Load());

        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].box.caption, QStringLiteral("起動エラー"));
        QCOMPARE(dialogs.shown[0].box.icon, MessageIcon::Critical);
        QVERIFY(dialogs.shown[0].box.text.startsWith(
            QStringLiteral("「%1」はシンボリックリンク").arg(QDir::toNativeSeparators(link))));
        QVERIFY(!QFileInfo::exists(folder.paths().settingsPath()));
        QDirIterator it(elsewhere.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        QStringList there;
        while (it.hasNext())
            there.append(QDir(elsewhere.path()).relativeFilePath(it.next()));
        there.sort();
        QStringList kept = left;
        kept.sort();
        QCOMPARE(there, kept);
    }

    void endStoresPositionAndDropsUnappliedSettings()
    {
        TempProgramFolder folder;
        folder.writeSettings(
            "[Setting]\r\nSortOn=1\r\n[Position]\r\nMainTop=1500\r\nMainLeft=3000\r\n");
        ScriptedDialogs dialogs;
        FixedClock clock(QDate(2026, 7, 15));
        frmMain window(AppContext{folder.paths(), dialogs, clock});
        QVERIFY(window.Form_Load());
        QCOMPARE(window.pos(), QPoint(200, 100)); // 3000 and 1500 twips at 96 dpi
        auto* tabs = window.findChild<QTabWidget*>("tabMain");
        tabs->setCurrentIndex(4); // the settings tab
        window.findChild<QCheckBox*>("chkSortOn")->setChecked(false);
        window.cmdEnd_Click();
        bool existed = false;
        const Settings stored = LoadSettings(folder.paths().settingsPath(), existed);
        QVERIFY(stored.sortOn);
        QCOMPARE(stored.mainTop.value(), 1500);
        QCOMPARE(stored.mainLeft.value(), 3000);
    }

    void damagedSettingsAreKeptAndReportedOnce_data()
    {
        QTest::addColumn<QByteArray>("stored"); // as on disk, scrambled
        const QByteArray good("[Setting]\r\nSortOn=0\r\n[Position]\r\nMainTop=1500\r\n");
        QTest::newRow("random bytes") << QByteArray("\x8a\x01\xff\x13zq\x80\xe3\x9c\x00\x7f");
        QTest::newRow("NUL-filled") << QByteArray(200, '\0');
        QTest::newRow("cut short") << scrambleBytes(good.left(good.size() - 4));
        QTest::newRow("undecodable password")
            << scrambleBytes("[Setting]\r\nStartPassword=1\r\nStartPasswordInput=p\x81\r\n");
    }
    void damagedSettingsAreKeptAndReportedOnce()
    {
        QFETCH(QByteArray, stored);
        TempProgramFolder folder;
        const QString path = folder.paths().settingsPath();
        QVERIFY(writeFileAtomically(path, stored).isEmpty());
        FixedClock clock(QDate(2026, 7, 15));
        for (int start = 0; start < 2; ++start) {
            ScriptedDialogs dialogs;
            if (start == 0)
                dialogs.queueAnswer(MessageAnswer::Ok);
            frmMain window(AppContext{folder.paths(), dialogs, clock});
            window.setLoginPrompt([] { return true; }); // the locked row is let in here
            QVERIFY(window.Form_Load());
            // Told once, at the first start; the file was replaced by what could be read.
            QCOMPARE(dialogs.shown.size(), start == 0 ? 1 : 0);
            if (start == 0) {
                QCOMPARE(dialogs.shown[0].box.caption, QStringLiteral("ファイルエラー"));
                QVERIFY(dialogs.shown[0].box.text.contains(path));
            }
            window.cmdEnd_Click();
        }
        QCOMPARE(readWholeFile(path + QStringLiteral(".damaged-20260715")).bytes, stored);
        bool existed = false;
        StoredFile file;
        const Settings now = LoadSettings(path, existed, &file);
        QVERIFY(existed && file.condition == FileCondition::Sound);
        QVERIFY(!now.startPasswordText.contains(QChar::ReplacementCharacter));
    }

    // A settings file that cannot be opened is not damaged: nothing is copied aside, and
    // neither the end nor an apply writes over it.
    void unreadableSettingsAreLeftAsTheyAre()
    {
        TempProgramFolder folder;
        folder.writeSettings("[Setting]\r\nSortOn=0\r\n");
        const QString path = folder.paths().settingsPath();
        const QByteArray stored = readWholeFile(path).bytes;
        filefaults::refuseReads(path);
        ScriptedDialogs dialogs;
        FixedClock clock(QDate(2026, 7, 15));
        {
            frmMain window(AppContext{folder.paths(), dialogs, clock});
            dialogs.queueAnswer(MessageAnswer::Ok);
            QVERIFY(window.Form_Load());
            QCOMPARE(dialogs.shown.size(), 1);
            const MessageBoxSpec& told = dialogs.shown[0].box;
            QCOMPARE(told.caption, QStringLiteral("ファイルエラー"));
            QVERIFY(
                told.text.startsWith(QStringLiteral("ファイル「%1」を読み込めません。").arg(path)));
            QVERIFY(told.text.contains(QStringLiteral("そのままにして")));
            QVERIFY(!told.text.contains(QStringLiteral("壊れ")));
            dialogs.queueAnswer(MessageAnswer::Ok);
            window.settingsPage().cmdSetting_Click();
            QCOMPARE(dialogs.shown[1].box.caption, QStringLiteral("設定エラー"));
            dialogs.queueAnswer(MessageAnswer::Ok);
            window.cmdEnd_Click();
            QCOMPARE(dialogs.shown.size(), 3);
            QCOMPARE(dialogs.shown[2].box.caption, QStringLiteral("保存エラー"));
            QVERIFY(dialogs.shown[2].box.text.contains(path));
        }
        filefaults::refuseReads(QString());
        QVERIFY(dialogs.allAnswersUsed());
        QCOMPARE(readWholeFile(path).bytes, stored);
        QCOMPARE(QDir(folder.paths().iniFolder()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"zumicho.ini"});
    }

    // Only a password that does not match is an authentication error; a damaged file or one
    // that cannot be opened is a file error. Each is left as it is and takes no changes.
    void unreadableMonthIsReportedAndNeverOverwritten_data()
    {
        QTest::addColumn<QString>("password"); // the file's password line
        QTest::addColumn<int>("cut");          // bytes cut off the end of the plain form
        QTest::addColumn<bool>("unopenable");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("says");
        QTest::newRow("another password") << "other" << 0 << false << "認証エラー"
                                          << "」を読み込めません。";
        QTest::newRow("cut short") << "" << 7 << false << "ファイルエラー"
                                   << "」は壊れているため、読み込めません。";
        QTest::newRow("cannot be opened") << "" << 0 << true << "ファイルエラー"
                                          << "」を開けないため、読み込めません。";
    }
    void unreadableMonthIsReportedAndNeverOverwritten()
    {
        QFETCH(QString, password);
        QFETCH(int, cut);
        QFETCH(bool, unopenable);
        QFETCH(QString, caption);
        QFETCH(QString, says);
        TempProgramFolder folder;
        folder.writeSettings("[Setting]\r\n");
        const QString path = folder.paths().monthFilePath("2026", "07");
        const QByteArray plain =
            formatMonthText({makeEntry("2026/07/01", "1")}, password).plain.chopped(cut);
        QVERIFY(writeMonthFile(path, plain).isEmpty());
        const QByteArray stored = readWholeFile(path).bytes;
        if (unopenable)
            filefaults::refuseReads(path);

        ScriptedDialogs dialogs;
        FixedClock clock(QDate(2026, 7, 15));
        frmMain window(AppContext{folder.paths(), dialogs, clock});
        dialogs.queueAnswer(MessageAnswer::Ok);
        QVERIFY(window.Form_Load());
        QCOMPARE(dialogs.shown.size(), 1);
        const MessageBoxSpec& told = dialogs.shown[0].box;
        QCOMPARE(told.caption, caption);
        QVERIFY(told.text.startsWith(QStringLiteral("データファイル「") + path + says));
        // The password's text stays as it was; the others say the file was left untouched.
        QCOMPARE(told.text.contains(QStringLiteral("そのままにしてあります")), password.isEmpty());
        QCOMPARE(window.monthModel()->rowCount(), 0);

        QVERIFY(!window.shownMonth().append({makeEntry("2026/07/02", "2")}));
        dialogs.queueAnswer(MessageAnswer::Ok);
        QVERIFY(!window.monthPage().SaveMonthFile());
        QCOMPARE(dialogs.shown.size(), 2);
        QCOMPARE(dialogs.shown[1].box.caption, QStringLiteral("保存エラー"));
        filefaults::refuseReads(QString());
        QCOMPARE(readWholeFile(path).bytes, stored);
    }

    void unencodableTextIsRefusedWithTheFieldNamed()
    {
        MainWindowHarness h(QDate(2026, 7, 15));
        frmMain& window = h.start();
        EntryRecord e = makeEntry("2026/07/02", "2");
        e[Present] = QStringLiteral("Crème 🍰");
        window.shownMonth().append({e});
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        QVERIFY(!window.monthPage().SaveMonthFile());
        QCOMPARE(h.dialogs.shown.size(), 1);
        QVERIFY(h.dialogs.shown[0].box.text.contains(QStringLiteral("「賞品名」")));
        QVERIFY(!QFile::exists(h.folder.paths().monthFilePath("2026", "07")));
    }

    void savedMonthRoundTripsAndEmptyMonthLeavesNoFile()
    {
        MainWindowHarness h(QDate(2026, 7, 15));
        frmMain& window = h.start();
        const TempProgramFolder& folder = h.folder;
        window.shownMonth().append({makeEntry("2026/07/02", "2"), makeEntry("2026/07/03", "3")});
        QVERIFY(window.monthPage().SaveMonthFile());
        window.monthPage().LoadMonthFile();
        QCOMPARE(window.monthModel()->rowCount(), 2);
        window.shownMonth().remove({0, 1});
        QVERIFY(window.monthPage().SaveMonthFile());
        QVERIFY(!QFile::exists(folder.paths().monthFilePath("2026", "07")));
    }

    void passwordLineFollowsThePasswordInForce()
    {
        MainWindowHarness locked(QDate(2026, 7, 15),
                                 "[Setting]\r\nStartPassword=1\r\nStartPasswordInput=pw\r\n");
        locked.loginPrompt = [] { return true; };
        locked.start().shownMonth().append({makeEntry("2026/07/02", "2")});
        QVERIFY(locked.window->monthPage().SaveMonthFile());
        QVERIFY(locked.folder.plainFile("data/2026/07.log").startsWith("\"StartPassword=pw\"\r\n"));

        // A password left in the file while the lock is off neither stamps nor blocks months.
        MainWindowHarness open(QDate(2026, 7, 15),
                               "[Setting]\r\nStartPassword=0\r\nStartPasswordInput=pw\r\n");
        open.start().shownMonth().append({makeEntry("2026/07/02", "2")});
        QVERIFY(open.window->monthPage().SaveMonthFile());
        QVERIFY(open.folder.plainFile("data/2026/07.log").startsWith("\"2026/07/02\""));
        open.window->monthPage().LoadMonthFile();
        QCOMPARE(open.window->monthModel()->rowCount(), 1);
        QVERIFY(open.dialogs.shown.isEmpty());
    }

    // One diary per data folder, whatever the environment of each process: a start in a
    // process with another TMPDIR is refused with the box and brings the running window to
    // the front, restored.
    void oneDiaryPerDataFolder()
    {
        MainWindowHarness h(QDate(2026, 7, 15));
        h.start(true);
        const QString data = h.folder.paths().dataFolder();
        SingleInstance running(QStringLiteral("zumicho"), data);
        QVERIFY(acquireDiaryInstance(running, h.dialogs));
        running.showOnRequest(h.window.get());
        h.window->showMinimized();
        QVERIFY(h.window->isMinimized());

        const Started second = startElsewhere(data, "start");
        QCOMPARE(second.status, 1);
        QCOMPARE(second.out, QStringLiteral("多重起動不可\tズミラ帳は、すでに起動しています。\n"));
        QTRY_VERIFY(!h.window->isMinimized());
        QTRY_VERIFY(h.window->isActiveWindow());
        QVERIFY(h.dialogs.shown.isEmpty());

        TempProgramFolder other;
        SingleInstance elsewhere(QStringLiteral("zumicho"), other.paths().dataFolder());
        QVERIFY(elsewhere.tryAcquire());
    }

    // The lock of a diary that was killed holds nobody back, and taking it creates no data
    // folder (a missing one tells the start-up that a restore was cut short).
    void lockOfAKilledDiaryIsTakenOver()
    {
        QTemporaryDir program;
        const QString data = program.filePath(QStringLiteral("data"));
        QProcess holder;
        holder.setProcessEnvironment(environmentWithOwnTemp());
        holder.start(QStringLiteral(SINGLEINSTANCE_HELPER), {data, QStringLiteral("hold")});
        QVERIFY(holder.waitForReadyRead(10000));
        QCOMPARE(holder.readAll(), QByteArray("held\n"));
        SingleInstance refused(QStringLiteral("zumicho"), data);
        QVERIFY(!refused.tryAcquire());
        QVERIFY(refused.heldElsewhere());
        holder.kill();
        QVERIFY(holder.waitForFinished());
        SingleInstance next(QStringLiteral("zumicho"), data);
        QVERIFY(next.tryAcquire());
        QVERIFY(!QFileInfo::exists(data));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"

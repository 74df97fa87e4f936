#include "core/AtomicFile.h"
#include "core/Clock.h"
#include "core/Scramble.h"
#include "diary/Settings.h"
#include "forms/EntryTableModel.h"
#include "forms/frmMain.h"
#include "platform/SingleInstance.h"
#include "support/MainWindowHarness.h"
#include "support/ScriptedDialogs.h"
#include "support/TempProgramFolder.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

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
        bool damaged = true;
        const Settings now = LoadSettings(path, existed, &damaged);
        QVERIFY(existed && !damaged);
        QVERIFY(!now.startPasswordText.contains(QChar::ReplacementCharacter));
    }

    void unreadableMonthIsReportedAndNeverOverwritten()
    {
        TempProgramFolder folder;
        folder.writeSettings("[Setting]\r\n");
        folder.writeMonth("2026", "07", {makeEntry("2026/07/01", "1")}, "other");
        const QString path = folder.paths().monthFilePath("2026", "07");
        QFile before(path);
        QVERIFY(before.open(QIODevice::ReadOnly));
        const QByteArray stored = before.readAll();
        before.close();

        ScriptedDialogs dialogs;
        FixedClock clock(QDate(2026, 7, 15));
        frmMain window(AppContext{folder.paths(), dialogs, clock});
        dialogs.queueAnswer(MessageAnswer::Ok);
        QVERIFY(window.Form_Load());
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].box.caption, QStringLiteral("認証エラー"));
        QCOMPARE(dialogs.shown[0].box.text, QStringLiteral("データファイル「") + path +
                                                QStringLiteral("」を読み込めません。"));
        QCOMPARE(window.monthModel()->rowCount(), 0);

        QVERIFY(!window.shownMonth().append({makeEntry("2026/07/02", "2")}));
        dialogs.queueAnswer(MessageAnswer::Ok);
        QVERIFY(!window.SaveMonthFile());
        QCOMPARE(dialogs.shown.size(), 2);
        QCOMPARE(dialogs.shown[1].box.caption, QStringLiteral("保存エラー"));
        QFile after(path);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), stored);
    }

    void unencodableTextIsRefusedWithTheFieldNamed()
    {
        MainWindowHarness h(QDate(2026, 7, 15));
        frmMain& window = h.start();
        EntryRecord e = makeEntry("2026/07/02", "2");
        e[Present] = QStringLiteral("Crème 🍰");
        window.shownMonth().append({e});
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        QVERIFY(!window.SaveMonthFile());
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
        QVERIFY(window.SaveMonthFile());
        window.LoadMonthFile();
        QCOMPARE(window.monthModel()->rowCount(), 2);
        window.shownMonth().remove({0, 1});
        QVERIFY(window.SaveMonthFile());
        QVERIFY(!QFile::exists(folder.paths().monthFilePath("2026", "07")));
    }

    void passwordLineFollowsThePasswordInForce()
    {
        MainWindowHarness locked(QDate(2026, 7, 15),
                                 "[Setting]\r\nStartPassword=1\r\nStartPasswordInput=pw\r\n");
        locked.loginPrompt = [] { return true; };
        locked.start().shownMonth().append({makeEntry("2026/07/02", "2")});
        QVERIFY(locked.window->SaveMonthFile());
        QVERIFY(locked.folder.plainFile("data/2026/07.log").startsWith("\"StartPassword=pw\"\r\n"));

        // A password left in the file while the lock is off neither stamps nor blocks months.
        MainWindowHarness open(QDate(2026, 7, 15),
                               "[Setting]\r\nStartPassword=0\r\nStartPasswordInput=pw\r\n");
        open.start().shownMonth().append({makeEntry("2026/07/02", "2")});
        QVERIFY(open.window->SaveMonthFile());
        QVERIFY(open.folder.plainFile("data/2026/07.log").startsWith("\"2026/07/02\""));
        open.window->LoadMonthFile();
        QCOMPARE(open.window->monthModel()->rowCount(), 1);
        QVERIFY(open.dialogs.shown.isEmpty());
    }

    void secondInstanceIsRefused()
    {
        TempProgramFolder folder;
        SingleInstance first(QStringLiteral("zumicho"), folder.path());
        QVERIFY(first.tryAcquire());
        SingleInstance second(QStringLiteral("zumicho"), folder.path());
        QVERIFY(!second.tryAcquire());
        TempProgramFolder other;
        SingleInstance elsewhere(QStringLiteral("zumicho"), other.path());
        QVERIFY(elsewhere.tryAcquire());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"

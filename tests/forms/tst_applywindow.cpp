#include "diary/MonthFile.h"
#include "diary/Settings.h"
#include "diary/SummaryFiles.h"
#include "forms/EntryTableModel.h"
#include "support/MainWindowHarness.h"

#include "core/AtomicFile.h"
#include "core/FileFaults.h"
#include "core/Scramble.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFileInfo>
#include <QRadioButton>

namespace {

EntryRecord entry(const QString& key, const QString& other, const QString& id)
{
    EntryRecord e = makeEntry(key, id, QStringLiteral("賞品"), QStringLiteral("小物当選"),
                              QStringLiteral("3000"));
    e[OtherDate] = other;
    return e;
}

Settings storedSettings(const TempProgramFolder& folder)
{
    bool existed = false;
    return LoadSettings(folder.paths().settingsPath(), existed);
}

Settings storedSettings(MainWindowHarness& h)
{
    return storedSettings(h.folder);
}

bool shownBox(MainWindowHarness& h, const QString& caption, MessageIcon icon)
{
    for (const auto& shown : h.dialogs.shown) {
        if (shown.box.caption == caption && shown.box.icon == icon)
            return true;
    }
    return false;
}

} // namespace

class TestApplyWindow : public QObject
{
    Q_OBJECT

private slots:
    void keyChangeThroughTheApplyButton()
    {
        MainWindowHarness h(QDate(2026, 3, 15));
        h.folder.writeMonth("2026", "03", {entry("2026/03/10", "2026/04/05", "1")});
        h.start();
        h.selectTab("T_Setting");
        // The key-change note wraps as a sentence, without the gaps of a fixed-width line.
        const auto* note = h.child<QLabel>("lblKeyNote");
        QVERIFY(note->wordWrap() && !note->text().contains(u'\u3000'));
        h.child<QRadioButton>("optEndDay")->click();
        QVERIFY(h.button("cmdSetting")->isEnabled());
        h.dialogs.clearShown();
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.button("cmdSetting")->click();

        QVERIFY(!h.button("cmdSetting")->isEnabled());
        QCOMPARE(h.dialogs.shown.size(), 1);
        QCOMPARE(h.dialogs.shown[0].box.text, QString("設定を適用させました"));
        QCOMPARE(h.dialogs.shown[0].box.caption, QString("完了"));
        QCOMPARE(h.dialogs.shown[0].box.icon, MessageIcon::None);
        QVERIFY(storedSettings(h).keyIsEndDay);
        QVERIFY(!QFileInfo::exists(h.folder.paths().monthFilePath("2026", "03")));
        const MonthRead april =
            readMonthFile(h.folder.paths().monthFilePath("2026", "04"), QString());
        QCOMPARE(april.entries.size(), 1);
        QCOMPARE(april.entries[0][KeyDate], QString("2026/04/05"));
        QCOMPARE(readTotalSummary(h.folder.paths().totalSummaryPath()).value(0).figures.small, 1);
    }

    void keyChangeRefusedKeepsEveryFileAndTheStoredKey()
    {
        MainWindowHarness h(QDate(2026, 3, 15));
        h.folder.writeMonth("2026", "03", {entry("2026/03/10", "2026/04/05", "1")});
        h.folder.writeMonth("2025", "12", {entry("2025/12/10", "2026/01/05", "2")}, "third");
        const QByteArray march = h.folder.plainFile("data/2026/03.log");
        const QByteArray december = h.folder.plainFile("data/2025/12.log");
        QVERIFY(
            writeFileAtomically(h.folder.paths().monthFilePath("2025", "11"), "\x81").isEmpty());
        h.start();
        h.selectTab("T_Setting");
        h.child<QRadioButton>("optEndDay")->click();
        h.child<QCheckBox>("chkSortOn")->click(); // another setting, which is still stored
        h.dialogs.clearShown();
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.button("cmdSetting")->click();

        // One box for the whole apply, each unreadable file named once with what is wrong.
        QCOMPARE(h.dialogs.shown.size(), 1);
        QCOMPARE(h.dialogs.shown[0].box.caption, QString("設定エラー"));
        QCOMPARE(h.dialogs.shown[0].box.icon, MessageIcon::Critical);
        const QString text = h.dialogs.shown[0].box.text;
        const QString refused =
            QDir::toNativeSeparators(h.folder.paths().monthFilePath("2025", "12"));
        const QString damaged =
            QDir::toNativeSeparators(h.folder.paths().monthFilePath("2025", "11"));
        QCOMPARE(text.count(refused), 1);
        QVERIFY(text.contains(QString("「%1」は別のパスワード").arg(refused)));
        QCOMPARE(text.count(damaged), 1);
        QVERIFY(text.contains(QString("「%1」は壊れている").arg(damaged)));
        QCOMPARE(h.folder.plainFile("data/2026/03.log"), march);
        QCOMPARE(h.folder.plainFile("data/2025/12.log"), december);
        const Settings stored = storedSettings(h);
        QVERIFY(!stored.keyIsEndDay);
        QVERIFY(!stored.sortOn);
        QVERIFY(h.child<QRadioButton>("optNowDay")->isChecked());
    }

    void aFailedWriteIsReportedAndNeverAsDone_data()
    {
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<bool>("keyChange");
        // Real failures of the file system: a file where a folder must be, a folder where the
        // settings file must be written.
        QTest::newRow("staging folder of a key change") << "data/.apply" << true;
        QTest::newRow("new year folder of a key change") << "data/2027" << true;
        QTest::newRow("settings file") << "data/ini/zumicho.ini/" << false;
    }

    void aFailedWriteIsReportedAndNeverAsDone()
    {
        QFETCH(QString, blocker);
        QFETCH(bool, keyChange);
        MainWindowHarness h(QDate(2026, 3, 15));
        h.folder.writeMonth("2026", "03", {entry("2026/03/10", "2027/01/05", "1")});
        const QByteArray march = h.folder.plainFile("data/2026/03.log");
        h.start();
        const QString path = h.folder.path() + u'/' + blocker;
        if (path.endsWith(u'/'))
            QVERIFY(QFile::remove(path.chopped(1)) && QDir().mkpath(path + "keep"));
        else
            QVERIFY(writeFileAtomically(path, "in the way").isEmpty());
        // The tab reads the settings and writes back what it could read: two boxes.
        for (int i = 0; i < (keyChange ? 0 : 2); ++i)
            h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.selectTab("T_Setting");
        h.child<QAbstractButton>(keyChange ? "optEndDay" : "chkSortOn")->click();
        h.dialogs.clearShown();
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.button("cmdSetting")->click();

        QVERIFY(!h.dialogs.shown.isEmpty());
        for (const auto& shown : h.dialogs.shown)
            QCOMPARE(shown.box.icon, MessageIcon::Critical);
        QCOMPARE(h.folder.plainFile("data/2026/03.log"), march);
        QVERIFY(!QFileInfo::exists(h.folder.paths().monthFilePath("2027", "01")));
    }

    void aCommittedKeyChangeThatCannotFinishEndsTheProgram()
    {
        MainWindowHarness h(QDate(2026, 3, 15));
        h.folder.writeMonth("2026", "03", {entry("2026/03/10", "2026/04/05", "1")});
        h.start(true);
        h.selectTab("T_Setting");
        h.child<QRadioButton>("optEndDay")->click();
        // The settings file can be read as missing but not written: the exchange stops after
        // the commit, when the new settings are put in place.
        const QString settings = h.folder.paths().settingsPath();
        QVERIFY(QFile::remove(settings) && QDir().mkpath(settings + "/keep"));
        h.dialogs.clearShown();
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.button("cmdSetting")->click();

        QCOMPARE(h.dialogs.shown.size(), 1);
        QCOMPARE(h.dialogs.shown[0].box.caption, QString("設定エラー"));
        QVERIFY(h.dialogs.shown[0].box.text.contains("次回の起動時"));
        QVERIFY(!h.window->isVisible());
    }

    void startUpRefusesAKeyChangeItCannotFinish()
    {
        TempProgramFolder folder;
        folder.writeSettings("[Setting]\r\nFormatKey=1\r\n");
        folder.writeMonth("2026", "03", {entry("2026/03/10", "2027/01/05", "1")});
        const QString data = folder.paths().dataFolder();
        const AppPaths fresh(data + "/.apply");
        QVERIFY(writeMonthFile(
                    fresh.monthFilePath("2027", "01"),
                    formatMonthText({entry("2027/01/05", "2026/03/10", "1")}, QString()).plain)
                    .isEmpty());
        QVERIFY(writeFileAtomically(data + "/.apply/commit",
                                    scrambleBytes("[Setting]\r\nFormatKey=0\r\n"))
                    .isEmpty());
        QVERIFY(writeFileAtomically(data + "/2027", "a file where the new year goes").isEmpty());
        ScriptedDialogs dialogs;
        FixedClock clock(QDate(2026, 3, 15));
        {
            frmMain w(AppContext{folder.paths(), dialogs, clock});
            dialogs.queueAnswer(MessageAnswer::Ok);
            QVERIFY(!w.Form_Load());
        }
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].box.caption, QString("起動エラー"));
        QVERIFY(dialogs.shown[0].box.text.contains(QDir::toNativeSeparators(data + "/2027")));
        QVERIFY(!storedSettings(folder).keyIsEndDay);

        // Once the way is free the next start finishes the change.
        QVERIFY(QFile::remove(data + "/2027"));
        frmMain w(AppContext{folder.paths(), dialogs, clock});
        dialogs.clearShown();
        dialogs.queueAnswer(MessageAnswer::Ok);
        QVERIFY(w.Form_Load());
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].box.caption, QString("設定の適用"));
        QVERIFY(storedSettings(folder).keyIsEndDay);
        QCOMPARE(
            readMonthFile(folder.paths().monthFilePath("2027", "01"), QString()).entries.size(), 1);
    }

    void passwordSwitchedOnIsStoredAndWrittenToEveryMonth()
    {
        MainWindowHarness h(QDate(2026, 3, 15),
                            "[Setting]\r\nStartPassword=0\r\nStartPasswordInput=pw\r\n");
        h.folder.writeMonth("2026", "03", {entry("2026/03/10", "2026/04/05", "1")});
        h.folder.writeMonth("2025", "07", {entry("2025/07/10", "2025/07/20", "2")});
        h.start();
        h.selectTab("T_Setting");
        h.child<QCheckBox>("chkStartPassword")->setChecked(true);
        h.button("cmdSetting")->setEnabled(true);
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.button("cmdSetting")->click();

        QVERIFY(storedSettings(h).startPassword);
        QCOMPARE(readMonthFile(h.folder.paths().monthFilePath("2026", "03"), "pw").entries.size(),
                 1);
        QCOMPARE(readMonthFile(h.folder.paths().monthFilePath("2025", "07"), "pw").entries.size(),
                 1);
        QVERIFY(!shownBox(h, "認証エラー", MessageIcon::Critical));
    }

    void startUpEndsAnApplyThatWasCutShort_data()
    {
        QTest::addColumn<bool>("committed");
        QTest::addColumn<QString>("told");
        QTest::newRow("key change never committed") << false << "取り消しました";
        QTest::newRow("password change committed") << true << "完了しました";
    }

    void startUpEndsAnApplyThatWasCutShort()
    {
        QFETCH(bool, committed);
        QFETCH(QString, told);
        MainWindowHarness h(QDate(2026, 3, 15));
        h.folder.writeMonth("2026", "03", {entry("2026/03/10", "2026/04/05", "1")});
        const QString staging = h.folder.paths().dataFolder() + "/.apply";
        const QString staged = AppPaths(staging).monthFilePath("2026", committed ? "03" : "04");
        if (committed) {
            QVERIFY(writeFileAtomically(staging + "/password", "1").isEmpty());
            QVERIFY(
                writeMonthFile(
                    staged, formatMonthText({entry("2026/03/10", "2026/04/05", "1")}, "pw").plain)
                    .isEmpty());
            QVERIFY(writeFileAtomically(
                        staging + "/commit",
                        scrambleBytes("[Setting]\r\nStartPassword=1\r\nStartPasswordInput=pw\r\n"
                                      "SimekiriStart=0\r\n"))
                        .isEmpty());
            h.loginPrompt = [] { return true; };
        } else {
            QVERIFY(writeMonthFile(staged, "half written").isEmpty());
        }
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.start();
        QCOMPARE(h.dialogs.shown.size(), 1);
        QCOMPARE(h.dialogs.shown[0].box.caption, QString("設定の適用"));
        QVERIFY(h.dialogs.shown[0].box.text.contains(told));
        QVERIFY(!QFileInfo::exists(staging));
        QCOMPARE(storedSettings(h).passwordInForce(), QString(committed ? "pw" : ""));
        QCOMPARE(h.window->monthModel()->rowCount(), 1);
    }

    // A write that fails part way through a password change: one box that names the user's
    // file, and the months and the settings all stay under the old password.
    void aPasswordChangeThatCannotBeWrittenChangesNothing()
    {
        MainWindowHarness h(QDate(2026, 3, 15),
                            "[Setting]\r\nStartPassword=0\r\nStartPasswordInput=pw\r\n");
        h.folder.writeMonth("2025", "07", {entry("2025/07/10", "2025/07/20", "2")});
        h.folder.writeMonth("2026", "03", {entry("2026/03/10", "2026/04/05", "1")});
        h.start();
        h.selectTab("T_Setting");
        const QString month =
            QDir::toNativeSeparators(h.folder.paths().monthFilePath("2026", "03"));
        // The fault moves on until it hits the second staged month file.
        for (long failAt = 1; failAt < 200; ++failAt) {
            h.child<QCheckBox>("chkStartPassword")->setChecked(true);
            h.button("cmdSetting")->setEnabled(true);
            h.dialogs.clearShown();
            h.dialogs.queueAnswer(MessageAnswer::Ok);
            filefaults::start(failAt);
            h.button("cmdSetting")->click();
            filefaults::stop();
            QCOMPARE(h.dialogs.shown.size(), 1);
            QCOMPARE(h.dialogs.shown[0].box.icon, MessageIcon::Critical);
            QVERIFY(!storedSettings(h).startPassword);
            QVERIFY(!h.child<QCheckBox>("chkStartPassword")->isChecked());
            QCOMPARE(readMonthFile(h.folder.paths().monthFilePath("2025", "07"), "").entries.size(),
                     1);
            if (h.dialogs.shown[0].box.text.contains(month)) {
                QVERIFY(!h.dialogs.shown[0].box.text.contains(".apply"));
                return;
            }
        }
        QFAIL("no failure reached the second month file");
    }

    void aTargetReachedIsToldBySavesOnly()
    {
        MainWindowHarness h(QDate(2026, 3, 15));
        h.folder.writeMonth("2026", "03", {entry("2026/03/10", "2026/04/05", "1")});
        h.start();
        h.selectTab("T_Month"); // the summaries: 3000 won, no target yet
        QVERIFY(h.window->monthPage().SaveMonthFile());
        h.selectTab("T_Setting");
        // Targets already reached: the apply only recomputes the column, every time.
        for (const char* target : {"1000", "2000"}) {
            h.child<QLineEdit>("txtDreamMoney")->setText(target);
            h.button("cmdSetting")->setEnabled(true);
            h.dialogs.clearShown();
            h.dialogs.queueAnswer(MessageAnswer::Ok);
            h.button("cmdSetting")->click();
            QCOMPARE(h.dialogs.shown.size(), 1);
            QCOMPARE(h.dialogs.shown[0].box.text, QString("設定を適用させました"));
            QVERIFY(!storedSettings(h).dreamMoneyReached);
        }
        // The next save that finds the target reached tells it, once.
        h.selectTab("T_Month");
        h.dialogs.clearShown();
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        QVERIFY(h.window->monthPage().SaveMonthFile());
        QCOMPARE(h.dialogs.shown.size(), 1);
        QCOMPARE(h.dialogs.shown[0].box.text, QString("目標収支金額を達成しました。"));
        QVERIFY(storedSettings(h).dreamMoneyReached);
    }

    void targetOnlyChangeTouchesOnlyTheTargetColumn()
    {
        MainWindowHarness h(QDate(2026, 3, 15));
        h.folder.writeMonth("2026", "03", {entry("2026/03/10", "2026/04/05", "1")});
        h.start();
        h.selectTab("T_Month"); // a first save builds the summaries
        QVERIFY(h.window->monthPage().SaveMonthFile());
        const QList<TotalRow> before = readTotalSummary(h.folder.paths().totalSummaryPath());
        const QByteArray month = h.folder.plainFile("data/2026/03.log");
        const QDateTime written =
            QFileInfo(h.folder.paths().monthFilePath("2026", "03")).lastModified();
        QTest::qWait(20);

        h.selectTab("T_Setting");
        auto* target = h.child<QLineEdit>("txtDreamMoney");
        target->setText("5000");
        h.button("cmdSetting")->setEnabled(true);
        h.dialogs.clearShown();
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.button("cmdSetting")->click();

        const QList<TotalRow> after = readTotalSummary(h.folder.paths().totalSummaryPath());
        QCOMPARE(after.size(), before.size());
        QCOMPARE(after[0].figures, before[0].figures);
        QCOMPARE(after[0].toTarget, Currency::fromUnits(2000));
        QCOMPARE(h.folder.plainFile("data/2026/03.log"), month);
        QCOMPARE(QFileInfo(h.folder.paths().monthFilePath("2026", "03")).lastModified(), written);
        QCOMPARE(storedSettings(h).dreamMoneyText, QString("5000"));
    }
};

QTEST_MAIN(TestApplyWindow)
#include "tst_applywindow.moc"

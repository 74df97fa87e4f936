#include "diary/Settings.h"
#include "diary/MonthFile.h"
#include "support/MainWindowHarness.h"
#include "forms/EntryTableModel.h"
#include "diary/SummaryFiles.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QRadioButton>

namespace {

EntryRecord entry(const QString& key, const QString& other, const QString& id)
{
    EntryRecord e = makeEntry(key, id, QStringLiteral("賞品"), QStringLiteral("小物当選"), QStringLiteral("3000"));
    e[OtherDate] = other;
    return e;
}

Settings storedSettings(MainWindowHarness& h)
{
    bool existed = false;
    return LoadSettings(h.folder.paths().settingsPath(), existed);
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
        h.child<QRadioButton>("optEndDay")->click();
        QVERIFY(h.button("cmdSetting")->isEnabled());
        h.dialogs.clearShown();
        h.button("cmdSetting")->click();

        QVERIFY(!h.button("cmdSetting")->isEnabled());
        QCOMPARE(h.dialogs.shown.size(), 1);
        QCOMPARE(h.dialogs.shown[0].box.text, QString("設定を適用させました"));
        QCOMPARE(h.dialogs.shown[0].box.caption, QString("完了"));
        QCOMPARE(h.dialogs.shown[0].box.icon, MessageIcon::None);
        QVERIFY(storedSettings(h).keyIsEndDay);
        QVERIFY(!QFileInfo::exists(h.folder.paths().monthFilePath("2026", "03")));
        const MonthRead april = readMonthFile(h.folder.paths().monthFilePath("2026", "04"), QString());
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
        h.start();
        h.selectTab("T_Setting");
        h.child<QRadioButton>("optEndDay")->click();
        h.child<QCheckBox>("chkSortOn")->click(); // another setting, which is still stored
        h.dialogs.clearShown();
        h.button("cmdSetting")->click();

        const QString unreadable = QDir::toNativeSeparators(h.folder.paths().monthFilePath("2025", "12"));
        QVERIFY(shownBox(h, "設定エラー", MessageIcon::Critical));
        QVERIFY(h.dialogs.shown[0].box.text.contains(unreadable));
        int reports = 0;
        for (const auto& shown : h.dialogs.shown)
            reports += shown.box.caption == u"認証エラー" && shown.box.text.contains(unreadable);
        QCOMPARE(reports, 1);
        QVERIFY(shownBox(h, "完了", MessageIcon::None));

        QCOMPARE(h.folder.plainFile("data/2026/03.log"), march);
        QCOMPARE(h.folder.plainFile("data/2025/12.log"), december);
        const Settings stored = storedSettings(h);
        QVERIFY(!stored.keyIsEndDay);
        QVERIFY(!stored.sortOn);
        QVERIFY(h.child<QRadioButton>("optNowDay")->isChecked());
    }

    void passwordSwitchedOnIsStoredAndWrittenToEveryMonth()
    {
        MainWindowHarness h(QDate(2026, 3, 15), "[Setting]\r\nStartPassword=0\r\nStartPasswordInput=pw\r\n");
        h.folder.writeMonth("2026", "03", {entry("2026/03/10", "2026/04/05", "1")});
        h.folder.writeMonth("2025", "07", {entry("2025/07/10", "2025/07/20", "2")});
        h.start();
        h.selectTab("T_Setting");
        h.child<QCheckBox>("chkStartPassword")->setChecked(true);
        h.button("cmdSetting")->setEnabled(true);
        h.button("cmdSetting")->click();

        QVERIFY(storedSettings(h).startPassword);
        QCOMPARE(readMonthFile(h.folder.paths().monthFilePath("2026", "03"), "pw").entries.size(), 1);
        QCOMPARE(readMonthFile(h.folder.paths().monthFilePath("2025", "07"), "pw").entries.size(), 1);
        QVERIFY(!shownBox(h, "認証エラー", MessageIcon::Critical));
    }

    void startUpEndsAKeyChangeThatWasCutShort()
    {
        MainWindowHarness h(QDate(2026, 3, 15));
        h.folder.writeMonth("2026", "03", {entry("2026/03/10", "2026/04/05", "1")});
        const QString staging = h.folder.paths().dataFolder() + "/.apply";
        QVERIFY(writeMonthFile(AppPaths(staging).monthFilePath("2026", "04"), "half written").isEmpty());
        h.start();
        QVERIFY(!QFileInfo::exists(staging));
        QCOMPARE(h.window->monthModel()->rowCount(), 1);
    }

    void targetOnlyChangeTouchesOnlyTheTargetColumn()
    {
        MainWindowHarness h(QDate(2026, 3, 15));
        h.folder.writeMonth("2026", "03", {entry("2026/03/10", "2026/04/05", "1")});
        h.start();
        h.selectTab("T_Month"); // a first save builds the summaries
        QVERIFY(h.window->SaveMonthFile());
        const QList<TotalRow> before = readTotalSummary(h.folder.paths().totalSummaryPath());
        const QByteArray month = h.folder.plainFile("data/2026/03.log");
        const QDateTime written = QFileInfo(h.folder.paths().monthFilePath("2026", "03")).lastModified();
        QTest::qWait(20);

        h.selectTab("T_Setting");
        auto* target = h.child<QLineEdit>("txtDreamMoney");
        target->setText("5000");
        h.button("cmdSetting")->setEnabled(true);
        h.dialogs.clearShown();
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

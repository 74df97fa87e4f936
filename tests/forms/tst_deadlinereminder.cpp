#include "forms/DeadlineReminder.h"
#include "forms/EntryTableModel.h"
#include "forms/ReminderBox.h"
#include "support/MainWindowHarness.h"
#include "support/NotificationBus.h"

#include <QCheckBox>
#include <QFile>
#include <QTest>

class TestDeadlineReminder : public QObject
{
    Q_OBJECT

    static QByteArray fileText(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void theDailyNoticeIsToldOnceAndItsClickListsTheDeadlines();
    void theTimerBoxWritesAndRemovesTheUnits();
};

void TestDeadlineReminder::theDailyNoticeIsToldOnceAndItsClickListsTheDeadlines()
{
    NotificationBus bus;
    QCOMPARE(bus.error(), QString());
    MainWindowHarness h(QDate(2026, 12, 28),
                        "[Setting]\r\nFormatKey=0\r\nSimekiriDays=7\r\nSimekiriStart=1\r\n");
    h.folder.writeMonth(
        "2026", "12",
        {makeEntry("2026/12/31", "2", "A", "未応募"), makeEntry("2026/12/29", "3", "B", "落選")});
    h.folder.writeMonth("2027", "01", {makeEntry("2027/01/04", "1")});
    const QString ini = h.folder.path() + "/data/ini/reminders.ini";
    QFile file(ini);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[Reminders]\r\nTime=09:00\r\nDaily=1\r\nTimer=0\r\nLastAnnounced=2026/12/27\r\n");
    file.close();

    // Started after the day's time: the start-up question tells the day, the notice waits.
    h.dialogs.queueAnswer(MessageAnswer::No);
    h.start(true);
    DeadlineReminder& reminder = h.window->settingsPage().reminders().reminder();
    reminder.setTimeSource([] { return QTime(9, 30); });
    QTRY_VERIFY(fileText(ini).contains("LastAnnounced=2026/12/28\r\n"));
    QCOMPARE(h.dialogs.shown.size(), 1);
    QVERIFY(bus.service().recorded().isEmpty());

    // The next day the notice comes, once.
    h.clock.setToday(QDate(2026, 12, 29));
    reminder.check();
    QTRY_COMPARE(bus.service().recorded().size(), 2);
    QCOMPARE(bus.service().recorded()[0], QString("締切間近"));
    QVERIFY(bus.service().recorded()[1].contains("2件"));
    QVERIFY(fileText(ini).contains("LastAnnounced=2026/12/29\r\n"));
    reminder.check();
    QCOMPARE(bus.service().recorded().size(), 2);
    QVERIFY(h.window->currentTab() == Tab::Month);

    bus.click(1, "other"); // a button other than the notice itself
    QTest::qWait(200);
    QVERIFY(h.window->currentTab() == Tab::Month);
    bus.click(1);
    QTRY_VERIFY(h.window->currentTab() == Tab::Search);
    QStringList ids;
    for (const EntryRecord& e : h.window->searchModel()->entries())
        ids << e[ID];
    QCOMPARE(ids, QStringList({"2", "1"}));
    QVERIFY(h.dialogs.unexpected.isEmpty());
}

void TestDeadlineReminder::theTimerBoxWritesAndRemovesTheUnits()
{
    QTemporaryDir config;
    QTemporaryDir noPrograms; // no systemctl to tell: the box says so
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    qputenv("PATH", noPrograms.path().toUtf8());
    MainWindowHarness h(QDate(2026, 12, 28));
    h.start(true);
    h.selectTab("T_Setting");
    auto* box = h.child<QCheckBox>("chkDeadlineTimer");
    QVERIFY(box && !box->isChecked());
    const QString units = config.path() + "/systemd/user/zumicho-deadlines";
    const QString ini = h.folder.path() + "/data/ini/reminders.ini";

    h.dialogs.queueAnswer(MessageAnswer::Ok);
    box->click();
    QCOMPARE(h.dialogs.shown.size(), 1);
    QVERIFY(h.dialogs.shown[0].box.text.contains("systemctl が見つからない"));
    QVERIFY(fileText(units + ".service")
                .contains("ExecStart=\"" + h.folder.path().toUtf8() + "/zumicho-data\" deadlines"));
    QVERIFY(fileText(units + ".timer").contains("OnCalendar=*-*-* 09:00:00\n"));
    QVERIFY(fileText(ini).contains("Timer=1\r\n"));

    box->click();
    QVERIFY(!QFile::exists(units + ".service"));
    QVERIFY(!QFile::exists(units + ".timer"));
    QVERIFY(fileText(ini).contains("Timer=0\r\n"));

    // Where the unit folder cannot be made, the box names it and stays unticked.
    QVERIFY(QDir(config.path() + "/systemd/user").removeRecursively());
    QFile blocker(config.path() + "/systemd/user");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    h.dialogs.clearShown();
    h.dialogs.queueAnswer(MessageAnswer::Ok);
    box->click();
    QCOMPARE(h.dialogs.shown.size(), 1);
    QCOMPARE(h.dialogs.shown[0].box.icon, MessageIcon::Critical);
    QVERIFY(h.dialogs.shown[0].box.text.contains(config.path() + "/systemd/user"));
    QVERIFY(!box->isChecked());
    QVERIFY(fileText(ini).contains("Timer=0\r\n"));
    QVERIFY(h.dialogs.unexpected.isEmpty());
}

QTEST_MAIN(TestDeadlineReminder)
#include "tst_deadlinereminder.moc"

#include "core/AtomicFile.h"
#include "diary/Reminders.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestReminders : public QObject
{
    Q_OBJECT

private slots:
    void dueOncePerDay_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDate>("lastAnnounced");
        QTest::addColumn<bool>("due");
        const QDate day(2026, 12, 9);
        const QDate before = day.addDays(-1);
        // The time is 09:00 throughout.
        QTest::newRow("before the time") << QDateTime(day, QTime(8, 59, 59)) << before << false;
        QTest::newRow("at the time") << QDateTime(day, QTime(9, 0)) << before << true;
        QTest::newRow("passed, at start-up") << QDateTime(day, QTime(15, 0)) << before << true;
        QTest::newRow("never told") << QDateTime(day, QTime(9, 1)) << QDate() << true;
        QTest::newRow("already told today") << QDateTime(day, QTime(15, 0)) << day << false;
        QTest::newRow("day rolled over, before the time")
            << QDateTime(day.addDays(1), QTime(0, 1)) << day << false;
        QTest::newRow("day rolled over, at the time")
            << QDateTime(day.addDays(1), QTime(9, 0)) << day << true;
        QTest::newRow("clock set back a day") << QDateTime(before, QTime(10, 0)) << day << true;
    }
    void dueOncePerDay()
    {
        QFETCH(QDateTime, now);
        QFETCH(QDate, lastAnnounced);
        QFETCH(bool, due);
        QCOMPARE(reminderDue(now, QTime(9, 0), lastAnnounced), due);
    }

    // What is stored comes back; keys missing or not understood keep their defaults.
    void theFileKeepsItsSettings()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/ini/reminders.ini";
        QCOMPARE(loadReminderSettings(path).settings.at, QTime(9, 0)); // no file: defaults
        ReminderSettings s;
        s.at = QTime(21, 45);
        s.daily = false;
        s.timer = true;
        s.lastAnnounced = QDate(2026, 12, 9);
        QCOMPARE(saveReminderSettings(path, s), QString());
        QCOMPARE(permissionBits(path), 0600);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[Reminders]\r\nTime=21:45\r\nDaily=0\r\nTimer=1\r\n"
                                            "LastAnnounced=2026/12/09\r\n"));
        const ReminderSettings back = loadReminderSettings(path).settings;
        QCOMPARE(back.at, s.at);
        QCOMPARE(back.daily, false);
        QCOMPARE(back.timer, true);
        QCOMPARE(back.lastAnnounced, s.lastAnnounced);

        file.close();
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[reminders]\nTime=25:00\nDaily=yes\nTimer=1\n");
        file.close();
        const ReminderSettings odd = loadReminderSettings(path).settings;
        QCOMPARE(odd.at, QTime(9, 0));
        QCOMPARE(odd.daily, true);
        QCOMPARE(odd.timer, true);
        QVERIFY(!odd.lastAnnounced.isValid());
    }
};

QTEST_GUILESS_MAIN(TestReminders)
#include "tst_reminders.moc"

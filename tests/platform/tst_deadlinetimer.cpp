#include "platform/DeadlineTimer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestDeadlineTimer : public QObject
{
    Q_OBJECT

private slots:
    // Paths with blanks, quotes and "%" reach the command line as one word each.
    void theUnitsRunTheToolAtTheTime()
    {
        const DeadlineTimerUnits units = deadlineTimerUnits(
            "/home/a b/zumicho/zumicho-data", "/home/a b/100%\"x\"/data", QTime(7, 30));
        QVERIFY(units.service.contains("\nExecStart=\"/home/a b/zumicho/zumicho-data\" deadlines "
                                       "\"/home/a b/100%%\\\"x\\\"/data\" --notify\n"));
        QVERIFY(units.timer.contains("\nOnCalendar=*-*-* 07:30:00\nPersistent=true\n"));
        QVERIFY(units.timer.contains("\nWantedBy=timers.target\n"));
    }

    void installingWritesBothFilesAndRemovingTakesThemAway()
    {
        QTemporaryDir home;
        const QString folder = home.path() + "/systemd/user";
        const DeadlineTimerUnits units =
            deadlineTimerUnits("/z/zumicho-data", "/z/data", QTime(8, 0));
        QString note; // no service manager for this user here, most likely: only noted
        QCOMPARE(installDeadlineTimer(folder, units, &note), QString());
        QFile service(folder + "/zumicho-deadlines.service");
        QVERIFY(service.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(service.readAll()), units.service);
        QVERIFY(QFile::exists(folder + "/zumicho-deadlines.timer"));
        QCOMPARE(removeDeadlineTimer(folder, &note), QString());
        QVERIFY(!QFile::exists(folder + "/zumicho-deadlines.service"));
        QVERIFY(!QFile::exists(folder + "/zumicho-deadlines.timer"));
    }
};

QTEST_GUILESS_MAIN(TestDeadlineTimer)
#include "tst_deadlinetimer.moc"

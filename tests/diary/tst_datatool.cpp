#include "DataTool.h"
#include "core/AtomicFile.h"
#include "core/FileCrypto.h"
#include "core/Scramble.h"
#include "diary/MonthFile.h"
#include "diary/SummaryFiles.h"
#include "platform/SingleInstance.h"
#include "support/NotificationBus.h"
#include "support/TempProgramFolder.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestDataTool : public QObject
{
    Q_OBJECT

    struct Run
    {
        int status;
        QByteArray out;
        QString err;
    };
    static Run run(const QStringList& arguments)
    {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QString err;
        QTextStream errStream(&err);
        const int status = runDataTool(arguments, out, errStream);
        errStream.flush();
        return {status, out.data(), err};
    }

private slots:
    void decodeAndEncodeAreInverse()
    {
        TempProgramFolder folder;
        folder.writeMonth("2026", "07", {makeEntry("2026/07/01", "5")});
        const QString path = folder.paths().monthFilePath("2026", "07");
        const Run decoded = run({"decode", path});
        QCOMPARE(decoded.status, 0);
        QCOMPARE(decoded.out, folder.plainFile("data/2026/07.log"));
        const QString plainPath = folder.path() + "/plain.txt";
        QFile plain(plainPath);
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.write(decoded.out);
        plain.close();
        QFile stored(path);
        QVERIFY(stored.open(QIODevice::ReadOnly));
        QCOMPARE(run({"encode", plainPath}).out, stored.readAll());
    }

    void monthPrintsOneEntryALine()
    {
        TempProgramFolder folder;
        EntryRecord e = makeEntry("2026/07/01", "5", "ホットプレート");
        e[Msg] = QStringLiteral("一\r\n二\tタブ");
        folder.writeMonth("2026", "07", {e, makeEntry("2026/07/02", "6")}, "pw");
        const QString path = folder.paths().monthFilePath("2026", "07");
        const Run ok = run({"month", path, "--password", "pw"});
        QCOMPARE(ok.status, 0);
        const QList<QByteArray> lines = ok.out.split('\n');
        QCOMPARE(lines.size(), 3); // two entries and the empty rest after the last newline
        const QStringList fields = QString::fromUtf8(lines[0]).split(u'\t');
        QCOMPARE(fields.size(), kEntryFieldCount);
        QCOMPARE(fields[Present], QStringLiteral("ホットプレート"));
        QCOMPARE(fields[Msg], QStringLiteral("一\\n二\\tタブ"));
    }

    void failuresSayWhatAndExitNonZero()
    {
        TempProgramFolder folder;
        folder.writeMonth("2026", "07", {makeEntry("2026/07/01", "5")}, "pw");
        const QString path = folder.paths().monthFilePath("2026", "07");
        Run r = run({"month", path});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("password"));
        r = run({"month", folder.path() + "/missing.log"});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("no such file"));
        QFile junk(folder.path() + "/junk.log");
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(scrambleBytes("\"\x81\x81\x81"));
        junk.close();
        r = run({"month", junk.fileName()});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("damaged"));
        // Sound records, but more of them than any month holds: refused by the size alone.
        const QByteArray line = formatMonthText({makeEntry("2026/07/01", "5")}, QString()).plain;
        QVERIFY(writeMonthFile(path, line.repeated(int(kMonthFileSizeMax / line.size()) + 1))
                    .isEmpty());
        r = run({"month", path});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("larger than any month"));
        QCOMPARE(run({"frobnicate", path}).status, 2);
        QCOMPARE(run({}).status, 2);
    }

    // An encrypted diary: each command with the start password, and refused without it or
    // with a wrong one.
    void encryptedDiaryNeedsThePassword_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("status");
        QTest::newRow("decode") << "decode"
                                << "pw" << 0;
        QTest::newRow("month") << "month"
                               << "pw" << 0;
        QTest::newRow("recount") << "recount"
                                 << "pw" << 0;
        QTest::newRow("month, no password") << "month"
                                            << "" << 1;
        QTest::newRow("decode, wrong password") << "decode"
                                                << "PW" << 1;
        QTest::newRow("recount, wrong password") << "recount"
                                                 << "PW" << 1;
    }
    void encryptedDiaryNeedsThePassword()
    {
        QFETCH(QString, command);
        QFETCH(QString, password);
        QFETCH(int, status);
        TempProgramFolder folder;
        const AppPaths paths = folder.paths();
        const DiaryKey::Made made = DiaryKey::create("pw");
        QVERIFY(
            writeFileAtomically(paths.keyRecordPath(), made.record.toText().toLatin1()).isEmpty());
        const QByteArray plain =
            formatMonthText({makeEntry("2026/07/01", "5", "ホットプレート")}, QString()).plain;
        const QString month = paths.monthFilePath("2026", "07");
        QVERIFY(writeMonthFile(month, plain, made.key.get()).isEmpty());
        QStringList arguments{command, command == u"recount" ? paths.dataFolder() : month};
        if (!password.isEmpty())
            arguments << "--password" << password;
        const Run r = run(arguments);
        QCOMPARE(r.status, status);
        if (status != 0) {
            QVERIFY(r.err.contains("password"));
            QVERIFY(!QFileInfo::exists(paths.yearSummaryPath("2026")));
        } else if (command == u"decode") {
            QCOMPARE(r.out, plain);
        } else if (command == u"month") {
            QVERIFY(r.out.contains("ホットプレート"));
        } else {
            // The rows it writes are encrypted too, under the same key.
            QVERIFY(isEncryptedForm(readWholeFile(paths.yearSummaryPath("2026")).bytes));
            QCOMPARE(readYearSummary(paths.yearSummaryPath("2026"), nullptr, made.key.get())
                         .months[6]
                         .entries,
                     1);
        }
    }

    // The rows follow the month files, the expense stays; not while the diary runs.
    void recountRewritesTheRowsUnlessTheDiaryRuns()
    {
        TempProgramFolder folder;
        const AppPaths paths = folder.paths();
        folder.writeMonth("2026", "07",
                          {makeEntry("2026/07/01", "1"), makeEntry("2026/07/02", "2")});
        YearSummary stale;
        stale.months[6].entries = 5;
        stale.months[6].expenses = Currency::fromUnits(700);
        QVERIFY(writeYearSummary(paths.yearSummaryPath("2026"), stale).isEmpty());
        {
            // The diary's lock is found whatever the temporary folder of either process.
            QTemporaryDir diaryTemp;
            qputenv("TMPDIR", diaryTemp.path().toLocal8Bit());
            SingleInstance diary("zumicho", paths.dataFolder());
            QVERIFY(diary.tryAcquire());
            qunsetenv("TMPDIR");
            const Run refused = run({"recount", paths.dataFolder()});
            QCOMPARE(refused.status, 1);
            QVERIFY(refused.err.contains("open"));
            QCOMPARE(readYearSummary(paths.yearSummaryPath("2026")), stale);
        }
        const Run done = run({"recount", paths.dataFolder()});
        QCOMPARE(done.status, 0);
        QCOMPARE(
            done.out,
            QByteArray("2026/07: entries 5 -> 2\n2026 total: entries 0 -> 2, expenses 0 -> 700\n"));
        const YearSummary year = readYearSummary(paths.yearSummaryPath("2026"));
        QCOMPARE(year.months[6].entries, 2);
        QCOMPARE(year.months[6].expenses, Currency::fromUnits(700));
        QCOMPARE(readTotalSummary(paths.totalSummaryPath()).value(0).figures, year.yearTally());
        QCOMPARE(run({"recount", paths.dataFolder()}).out, QByteArray("nothing to change\n"));
    }

    // Exactly the open entries, read back by a standard iCalendar parser; the UIDs stay.
    void deadlinesWriteTheOpenEntriesAsACalendar_data()
    {
        QTest::addColumn<bool>("keyIsEndDay");
        QTest::newRow("key: entry date") << false;
        QTest::newRow("key: deadline") << true;
    }

    void deadlinesWriteTheOpenEntriesAsACalendar()
    {
        QFETCH(bool, keyIsEndDay);
        TempProgramFolder folder;
        folder.writeSettings(keyIsEndDay ? "[Setting]\r\nFormatKey=0\r\n"
                                         : "[Setting]\r\nFormatKey=1\r\n");
        const QDate today = QDate::currentDate();
        const auto entry = [&](int inDays, const QString& id, const QString& present,
                               const QString& kekka) {
            const QString deadline = today.addDays(inDays).toString("yyyy/MM/dd");
            const QString booked = today.addDays(-40).toString("yyyy/MM/dd");
            EntryRecord e = makeEntry(keyIsEndDay ? deadline : booked, id, present, kekka);
            e[OtherDate] = keyIsEndDay ? booked : deadline;
            e[URL] = QStringLiteral("https://example.jp/p?a=1,2;b=3");
            return e;
        };
        const QString longPrize = QString(30, QChar(u'賞')) + QStringLiteral("、旅行券；一名様");
        const QList<EntryRecord> entries{
            entry(2, "101", QStringLiteral("米10kg, 新潟産; 特別"), QStringLiteral("未応募")),
            entry(5, "0", longPrize, QStringLiteral("不明")),
            entry(3, "102", QStringLiteral("当たった"), QStringLiteral("当選")),
            entry(30, "103", QStringLiteral("先の話"), QStringLiteral("未応募")),
        };
        for (const EntryRecord& e : entries) {
            const QDate key = QDate::fromString(e[KeyDate], "yyyy/MM/dd");
            const QString year = key.toString("yyyy"), month = key.toString("MM");
            QList<EntryRecord> inMonth =
                readMonthFile(folder.paths().monthFilePath(year, month), QString()).entries;
            inMonth.append(e);
            folder.writeMonth(year, month, inMonth);
        }
        const QString ics = folder.path() + "/deadlines.ics";
        const auto parsed = [&] {
            const Run r = run({"deadlines", folder.paths().dataFolder(), "--ics", ics});
            QProcess parser;
            parser.start("/usr/bin/python3",
                         {"-c",
                          "import icalendar, json, sys\n"
                          "cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())\n"
                          "print(json.dumps([{'uid': str(e['UID']), 'summary': str(e['SUMMARY']),"
                          " 'start': e['DTSTART'].dt.isoformat(), 'url': str(e.get('URL', '')),"
                          " 'description': str(e['DESCRIPTION']),"
                          " 'alarm': str(e.subcomponents[0]['TRIGGER'].dt)}"
                          " for e in cal.walk('VEVENT')]))",
                          ics});
            parser.waitForFinished();
            return std::make_pair(r.status,
                                  QJsonDocument::fromJson(parser.readAllStandardOutput()).array());
        };
        const auto [status, events] = parsed();
        QCOMPARE(status, 0);
        QCOMPARE(events.size(), 2);
        const QJsonObject first = events[0].toObject();
        QCOMPARE(first["summary"].toString(), QStringLiteral("米10kg, 新潟産; 特別 (応募先)"));
        QCOMPARE(first["start"].toString(), today.addDays(2).toString(Qt::ISODate));
        QCOMPARE(first["url"].toString(), QStringLiteral("https://example.jp/p?a=1,2;b=3"));
        QVERIFY(first["description"].toString().contains("URL: https://example.jp/p?a=1,2;b=3"));
        QCOMPARE(first["alarm"].toString(), QStringLiteral("-7 days, 0:00:00"));
        QCOMPARE(events[1].toObject()["summary"].toString(),
                 longPrize + QStringLiteral(" (応募先)"));
        QVERIFY(events[0].toObject()["uid"] != events[1].toObject()["uid"]);
        // A second export gives the same events: calendars update them by their UIDs.
        const auto [again, later] = parsed();
        QCOMPARE(again, 0);
        QCOMPARE(later, events);
    }

    // 締切間近 told through the notification service; nothing when nothing is due.
    void deadlinesAreToldThroughTheDesktop()
    {
        NotificationBus bus;
        QCOMPARE(bus.error(), QString());
        {
            const QMutexLocker lock(&bus.service().mutex);
            bus.service().capabilities = {"body", "body-markup"};
        }
        TempProgramFolder folder;
        const QString data = folder.paths().dataFolder();
        QVERIFY(QDir().mkpath(data));
        const QDate today = QDate::currentDate();
        QCOMPARE(run({"deadlines", data, "--notify"}).status, 0);
        EntryRecord due =
            makeEntry(today.addDays(1).toString("yyyy/MM/dd"), "1", "米<5kg>&", "未応募");
        due[OtherDate] = today.addDays(3).toString("yyyy/MM/dd"); // the deadline: entry-date key
        folder.writeMonth(today.addDays(1).toString("yyyy"), today.addDays(1).toString("MM"),
                          {due});
        {
            // The diary runs on the folder and tells the day itself.
            SingleInstance diary("zumicho", data);
            QVERIFY(diary.tryAcquire());
            QCOMPARE(run({"deadlines", data, "--notify", "--days", "5"}).status, 0);
            QCOMPARE(bus.service().recorded(), QStringList());
        }
        const Run told = run({"deadlines", data, "--notify", "--days", "5"});
        QCOMPARE(told.status, 0);
        QCOMPARE(bus.service().recorded(),
                 (QStringList{"締切間近",
                              "締切日が今日から5日以内の未応募・不明の懸賞が1件あります。\n" +
                                  today.addDays(3).toString("MM/dd") +
                                  " 米&lt;5kg&gt;&amp;（応募先）"}));
    }
};

QTEST_GUILESS_MAIN(TestDataTool)
#include "tst_datatool.moc"

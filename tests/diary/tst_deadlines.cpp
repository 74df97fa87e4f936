#include "diary/Deadlines.h"
#include "support/TempProgramFolder.h"

#include <QTest>

class tst_Deadlines : public QObject
{
    Q_OBJECT

private slots:
    void openRule_data();
    void openRule();
    void scanReadsOnlyTheMonthsItNeeds();
};

void tst_Deadlines::openRule_data()
{
    QTest::addColumn<bool>("keyIsEndDay");
    QTest::addColumn<QString>("today");
    QTest::addColumn<int>("days");
    QTest::addColumn<QString>("deadline");
    QTest::addColumn<QString>("kekka");
    QTest::addColumn<bool>("open");

    for (const bool key : {true, false}) {
        const QByteArray k = key ? "end key: " : "entry key: ";
        QTest::newRow(k + "today itself") << key << "2026/05/10" << 7 << "2026/05/10"
                                          << "不明" << true;
        QTest::newRow(k + "last day") << key << "2026/05/10" << 7 << "2026/05/17"
                                      << "未応募" << true;
        QTest::newRow(k + "one past") << key << "2026/05/10" << 7 << "2026/05/18"
                                      << "不明" << false;
        QTest::newRow(k + "yesterday") << key << "2026/05/10" << 7 << "2026/05/09"
                                       << "不明" << false;
        QTest::newRow(k + "into next month") << key << "2026/01/29" << 7 << "2026/02/05"
                                             << "不明" << true;
        QTest::newRow(k + "leap day") << key << "2028/02/25" << 4 << "2028/02/29"
                                      << "不明" << true;
        QTest::newRow(k + "over new year") << key << "2026/12/28" << 7 << "2027/01/04"
                                           << "未応募" << true;
        QTest::newRow(k + "new year + 1") << key << "2026/12/28" << 7 << "2027/01/05"
                                          << "未応募" << false;
        QTest::newRow(k + "zero days") << key << "2026/12/31" << 0 << "2026/12/31"
                                       << "不明" << true;
        QTest::newRow(k + "99 days") << key << "2026/10/01" << 99 << "2027/01/08"
                                     << "不明" << true;
        QTest::newRow(k + "entered") << key << "2026/05/10" << 7 << "2026/05/12"
                                     << "応募済み" << false;
        QTest::newRow(k + "won") << key << "2026/05/10" << 7 << "2026/05/12"
                                 << "小物当選" << false;
        QTest::newRow(k + "no date") << key << "2026/05/10" << 7 << "----/--/--"
                                     << "不明" << false;
    }
}

void tst_Deadlines::openRule()
{
    QFETCH(bool, keyIsEndDay);
    QFETCH(QString, today);
    QFETCH(int, days);
    QFETCH(QString, deadline);
    QFETCH(QString, kekka);
    QFETCH(bool, open);

    // The other date is far away, so only the deadline's column can decide.
    EntryRecord e =
        makeEntry(QStringLiteral("2000/01/01"), QStringLiteral("1"), QStringLiteral("賞品"), kekka);
    e[keyIsEndDay ? KeyDate : OtherDate] = deadline;
    e[keyIsEndDay ? OtherDate : KeyDate] = QStringLiteral("2000/01/01");
    QCOMPARE(isOpenEntry(e, keyIsEndDay, QDate::fromString(today, "yyyy/MM/dd"), days), open);
}

void tst_Deadlines::scanReadsOnlyTheMonthsItNeeds()
{
    TempProgramFolder folder;
    const QDate today(2026, 12, 28);

    // Deadline as key: December and January hold the open entries; a February entry is too
    // late and an unreadable file of an earlier month is never opened.
    folder.writeMonth("2026", "12", {makeEntry("2026/12/30", "3"), makeEntry("2026/12/27", "4")});
    folder.writeMonth("2027", "01",
                      {makeEntry("2027/01/02", "1"), makeEntry("2027/01/04", "2", "x", "落選")});
    folder.writeMonth("2027", "02", {makeEntry("2027/02/01", "5")});
    folder.writeMonth("2026", "11", {makeEntry("2026/11/01", "6")}, "other");
    DeadlineScan scan = findOpenEntries(folder.paths(), true, QString(), today, 7);
    QStringList ids;
    for (const EntryRecord& e : scan.entries)
        ids << e[ID];
    QCOMPARE(ids, QStringList({"3", "1"}));
    QVERIFY(scan.unreadableFiles.isEmpty());

    // Entry date as key: an entry booked in March for a January deadline is found, sorted by
    // deadline, and the unreadable November file is named.
    TempProgramFolder byEntry;
    EntryRecord early = makeEntry("2026/03/01", "10");
    early[OtherDate] = "2027/01/03";
    EntryRecord later = makeEntry("2026/12/28", "11");
    later[OtherDate] = "2026/12/29";
    EntryRecord future = makeEntry("2027/02/01", "12");
    future[OtherDate] = "2027/02/01";
    byEntry.writeMonth("2026", "03", {early});
    byEntry.writeMonth("2026", "12", {later});
    byEntry.writeMonth("2027", "02", {future});
    byEntry.writeMonth("2026", "11", {makeEntry("2026/11/01", "6")}, "other");
    scan = findOpenEntries(byEntry.paths(), false, QString(), today, 7);
    ids.clear();
    for (const EntryRecord& e : scan.entries)
        ids << e[ID];
    QCOMPARE(ids, QStringList({"11", "10"}));
    QCOMPARE(scan.unreadableFiles.size(), 1);
    QCOMPARE(scan.unreadableFiles[0].path, byEntry.paths().monthFilePath("2026", "11"));
    QCOMPARE(scan.unreadableFiles[0].status, MonthRead::Status::Refused);
}

QTEST_GUILESS_MAIN(tst_Deadlines)
#include "tst_deadlines.moc"

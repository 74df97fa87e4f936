#include "core/AtomicFile.h"
#include "core/FileFaults.h"
#include "diary/Export.h"
#include "diary/KeySort.h"
#include "diary/MonthFile.h"
#include "forms/EntryTableModel.h"
#include "forms/frmDataSearch.h"
#include "support/MainWindowHarness.h"

#include <QFile>
#include <QTest>

class TestDeadlinesAndCsv : public QObject
{
    Q_OBJECT

private slots:
    void startUpOffersTheDeadlinesAndTheSearchFormListsThemAgain();
    void csvOfASavedMonthComesBackByteForByte();
    void unreadableMonthsAreListedInOneBox();
};

void TestDeadlinesAndCsv::startUpOffersTheDeadlinesAndTheSearchFormListsThemAgain()
{
    MainWindowHarness h(QDate(2026, 12, 28),
                        "[Setting]\r\nFormatKey=0\r\nSimekiriDays=7\r\nSimekiriStart=1\r\n");
    h.folder.writeMonth(
        "2026", "12",
        {makeEntry("2026/12/31", "2", "A", "未応募"), makeEntry("2026/12/29", "3", "B", "落選")});
    h.folder.writeMonth("2027", "01", {makeEntry("2027/01/04", "1"), makeEntry("2027/01/05", "4")});
    h.dialogs.queueAnswer(MessageAnswer::Yes);
    h.start(true);

    QTRY_COMPARE(h.dialogs.shown.size(), 1);
    QCOMPARE(h.dialogs.shown[0].box.caption, QString("締切間近"));
    QVERIFY(h.dialogs.shown[0].box.text.contains("2件"));
    QVERIFY(h.window->currentTab() == Tab::Search);
    const auto ids = [&] {
        QStringList list;
        for (const EntryRecord& e : h.window->searchModel()->entries())
            list << e[ID];
        return list;
    };
    QCOMPARE(ids(), QStringList({"2", "1"}));
    QCOMPARE(h.panel("txtTotalCount"), QString("2"));
    QVERIFY(h.button("cmdSave")->isEnabled()); // the search tab's commands work on the list

    // The search form's button gives the same list after other results.
    auto* form = h.window->findChild<frmDataSearch*>();
    QVERIFY(form);
    h.window->searchModel()->clear();
    form->findChild<QPushButton*>("cmdSimekiri")->click();
    QCOMPARE(ids(), QStringList({"2", "1"}));

    // And the same entries as calendar events, in a file named without its suffix.
    h.dialogs.clearShown();
    h.dialogs.queueFileName(h.folder.path() + "/締切");
    h.dialogs.queueAnswer(MessageAnswer::Ok);
    form->findChild<QPushButton*>("cmdCalendar")->click();
    QCOMPARE(h.dialogs.shown.size(), 1);
    QCOMPARE(h.dialogs.shown[0].box.caption, QString("完了"));
    QVERIFY(h.dialogs.shown[0].box.text.contains("2件"));
    QFile ics(h.folder.path() + "/締切.ics");
    QVERIFY(ics.open(QIODevice::ReadOnly));
    const QByteArray calendar = ics.readAll();
    QCOMPARE(calendar.count("BEGIN:VEVENT"), 2);
    QVERIFY(calendar.contains("DTSTART;VALUE=DATE:20261231\r\n"));
    QVERIFY(calendar.contains("DTSTART;VALUE=DATE:20270104\r\n"));
    QVERIFY(h.dialogs.unexpected.isEmpty());
    QVERIFY(h.dialogs.allAnswersUsed());
}

void TestDeadlinesAndCsv::csvOfASavedMonthComesBackByteForByte()
{
    // A July of the deadline key as the diary keeps it (sorted, no page addresses, since a
    // saved list leaves them out), saved as CSV with the statistics.
    QList<EntryRecord> july;
    for (int i = 0; i < 5; ++i) {
        EntryRecord e = makeEntry(QString("2026/07/%1").arg(2 + i * 5, 2, 10, QChar('0')),
                                  QString::number(40 + i), QString("賞品%1,「限定」").arg(i),
                                  i == 1 ? "中物当選" : "不明", i == 1 ? "30000" : "0");
        e[URL].clear();
        e[OtherDate] = "2026/06/20";
        e[Msg] = i == 3 ? QString("行1\r\n行2") : QString();
        july << e;
    }
    SortMonthList(july, true);
    listexport::ExportInput input;
    input.keyIsEndDay = true;
    for (const EntryRecord& e : july)
        input.rows << e.toStringList();
    input.withStatistics = true;
    QByteArray csv =
        listexport::encodeExport(listexport::exportText(input, listexport::Format::Csv)).bytes;
    // One row that cannot be read, before the statistics.
    csv.insert(csv.indexOf("\r\n\r\n") + 2, QByteArray("\"2026/07/40\",\"9\"\r\n"));

    MainWindowHarness h(QDate(2026, 12, 7), "[Setting]\r\nFormatKey=0\r\n");
    const QString path = h.folder.path() + "/diary.csv";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(csv);
    file.close();
    h.start();
    h.dialogs.queueFileName(path);
    h.dialogs.queueAnswer(MessageAnswer::Ok);
    h.button("cmdCsvInput")->click();

    QCOMPARE(h.folder.plainFile("data/2026/07.log"), formatMonthText(july, QString()).plain);
    QVERIFY(h.folder.plainFile("data/0000/2026.log")
                .contains("\r\n7,0,1,0,1,5,20.00,30000,0,30000\r\n"));
    QCOMPARE(h.shownDate(), QString("2026/12/07")); // the month on show before
    QCOMPARE(h.dialogs.shown.size(), 1);
    QCOMPARE(h.dialogs.shown[0].box.caption, QString("CSV取込"));
    QVERIFY(h.dialogs.shown[0].box.text.contains("5件を登録しました"));
    QVERIFY(h.dialogs.shown[0].box.text.contains("8行目"));
    QVERIFY(h.dialogs.unexpected.isEmpty());
}

// A CSV import and the 締切間近 list over months that cannot be read: one box each, naming
// every file and why, and the files stay as they were.
void TestDeadlinesAndCsv::unreadableMonthsAreListedInOneBox()
{
    MainWindowHarness h(QDate(2026, 12, 7), "[Setting]\r\nFormatKey=1\r\n");
    const AppPaths paths = h.folder.paths();
    const QString may = paths.monthFilePath("2026", "05");
    const QString june = paths.monthFilePath("2026", "06");
    const QString august = paths.monthFilePath("2026", "08");
    const QByteArray cut = formatMonthText({makeEntry("2026/05/01", "50")}, QString()).plain;
    QVERIFY(writeMonthFile(may, cut.chopped(7)).isEmpty());
    h.folder.writeMonth("2026", "06", {makeEntry("2026/06/01", "60")});
    h.folder.writeMonth("2026", "08", {makeEntry("2026/08/01", "80")}, "other");
    QMap<QString, QByteArray> stored;
    for (const QString& path : {may, june, august})
        stored[path] = readWholeFile(path).bytes;
    h.start();
    filefaults::refuseReads(june);

    listexport::ExportInput input;
    for (const char* day : {"2026/05/02", "2026/06/02", "2026/07/02", "2026/08/02", "2026/09/02"})
        input.rows << makeEntry(day, QString(day).mid(5, 2)).toStringList();
    const QString csv = h.folder.path() + "/diary.csv";
    QVERIFY(
        writeFileAtomically(
            csv,
            listexport::encodeExport(listexport::exportText(input, listexport::Format::Csv)).bytes)
            .isEmpty());
    h.dialogs.queueFileName(csv);
    h.dialogs.queueAnswer(MessageAnswer::Ok);
    h.button("cmdCsvInput")->click();
    h.dialogs.queueAnswer(MessageAnswer::Ok); // the files
    h.dialogs.queueAnswer(MessageAnswer::Ok); // and no deadline coming up
    h.window->searchPage().cmdSimekiri_Click();
    filefaults::refuseReads(QString());

    QCOMPARE(h.dialogs.shown.size(), 3);
    const QString imported = h.dialogs.shown[0].box.text;
    QCOMPARE(h.dialogs.shown[0].box.caption, QString("CSV取込"));
    QVERIFY(imported.contains("2件を登録しました"));
    QVERIFY(imported.contains("3件を登録していません"));
    QCOMPARE(h.dialogs.shown[1].box.caption, QString("ファイルエラー"));
    for (const QString& text : {imported, h.dialogs.shown[1].box.text}) {
        QVERIFY(text.contains(QString("「%1」（ファイルが壊れています）").arg(may)));
        QVERIFY(text.contains(QString("「%1」（ファイルを開けません）").arg(june)));
        QVERIFY(
            text.contains(QString("「%1」（記帳者認証のパスワードが一致しません）").arg(august)));
    }
    QCOMPARE(h.dialogs.shown[2].box.caption, QString("締切間近"));
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        QCOMPARE(readWholeFile(it.key()).bytes, it.value());
    QVERIFY(h.dialogs.unexpected.isEmpty());
}

QTEST_MAIN(TestDeadlinesAndCsv)
#include "tst_deadlinesandcsv.moc"

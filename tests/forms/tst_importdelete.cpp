#include "forms/EntryTableModel.h"
#include "support/MainWindowHarness.h"

#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTest>

namespace {

QString listing(const QString& id, const QString& prize, const QString& deadline)
{
    return QStringLiteral(
               "ID:%1 賞品:%2 <http://example.jp/x>\r\nURL "
               "http://www.example.jp/campaign/\r\n2024/index.html\r\n"
               "当選数:10名様 "
               "締切:%3\r\nサイト名:サンプル食品\r\n紹介文:新商品発売記念キャンペーン\r\n"
               "［家電ＡＶ製品│アンケート│抽選│毎月│ネット応募］\r\n")
        .arg(id, prize, deadline);
}

void selectRows(QTableView* view, const QList<int>& rows)
{
    view->clearSelection();
    for (int row : rows)
        view->selectionModel()->select(view->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

} // namespace

class TestImportDelete : public QObject
{
    Q_OBJECT

private slots:
    void importRegistersByDeadlineMonthAndShowsTheViewedMonthAgain()
    {
        MainWindowHarness h(QDate(2024, 3, 10), "[Setting]\r\nFormatKey=0\r\n");
        h.start();
        h.dialogs.clipboard = listing("12345", "ホットプレート", "2024/03/31") +
                              listing("23456", "カメラ", "2024/04/15") +
                              QStringLiteral("ID:999 こわれた情報\r\n");
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.button("cmdInput")->click();
        QCOMPARE(h.shownDate(), QStringLiteral("2024/03/10"));
        QCOMPARE(h.window->monthModel()->rowCount(), 1);
        const EntryRecord& march = h.window->monthModel()->entry(0);
        QCOMPARE(march[ID], QStringLiteral("12345"));
        QCOMPARE(march[KeyDate], QStringLiteral("2024/03/31"));
        QCOMPARE(march[URL], QStringLiteral("http://www.example.jp/campaign/2024/index.html"));
        QCOMPARE(march[OtherDate], QStringLiteral("2024/03/10"));
        QVERIFY(QFile::exists(h.folder.paths().monthFilePath("2024", "04")));
        QCOMPARE(h.window->searchModel()->rowCount(), 2);
        // The unreadable listing is named once at the end.
        QCOMPARE(h.dialogs.shown.size(), 1);
        QVERIFY(h.dialogs.shown[0].box.text.contains(QStringLiteral("999")));
        QVERIFY(
            h.folder.plainFile("data/0000/2024.log").contains("\r\n4,0,0,0,0,1,0.00,0,0,0\r\n"));
    }

    void importAsksAboutRegisteredIds()
    {
        MainWindowHarness h(QDate(2024, 3, 10)); // key date: the entry date, so all go to March
        h.folder.writeMonth("2024", "03", {makeEntry("2024/03/01", "12345")});
        h.start();
        h.dialogs.clipboard =
            listing("12345", "ホットプレート", "2024/03/31") + listing("777", "本", "2024/05/01");
        h.dialogs.queueAnswer(MessageAnswer::No);
        h.button("cmdInput")->click();
        QCOMPARE(h.dialogs.shown.size(), 1);
        QVERIFY(h.dialogs.shown[0].box.text.contains(QStringLiteral("12345")));
        QCOMPARE(h.window->monthModel()->rowCount(), 2); // the old entry and listing 777
        QCOMPARE(h.window->monthModel()->entry(1)[ID], QStringLiteral("777"));
        h.dialogs.clipboard = listing("12345", "ホットプレート", "2024/03/31");
        h.dialogs.queueAnswer(MessageAnswer::Yes);
        h.button("cmdInput")->click();
        QCOMPARE(h.window->monthModel()->rowCount(), 3);
    }

    void deleteSelectedRowsAsksAndRewritesTheMonth()
    {
        MainWindowHarness h(QDate(2026, 7, 15), "[Setting]\r\nDeleteKakunin=1\r\n");
        QList<EntryRecord> rows;
        for (int i = 1; i <= 5; ++i)
            rows.append(makeEntry(QStringLiteral("2026/07/0%1").arg(i), QString::number(i)));
        h.folder.writeMonth("2026", "07", rows);
        h.start();
        auto* list = h.child<QTableView>("lvwMonth");
        selectRows(list, {1, 3});
        QVERIFY(h.button("cmdDelete")->isEnabled());
        QVERIFY(!h.button("cmdHensyu")->isEnabled()); // two selected: no edit
        h.dialogs.queueAnswer(MessageAnswer::No);
        h.button("cmdDelete")->click();
        QCOMPARE(h.window->monthModel()->rowCount(), 5);
        selectRows(list, {1, 3});
        h.dialogs.queueAnswer(MessageAnswer::Yes);
        h.button("cmdDelete")->click();
        QCOMPARE(h.dialogs.shown.size(), 2);
        QCOMPARE(h.dialogs.shown[1].box.caption, QStringLiteral("削除の確認"));
        h.window->monthPage().LoadMonthFile();
        QStringList ids;
        for (const EntryRecord& e : h.window->monthModel()->entries())
            ids << e[ID];
        QCOMPARE(ids, (QStringList{"1", "3", "5"}));
    }

    void deletingEverythingTidiesFoldersAndSummaries()
    {
        MainWindowHarness h(QDate(2026, 7, 15),
                            "[Setting]\r\nDeleteKakunin=1\r\nAllDeleteKakunin=1\r\n");
        h.folder.writeMonth("2025", "01", {makeEntry("2025/01/05", "9")});
        h.start();
        // January 2025 reaches the summaries through a save of its own.
        h.window->monthPage().showMonthOf(QDate(2025, 1, 15));
        QVERIFY(h.window->monthPage().SaveMonthFile());
        h.window->monthPage().showMonthOf(QDate(2026, 7, 15));
        h.window->shownMonth().append({makeEntry("2026/07/01", "1"), makeEntry("2026/07/02", "2")});
        QVERIFY(h.window->monthPage().SaveMonthFile());
        // Selecting every row deletes all without any question.
        selectRows(h.child<QTableView>("lvwMonth"), {0, 1});
        h.button("cmdDelete")->click();
        QVERIFY(h.dialogs.shown.isEmpty());
        const AppPaths paths = h.folder.paths();
        QVERIFY(!QDir(paths.yearFolder("2026")).exists());
        QVERIFY(!QFile::exists(paths.yearSummaryPath("2026")));
        QCOMPARE(h.folder.plainFile("data/0000/total.log").left(5), QByteArray("2025,"));
        QVERIFY(!h.folder.plainFile("data/0000/total.log").contains("2026,"));
        // The total tab's all-delete removes every year and the summary folder.
        h.selectTab("T_Total");
        h.dialogs.queueAnswer(MessageAnswer::Yes);
        h.button("cmdAllDelete")->click();
        QCOMPARE(h.dialogs.shown.last().box.caption, QStringLiteral("全削除の確認"));
        QVERIFY(!QDir(paths.yearFolder("2025")).exists());
        QVERIFY(!QDir(paths.summaryFolder()).exists());
        QVERIFY(QFile::exists(paths.settingsPath()));
        QCOMPARE(h.panel("txtTotalCount"), QStringLiteral("0"));
    }

    void yearTabDeletesOneMonth()
    {
        MainWindowHarness h(QDate(2026, 7, 15));
        h.folder.writeMonth("2026", "03", {makeEntry("2026/03/05", "3")});
        h.start();
        h.window->shownMonth().append({makeEntry("2026/07/01", "1")});
        QVERIFY(h.window->monthPage().SaveMonthFile());
        h.button("cmdMonthBack")->click(); // June
        for (int i = 0; i < 3; ++i)
            h.button("cmdMonthBack")->click();
        QVERIFY(h.window->monthPage().SaveMonthFile()); // March gets its summary row
        h.selectTab("T_Year");
        auto* year = h.child<QTableView>("lvwYear");
        emit year->clicked(year->model()->index(2, 0));
        QVERIFY(h.button("cmdDelete")->isEnabled());
        h.button("cmdDelete")->click();
        QVERIFY(!QFile::exists(h.folder.paths().monthFilePath("2026", "03")));
        const QByteArray summary = h.folder.plainFile("data/0000/2026.log");
        QVERIFY(summary.contains("\r\n3,0,0,0,0,0,0.00,0,0,0\r\n"));
        QVERIFY(summary.contains("\r\n7,0,0,0,0,1,0.00,0,0,0\r\n"));
    }

    void siteAddressesOfEntriesTakenFromTheSite()
    {
        const QString category =
            QStringLiteral("https://www.example.jp/cgi-bin/zumira/search-bunrui.cgi?links=55");
        QCOMPARE(siteAddressFor(category, "0"), category);
        QCOMPARE(siteAddressFor(category, "55"),
                 QStringLiteral("https://www.example.jp/search-pickup.cgi?links=55"));
        QCOMPARE(siteAddressFor("http://other.example.com/", "55"),
                 QStringLiteral("http://other.example.com/"));
    }
};

QTEST_MAIN(TestImportDelete)
#include "tst_importdelete.moc"

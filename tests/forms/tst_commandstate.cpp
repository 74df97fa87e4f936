#include "forms/EntryTableModel.h"
#include "support/MainWindowHarness.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QStandardItemModel>

namespace {

const char* kSettings = "[Setting]\r\nDeleteKakunin=1\r\n";

EntryRecord withPage(EntryRecord e)
{
    e[URL] = QStringLiteral("http://example.jp/");
    return e;
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool editable(MainWindowHarness& h)
{
    return h.button("cmdHensyu")->isEnabled() && h.button("cmdDelete")->isEnabled();
}

// The search tab with the given results, as a search leaves them.
void showResults(MainWindowHarness& h, const QList<EntryRecord>& rows)
{
    h.selectTab("T_Search");
    h.window->searchPage().searchList().setEntries(rows);
    h.window->RefreshTotals();
}

} // namespace

class TestCommandState : public QObject
{
    Q_OBJECT

private slots:
    void stillSelectedRowCanBePickedAgain_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("home page") << "url";
        QTest::newRow("entry form closed") << "form";
        QTest::newRow("delete answered No") << "no";
        QTest::newRow("search tab, saved edit") << "search";
    }
    void stillSelectedRowCanBePickedAgain()
    {
        QFETCH(QString, action);
        MainWindowHarness h(QDate(2026, 7, 15), kSettings);
        const QList<EntryRecord> rows{withPage(makeEntry("2026/07/01", "0")),
                                      makeEntry("2026/07/02", "0")};
        h.folder.writeMonth("2026", "07", rows);
        h.start(true);
        const char* list = action == u"search" ? "lvwSearch" : "lvwMonth";
        if (action == u"search")
            showResults(h, rows);
        h.clickRow(list, 0);
        QVERIFY(editable(h));
        if (action == u"url") {
            h.button("cmdURL")->click();
        } else if (action == u"no") {
            h.dialogs.queueAnswer(MessageAnswer::No);
            h.button("cmdDelete")->click();
        } else {
            h.button("cmdHensyu")->click();
            QVERIFY(h.form());
            if (action == u"search") {
                h.form()->findChild<QLineEdit*>("txtPresent")->setText(QStringLiteral("別の賞品"));
                h.form()->findChild<QPushButton*>("cmdKoshin")->click();
            }
            h.form()->close();
        }
        QVERIFY(!editable(h));
        h.clickRow(list, 0); // the row never left the selection
        QVERIFY(editable(h));
    }

    void sortEndsThePick()
    {
        MainWindowHarness h(QDate(2026, 7, 15));
        h.folder.writeMonth("2026", "07",
                            {makeEntry("2026/07/01", "9"), makeEntry("2026/07/02", "10")});
        h.start(true);
        h.clickRow("lvwMonth", 1);
        QVERIFY(editable(h));
        emit h.child<QTableView>("lvwMonth")->horizontalHeader()->sectionClicked(ID);
        QVERIFY(!h.button("cmdHensyu")->isEnabled());
        QVERIFY(!h.button("cmdDelete")->isEnabled());
    }

    void searchDeleteWithRowsKeptLeavesCommandsOff()
    {
        MainWindowHarness h(QDate(2026, 7, 15), kSettings);
        const QList<EntryRecord> rows{makeEntry("2026/07/01", "1"), makeEntry("2026/07/02", "2"),
                                      makeEntry("2026/07/03", "3")};
        h.folder.writeMonth("2026", "07", rows);
        h.start(true);
        showResults(h, rows);
        auto* view = h.child<QTableView>("lvwSearch");
        view->selectAll();
        QVERIFY(h.button("cmdDelete")->isEnabled());
        for (MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Yes})
            h.dialogs.queueAnswer(answer);
        h.button("cmdDelete")->click();
        QCOMPARE(h.window->searchPage().searchList().rowCount(), 1);
        QCOMPARE(view->selectionModel()->selectedRows().size(), 1);
        QVERIFY(!h.button("cmdHensyu")->isEnabled());
        QVERIFY(!h.button("cmdDelete")->isEnabled());
    }

    // The commands act on the one selected row. "ctrl-click off": click the second row,
    // ctrl-click the first twice; the second alone is selected and the first is current.
    // "none left": click the second row and ctrl-click it off; no command runs.
    void commandsActOnThePickedRow_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("picks");
        QTest::addColumn<QString>("command");
        QTest::newRow("month, home page") << "lvwMonth"
                                          << "click"
                                          << "cmdURL";
        QTest::newRow("search, home page") << "lvwSearch"
                                           << "click"
                                           << "cmdURL";
        QTest::newRow("search, delete") << "lvwSearch"
                                        << "click"
                                        << "cmdDelete";
        for (const char* list : {"lvwMonth", "lvwSearch"}) {
            for (const char* picks : {"ctrl-click off", "none left"}) {
                for (const char* command : {"cmdHensyu", "Enter", "cmdURL"})
                    QTest::addRow("%s, %s, %s", list, picks, command) << list << picks << command;
            }
        }
    }
    void commandsActOnThePickedRow()
    {
        QFETCH(QString, list);
        QFETCH(QString, picks);
        QFETCH(QString, command);
        MainWindowHarness h(QDate(2026, 7, 15), kSettings);
        QList<EntryRecord> rows;
        for (int day = 1; day <= 3; ++day) {
            rows.append(makeEntry(QStringLiteral("2026/07/0%1").arg(day), "0"));
            rows.last()[URL] = QStringLiteral("http://example.jp/%1").arg(day);
        }
        h.folder.writeMonth("2026", "07", rows);
        h.start(true);
        if (list == u"lvwSearch")
            showResults(h, rows);
        auto* view = h.child<QTableView>(qPrintable(list));
        h.clickRow(qPrintable(list), 1);
        if (picks == u"none left")
            h.clickRow(qPrintable(list), 1, Qt::ControlModifier);
        for (int i = 0; picks == u"ctrl-click off" && i < 2; ++i)
            h.clickRow(qPrintable(list), 0, Qt::ControlModifier);
        const bool acts = picks != u"none left";
        QCOMPARE(view->selectionModel()->selectedRows().size(), acts ? 1 : 0);
        if (list == u"lvwSearch" && acts)
            QCOMPARE(h.shownDate(), rows[1][KeyDate]); // the month context of the entry

        if (command == u"cmdDelete")
            h.dialogs.queueAnswer(MessageAnswer::Yes);
        if (command == u"Enter")
            QTest::keyClick(view, Qt::Key_Return);
        else
            h.button(qPrintable(command))->click();
        QVERIFY(h.dialogs.allAnswersUsed());
        if (command == u"cmdURL") {
            QCOMPARE(h.dialogs.openedUrls, acts ? QStringList{rows[1][URL]} : QStringList{});
        } else if (command == u"cmdDelete") {
            QCOMPARE(h.window->searchPage().searchList().entries(),
                     (QList<EntryRecord>{rows[0], rows[2]}));
            QCOMPARE(h.window->shownMonth().entries(), (QList<EntryRecord>{rows[0], rows[2]}));
        } else {
            QCOMPARE(h.form() ? h.form()->findChild<QLineEdit*>("txtURL")->text() : QString(),
                     acts ? rows[1][URL] : QString());
        }
    }

    void failedSaveNeverReachesAnotherMonth_data()
    {
        QTest::addColumn<QString>("pick");
        QTest::newRow("another day") << "day";
        QTest::newRow("a year row") << "year";
        QTest::newRow("a total row") << "total";
        QTest::newRow("a search row") << "search";
    }
    void failedSaveNeverReachesAnotherMonth()
    {
        QFETCH(QString, pick);
        MainWindowHarness h(QDate(2026, 7, 15));
        h.folder.writeMonth("2026", "07",
                            {makeEntry("2026/07/01", "1"), makeEntry("2026/07/02", "2")});
        const EntryRecord august = makeEntry("2026/08/03", "8");
        h.folder.writeMonth("2026", "08", {august});
        h.start(true);
        h.window->monthPage().showMonthOf(QDate(2026, 8, 3));
        QVERIFY(h.window->monthPage().SaveMonthFile()); // August reaches the summaries
        h.window->monthPage().showMonthOf(QDate(2026, 7, 15));
        const AppPaths paths = h.folder.paths();
        const QByteArray augustBefore = bytesOf(paths.monthFilePath("2026", "08"));

        // July cannot be written: a folder stands where its file belongs.
        const QString july = paths.monthFilePath("2026", "07");
        QVERIFY(QFile::rename(july, july + ".kept"));
        QVERIFY(QDir().mkpath(july));
        h.dialogs.queueAnswer(MessageAnswer::Ok); // the failed save
        h.dialogs.queueAnswer(MessageAnswer::Ok); // July read again: it cannot be
        emit h.child<QTableView>("lvwMonth")->horizontalHeader()->sectionClicked(ID);
        QVERIFY(!h.dialogs.shown.isEmpty());
        QCOMPARE(h.dialogs.shown.first().box.caption, QStringLiteral("保存エラー"));
        QVERIFY(!h.window->shownMonth().dirty());

        if (pick == u"day") {
            h.child<QDateEdit>("dtpDate")->setDate(QDate(2026, 8, 20));
        } else if (pick == u"year") {
            h.selectTab("T_Year");
            h.clickRow("lvwYear", 7);
            h.selectTab("T_Month");
        } else if (pick == u"total") {
            h.dialogs.queueAnswer(MessageAnswer::Ok); // July read once more on the way back
            h.selectTab("T_Total");
            h.clickRow("lvwTotal", 0);
            h.selectTab("T_Month");
        } else {
            showResults(h, {august});
            h.clickRow("lvwSearch", 0);
            h.selectTab("T_Month");
        }
        QCOMPARE(bytesOf(paths.monthFilePath("2026", "08")), augustBefore);
        QVERIFY(QFileInfo(july).isDir());
    }

    void yearAndTotalListsTakeTheKeyboard()
    {
        MainWindowHarness h(QDate(2026, 7, 15));
        h.folder.writeMonth("2026", "03", {makeEntry("2026/03/05", "3")});
        h.start(true);
        h.window->monthPage().showMonthOf(QDate(2026, 3, 5));
        QVERIFY(h.window->monthPage().SaveMonthFile());
        h.selectTab("T_Year");
        auto* year = h.child<QTableView>("lvwYear");
        h.clickRow("lvwYear", 0);
        QVERIFY(!h.button("cmdDelete")->isEnabled()); // January has no entries
        year->setFocus();
        QTest::keyClick(year, Qt::Key_Down);
        QTest::keyClick(year, Qt::Key_Down);
        QCOMPARE(h.shownDate(), QStringLiteral("2026/03/01"));
        QCOMPARE(h.child<QLabel>("lblMonth")->text(), QStringLiteral("2026年03月の支出総額"));
        QVERIFY(h.button("cmdDelete")->isEnabled());
        QVERIFY(h.button("cmdUnhappyMoneyIn")->isEnabled());
        QTest::keyClick(year, Qt::Key_Delete);
        QVERIFY(!QFile::exists(h.folder.paths().monthFilePath("2026", "03")));
        QVERIFY(!h.button("cmdDelete")->isEnabled());

        h.folder.writeMonth("2025", "01", {makeEntry("2025/01/05", "1")});
        h.window->monthPage().showMonthOf(QDate(2025, 1, 5));
        QVERIFY(h.window->monthPage().SaveMonthFile());
        h.selectTab("T_Total");
        auto* total = h.child<QTableView>("lvwTotal");
        total->setFocus();
        QTest::keyClick(total, Qt::Key_Down);
        QCOMPARE(h.shownDate().left(4), QStringLiteral("2025"));
        QTest::keyClick(total, Qt::Key_Delete);
        QVERIFY(!QDir(h.folder.paths().yearFolder("2025")).exists());
    }
};

QTEST_MAIN(TestCommandState)
#include "tst_commandstate.moc"

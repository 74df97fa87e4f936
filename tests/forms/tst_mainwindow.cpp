#include "core/Clock.h"
#include "diary/Settings.h"
#include "diary/SummaryFiles.h"
#include "forms/EntryTableModel.h"
#include "forms/MonthPage.h"
#include "forms/frmMain.h"
#include "support/MainWindowHarness.h"
#include "support/ScriptedDialogs.h"
#include "support/TempProgramFolder.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

using Harness = MainWindowHarness;

EntryRecord won(const QString& day, const QString& id, const QString& kekka, const QString& amount,
                const QString& happyDay = kNoHappyDay)
{
    EntryRecord e = makeEntry(day, id, QStringLiteral("賞品") + id, kekka, amount);
    e[HappyDay] = happyDay;
    return e;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void navigationFollowsTheDayRules()
    {
        Harness h(QDate(2024, 3, 31));
        h.folder.writeMonth("2024", "02", {makeEntry("2024/02/10", "1")});
        h.start();
        h.button("cmdMonthBack")->click();
        QCOMPARE(h.shownDate(), QStringLiteral("2024/02/29"));
        QCOMPARE(h.window->monthModel()->rowCount(), 1);
        h.button("cmdYearNext")->click();
        QCOMPARE(h.shownDate(), QStringLiteral("2025/02/28"));
        QCOMPARE(h.window->monthModel()->rowCount(), 0);
        h.button("cmdMonthNext")->click();
        QCOMPARE(h.shownDate(), QStringLiteral("2025/03/28"));
    }

    void statisticsAndRowColours()
    {
        Harness h(QDate(2026, 7, 15));
        h.folder.writeMonth("2026", "07",
                            {won("2026/07/01", "1", "当選", "500"),
                             won("2026/07/02", "2", "中物当選", "3000", "2026/07/15"),
                             won("2026/07/03", "3", "不明", "0", "2026/07/15"),
                             won("2026/07/04", "4", "小物当選", "0")});
        h.start();
        QCOMPARE(h.panel("txtHappyCount"), QStringLiteral("3"));
        QCOMPARE(h.panel("txtTotalCount"), QStringLiteral("4"));
        QCOMPARE(h.panel("txtPercent"), QStringLiteral("75.00"));
        QCOMPARE(h.panel("txtHappyMoney"), QStringLiteral("3500"));
        QCOMPARE(h.panel("txtTotalMoney"), QStringLiteral("3500"));
        EntryTableModel* model = h.window->monthModel();
        QVERIFY(!model->rowColour(0).isValid());             // a win without a class
        QCOMPARE(model->rowColour(1), QColor(0, 168, 0));    // the class wins over the win day
        QCOMPARE(model->rowColour(2), QColor(191, 159, 63)); // the win day
        QCOMPARE(model->rowColour(3), QColor(168, 0, 0));
        QVERIFY(model->data(model->index(0, Present), Qt::FontRole).value<QFont>().bold());
        QVERIFY(h.button("cmdSave")->isEnabled());
        QVERIFY(h.button("cmdAllDelete")->isEnabled());
    }

    void datePickerRecoloursOrReloads()
    {
        Harness h(QDate(2026, 7, 15));
        h.folder.writeMonth("2026", "07", {won("2026/07/01", "1", "不明", "0", "2026/07/20")});
        h.folder.writeMonth("2026", "08",
                            {makeEntry("2026/08/01", "8"), makeEntry("2026/08/02", "9")});
        h.start();
        EntryTableModel* model = h.window->monthModel();
        QVERIFY(!model->rowColour(0).isValid());
        auto* picker = h.child<QDateEdit>("dtpDate");
        picker->setDate(QDate(2026, 7, 20)); // the same month: the win day is coloured
        QCOMPARE(model->rowCount(), 1);
        QCOMPARE(model->rowColour(0), QColor(191, 159, 63));
        picker->setDate(QDate(2026, 8, 3)); // another month: it is loaded
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(h.window->shownMonth().month(), QDate(2026, 8, 1));
    }

    void commandsFollowTheTab()
    {
        Harness h(QDate(2026, 7, 15));
        h.start();
        // An empty month offers neither save, print nor delete-all.
        QCOMPARE(h.panel("txtPercent"), QStringLiteral("0.00"));
        QVERIFY(!h.button("cmdSave")->isEnabled());
        QVERIFY(!h.button("cmdPrint")->isEnabled());
        QVERIFY(!h.button("cmdAllDelete")->isEnabled());
        QVERIFY(!h.button("cmdHensyu")->isEnabled());
        QVERIFY(h.button("cmdNewInput")->isEnabled());
        h.selectTab("T_Total");
        QVERIFY(!h.button("cmdNewInput")->isEnabled());
        QVERIFY(!h.button("cmdMonthBack")->isEnabled());
        QVERIFY(!h.child<QDateEdit>("dtpDate")->isEnabled());
        h.selectTab("T_Year");
        QVERIFY(h.button("cmdYearBack")->isEnabled());
        QVERIFY(!h.button("cmdMonthBack")->isEnabled());
        h.selectTab("T_Setting");
        QVERIFY(h.child<QWidget>("fraSetting")->isEnabled());
        QVERIFY(!h.button("cmdSetting")->isEnabled());
        h.selectTab("T_Month");
        QVERIFY(!h.child<QWidget>("fraSetting")->isEnabled());
        QVERIFY(h.button("cmdMonthBack")->isEnabled());
    }

    void sortingByIdTogglesAndRewritesTheMonth()
    {
        Harness h(QDate(2026, 7, 15));
        h.folder.writeMonth("2026", "07",
                            {makeEntry("2026/07/01", "9"), makeEntry("2026/07/02", "10")});
        h.start();
        auto* view = h.child<QTableView>("lvwMonth");
        emit view->horizontalHeader()->sectionClicked(ID);
        QCOMPARE(h.window->monthModel()->entry(0)[ID], QStringLiteral("10"));
        h.window->monthPage().LoadMonthFile(); // the file holds the new order
        QCOMPARE(h.window->monthModel()->entry(0)[ID], QStringLiteral("10"));
        emit view->horizontalHeader()->sectionClicked(ID);
        QCOMPARE(h.window->monthModel()->entry(0)[ID], QStringLiteral("9"));
    }

    void defaultWidthsShowWholeColumns()
    {
        Harness h(QDate(2026, 12, 8));
        h.start();
        auto* view = h.child<QTableView>("lvwMonth");
        const QFontMetrics metrics = view->fontMetrics();
        // The date columns and every heading fit, with the cell's margins.
        const int margins = 8;
        for (int c : {int(KeyDate), int(OtherDate), int(HappyDay)})
            QVERIFY2(view->columnWidth(c) >= metrics.horizontalAdvance("2026/12/08") + margins,
                     qPrintable(QString::number(c)));
        for (int c = 0; c < Msg; ++c) {
            if (view->isColumnHidden(c))
                continue;
            const QString heading = view->model()->headerData(c, Qt::Horizontal).toString();
            QVERIFY2(view->columnWidth(c) >= metrics.horizontalAdvance(heading) + margins,
                     qPrintable(heading));
        }
        // The stored widths stay twips.
        QCOMPARE(h.child<QLineEdit>("txtSizeNowDay")->text(), QStringLiteral("1100"));
    }

    void widthBoxesTakeDigitsOnly()
    {
        Harness h(QDate(2026, 7, 15));
        h.start();
        h.selectTab("T_Setting");
        auto* box = h.child<QLineEdit>("txtSizeID");
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "12a-3");
        QCOMPARE(box->text(), QStringLiteral("123"));
        QCOMPARE(h.dialogs.beeps, 2);
        QVERIFY(h.button("cmdSetting")->isEnabled());
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("0"));
    }

    void keyDateOptionSwapsTheDateBoxes()
    {
        Harness h(QDate(2026, 7, 15));
        h.start();
        h.selectTab("T_Setting");
        auto* endDay = h.child<QWidget>("optEndDay");
        QTest::mouseClick(endDay, Qt::LeftButton, {}, QPoint(5, endDay->height() / 2));
        QCOMPARE(h.child<QLabel>("lblMain")->text(), QStringLiteral("締 切 日"));
        QCOMPARE(h.child<QLabel>("lblMain")->buddy(), h.child<QLineEdit>("txtSizeEndDay"));
        QVERIFY(h.button("cmdSetting")->isEnabled());
        // Leaving the tab without applying drops the change.
        h.selectTab("T_Month");
        QCOMPARE(h.window->monthModel()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("応募日"));
    }

    void savesKeepTheSummaryFiles()
    {
        Harness h(QDate(2026, 7, 15));
        h.start();
        h.window->shownMonth().append(
            {won("2026/07/01", "1", "大物当選", "20000"), makeEntry("2026/07/02", "2")});
        QVERIFY(h.window->monthPage().SaveMonthFile());
        const QByteArray year = h.folder.plainFile("data/0000/2026.log");
        QVERIFY(year.contains("\r\n7,0,0,1,1,2,50.00,20000,0,20000\r\n8,0,0,0,0,0,0.00,0,0,0\r\n"));
        QCOMPARE(h.folder.plainFile("data/0000/total.log"),
                 QByteArray("2026,0,0,1,1,2,50.00,20000,0,20000,980000\r\n"));
    }

    void expenseBookedBeforeTheFirstEntrySurvivesIt()
    {
        Harness h(QDate(2026, 7, 15));
        h.start();
        h.selectTab("T_Year");
        auto* amount = h.child<QLineEdit>("txtUnhappyMoneyValue");
        QVERIFY(!h.button("cmdUnhappyMoneyIn")->isEnabled()); // no entries in July yet
        amount->setText("3000");
        QTest::keyClick(amount, Qt::Key_Return); // Enter books it all the same
        QVERIFY(h.folder.plainFile("data/0000/2026.log")
                    .contains("\r\n7,0,0,0,0,0,0.00,0,3000,-3000\r\n"));
        h.selectTab("T_Month");
        QCOMPARE(h.panel("txtUnhappyMoney"), QStringLiteral("3000"));
        h.window->shownMonth().append({makeEntry("2026/07/02", "2")});
        QVERIFY(h.window->monthPage().SaveMonthFile());
        QVERIFY(h.folder.plainFile("data/0000/2026.log")
                    .contains("\r\n7,0,0,0,0,1,0.00,0,3000,-3000\r\n"));
        QCOMPARE(h.panel("txtTotalMoney"), QStringLiteral("-3000"));
    }

    // 郵送料を計上: each mailed entry at its entry date's rate, added to the month's expense
    // after a question that shows what is booked already.
    void postageIsBookedAsTheMonthsExpense()
    {
        Harness h(QDate(2024, 10, 15));
        QList<EntryRecord> october;
        for (const char* way : {"郵送応募", "ハガキ応募", "ネット応募"}) {
            EntryRecord e = makeEntry("2024/10/01", "1");
            e[OboWay] = QString::fromUtf8(way);
            october.append(e);
        }
        h.start();
        h.window->shownMonth().append(
            october); // saved through the window: the year row counts them
        QVERIFY(h.window->monthPage().SaveMonthFile());
        h.selectTab("T_Year");
        h.dialogs.clearShown();
        h.dialogs.queueAnswer(MessageAnswer::Yes);
        h.button("cmdPostage")->click();
        QCOMPARE(h.dialogs.shown.size(), 1);
        QVERIFY(h.dialogs.shown[0].box.text.contains("郵送応募2件の郵送料は170円"));
        QVERIFY(h.dialogs.shown[0].box.text.contains("今の支出総額は0円です。郵送料を加えて170円"));
        QVERIFY(h.folder.plainFile("data/0000/2024.log")
                    .contains("\r\n10,0,0,0,0,3,0.00,0,170,-170\r\n"));
        // Pressed again it shows the booked amount, and No books nothing.
        h.dialogs.queueAnswer(MessageAnswer::No);
        h.button("cmdPostage")->click();
        QVERIFY(
            h.dialogs.shown[1].box.text.contains("今の支出総額は170円です。郵送料を加えて340円"));
        QVERIFY(h.folder.plainFile("data/0000/2024.log")
                    .contains("\r\n10,0,0,0,0,3,0.00,0,170,-170\r\n"));
        QVERIFY(QFile::exists(h.folder.path() + "/postage.txt"));
        h.button("cmdYearAnalysis")->click();
        QVERIFY(h.window->findChild<QWidget*>("frmAnalysis"));
        QVERIFY(h.dialogs.unexpected.isEmpty());
    }

    void targetMessageShowsOnce()
    {
        Harness h(QDate(2026, 7, 15), "[Setting]\r\nDreamMoney=1000000\r\n");
        h.start();
        h.window->shownMonth().append({won("2026/07/01", "1", "大物当選", "1100000")});
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        QVERIFY(h.window->monthPage().SaveMonthFile());
        QCOMPARE(h.dialogs.shown.size(), 1);
        QCOMPARE(h.dialogs.shown[0].box.text, QStringLiteral("目標収支金額を達成しました。"));
        QCOMPARE(h.dialogs.shown[0].box.caption, QStringLiteral("(^-^)vブィ！"));
        QVERIFY(h.folder.plainFile("data/ini/zumicho.ini").contains("DreamMoneyFlag=1\r\n"));
        h.window->shownMonth().append({makeEntry("2026/07/02", "2")});
        QVERIFY(h.window->monthPage().SaveMonthFile());
        QCOMPARE(h.dialogs.shown.size(), 1);
    }

    void yearAndTotalListsShowTheFiles()
    {
        Harness h(QDate(2026, 7, 15));
        h.folder.writeMonth("2025", "03", {won("2025/03/01", "1", "小物当選", "400000")});
        h.start();
        // Saving each month through the window writes the summaries.
        h.button("cmdYearBack")->click();
        for (int i = 0; i < 4; ++i)
            h.button("cmdMonthBack")->click();
        QCOMPARE(h.shownDate().left(7), QStringLiteral("2025/03"));
        QVERIFY(h.window->monthPage().SaveMonthFile());
        h.button("cmdYearNext")->click();
        h.window->shownMonth().append({won("2026/03/01", "2", "当選", "700000")});
        h.dialogs.queueAnswer(MessageAnswer::Ok); // the default target is reached
        QVERIFY(h.window->monthPage().SaveMonthFile());
        h.selectTab("T_Total");
        auto* total = qobject_cast<QStandardItemModel*>(h.child<QTableView>("lvwTotal")->model());
        QCOMPARE(total->rowCount(), 2);
        QCOMPARE(total->item(0, 10)->text(), QStringLiteral("600000"));
        QCOMPARE(total->item(1, 10)->text(), QStringLiteral("-100000"));
        QCOMPARE(h.panel("txtHappyMoney"), QStringLiteral("1100000"));
        h.selectTab("T_Year");
        auto* year = qobject_cast<QStandardItemModel*>(h.child<QTableView>("lvwYear")->model());
        QCOMPARE(year->rowCount(), 12);
        QCOMPARE(year->item(2, 7)->text(), QStringLiteral("700000"));
        QCOMPARE(year->item(2, 7)->foreground().color(), QColor(0, 0, 255));
    }

    // A screen reader can close a window while a box or file dialog of its own is up. The
    // window goes only once the step that showed the box is over, never under it.
    void windowsCloseOnlyAfterTheirOwnBox_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("entry form, text refused") << "frmDataInput";
        QTest::newRow("chart, picture saved") << "frmChart";
    }
    void windowsCloseOnlyAfterTheirOwnBox()
    {
        QFETCH(QString, window);
        Harness h(QDate(2026, 7, 15));
        h.start(true);
        QTemporaryDir dir;
        QPointer<QWidget> shown;
        if (window == u"frmDataInput") {
            h.button("cmdNewInput")->click();
            shown = h.form();
            shown->findChild<QLineEdit*>("txtPresent")->setText(QStringLiteral("賞品😀"));
            h.dialogs.queueAnswer(MessageAnswer::Ok);
        } else {
            h.selectTab("T_Year");
            h.button("cmdYearGraph")->click();
            shown = h.window->findChild<QWidget*>("frmChart");
            h.dialogs.queueFileName(dir.filePath("graph.png"));
            h.dialogs.queueAnswer(MessageAnswer::Ok);
        }
        QVERIFY(shown && shown->isVisible());
        bool aliveUnderBox = false;
        h.dialogs.during = [&] {
            shown->findChild<QPushButton*>("cmdClose")->click();
            aliveUnderBox = shown && shown->isVisible();
        };
        shown->findChild<QPushButton*>(window == u"frmChart" ? "cmdSavePng" : "cmdKoshin")->click();
        QVERIFY(aliveUnderBox);
        QVERIFY(h.dialogs.allAnswersUsed());
        QCOMPARE(h.dialogs.shown.size(), 1);
        QTRY_VERIFY(!shown); // closed and deleted once the step was over
        QVERIFY(h.window->isEnabled());
        if (window == u"frmChart")
            QVERIFY(!QImage(dir.filePath("graph.png")).isNull());
        else
            QVERIFY(!QFile::exists(h.folder.paths().monthFilePath("2026", "07")));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

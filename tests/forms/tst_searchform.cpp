// The search form over a real main window: criteria typed into its controls, the results in
// the main window's search list, unreadable months, stopping, new conditions, loading and
// unloading with the search tab.
#include "core/Clock.h"
#include "diary/MonthFile.h"
#include "diary/Summaries.h"
#include "forms/EntryTableModel.h"
#include "forms/frmDataSearch.h"
#include "forms/frmMain.h"
#include "support/DiaryGenerator.h"
#include "support/ScriptedDialogs.h"
#include "support/TempProgramFolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <functional>
#include <memory>
#include <utility>

namespace {

const QString kFinished = QStringLiteral("検索が終了しました");

// A main window over a throw-away program folder, started on a fixed day, with helpers for
// the search form it shows on the search tab.
struct Harness
{
    explicit Harness(const QByteArray& settings = "[Setting]\r\n") : clock(QDate(2026, 12, 7))
    {
        folder.writeSettings(settings);
    }
    frmMain& start()
    {
        window = std::make_unique<frmMain>(AppContext{folder.paths(), dialogs, clock});
        window->setLoginPrompt([] { return true; }); // a locked diary is opened without asking here
        if (!window->Form_Load())
            qFatal("start-up refused");
        window->show();
        return *window;
    }
    void selectTab(const char* key)
    {
        auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("tabMain"));
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->widget(i)->property("tabKey").toString() == QLatin1String(key))
                tabs->setCurrentIndex(i);
        }
    }
    // The loaded search form; null when none is (a closed form is gone once deletions ran).
    frmDataSearch* form()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window->findChild<frmDataSearch*>(QStringLiteral("frmDataSearch"));
    }
    frmDataSearch& openForm()
    {
        if (!window)
            start();
        selectTab("T_Search");
        frmDataSearch* f = form();
        if (!f)
            qFatal("no search form");
        return *f;
    }
    template <typename T> T* in(const char* name)
    {
        T* w = form()->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    template <typename T> T* mainChild(const char* name)
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    void check(const char* name, bool on = true) { in<QCheckBox>(name)->setChecked(on); }
    void type(const char* name, const QString& text) { in<QLineEdit>(name)->setText(text); }
    void pick(const char* name, const QString& item)
    {
        auto* combo = in<QComboBox>(name);
        const int index = combo->findText(item);
        QVERIFY2(index >= 0, qPrintable(item));
        combo->setCurrentIndex(index);
    }
    void dates(const char* before, QDate from, const char* after, QDate to)
    {
        in<QDateEdit>(before)->setDate(from);
        in<QDateEdit>(after)->setDate(to);
    }
    QString date(const char* name)
    {
        return in<QDateEdit>(name)->date().toString(QStringLiteral("yyyy/MM/dd"));
    }
    // A search to its end, which says so in one box.
    void search()
    {
        dialogs.queueAnswer(MessageAnswer::Ok);
        in<QPushButton>("cmdSearch")->click();
    }
    QStringList resultIds()
    {
        QStringList ids;
        for (const EntryRecord& e : window->searchModel()->entries())
            ids << e[ID];
        return ids;
    }
    QString panel(const char* box) { return mainChild<QLineEdit>(box)->text(); }
    QString lastMessage() const
    {
        return dialogs.shown.isEmpty() ? QString() : dialogs.shown.last().box.text;
    }

    TempProgramFolder folder;
    ScriptedDialogs dialogs;
    FixedClock clock;
    std::unique_ptr<frmMain> window;
};

// Six entries over four months, each criterion picking a different few of them. The key
// date is the entry date; the other date is the deadline. Fields in file order.
void writeDiary(const TempProgramFolder& folder)
{
    const char* const rows[] = {
        "2023/10/31|1|abc-shop|https://shop.example.com/a|食品|図書カード|小物当選|500|3名様|2023/"
        "10/25|2023/11/20|"
        "クイズ|抽選|不定期|ネット応募|Memo|",
        "2023/11/14|2|ABC-Shop|http://www.example.jp/|食品|賞品|当選|1000|10名様|2023/11/30|2023/"
        "12/01|"
        "アンケート|抽選|不定期|ハガキ応募|memo|",
        "2023/11/15|3|みどり書店|http://www.example.jp/|食品|賞品|落選|0|全員|2023/11/20|----/--/"
        "--|"
        "アンケート|先着|不定期|ネット応募||",
        "2024/01/20|9|North "
        "Travel|http://www.example.jp/|食品|賞品|大物当選|30000|1名様|2024/02/01|2024/02/15|"
        "アンケート|抽選|毎日|ネット応募||/pics/Travel.jpg",
        "2024/02/10|10|応募先|http://www.example.jp/|家電ＡＶ製品|賞品|中物当選|3000|5名様|2024/02/"
        "20|2024/03/01|"
        "アンケート|抽選|不定期|ネット応募||",
        "2024/02/11|11|応募先|http://www.example.jp/|食品|賞品|その他|0|100名様|2024/01/31|----/--/"
        "--|"
        "アンケート|抽選|不定期|ハガキ応募||",
    };
    QMap<QString, QList<EntryRecord>> months;
    for (const char* row : rows) {
        const QStringList fields = QString::fromUtf8(row).split(u'|');
        QCOMPARE(fields.size(), kEntryFieldCount);
        EntryRecord e;
        std::copy(fields.begin(), fields.end(), e.fields.begin());
        months[e[KeyDate].left(7)].append(e);
    }
    for (auto month = months.cbegin(); month != months.cend(); ++month)
        folder.writeMonth(month.key().left(4), month.key().mid(5, 2), month.value());
}

using Setup = std::function<void(Harness&)>;

} // namespace

Q_DECLARE_METATYPE(Setup)

class TestSearchForm : public QObject
{
    Q_OBJECT

private slots:
    void criteriaFindTheirEntries_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QStringList>("ids");
        const auto row = [](const char* name, Setup setup, QStringList ids) {
            QTest::newRow(name) << setup << ids;
        };
        row("no criteria: every entry in scan order", [](Harness&) {},
            {"1", "2", "3", "9", "10", "11"});
        row("key date range, four months",
            [](Harness& h) {
                h.check("chkNowDay");
                h.dates("dtpNowDayBefore", QDate(2023, 11, 15), "dtpNowDayAfter",
                        QDate(2024, 2, 10));
            },
            {"3", "9", "10"});
        row("other date range (the deadline)",
            [](Harness& h) {
                h.check("chkEndDay");
                h.dates("dtpEndDayBefore", QDate(2024, 1, 31), "dtpEndDayAfter", QDate(2024, 2, 1));
            },
            {"9", "11"});
        row("win date range; no win date never passes",
            [](Harness& h) {
                h.check("chkHappyDay");
                h.dates("dtpHappyDayBefore", QDate(2023, 11, 20), "dtpHappyDayAfter",
                        QDate(2024, 2, 15));
            },
            {"1", "2", "9"});
        row("an unchecked range is no condition",
            [](Harness& h) {
                h.dates("dtpHappyDayBefore", QDate(2030, 1, 1), "dtpHappyDayAfter",
                        QDate(2030, 1, 1));
            },
            {"1", "2", "3", "9", "10", "11"});
        row("ID range",
            [](Harness& h) {
                h.check("chkID");
                h.type("txtIDDown", "2");
                h.type("txtIDUp", "9");
            },
            {"2", "3", "9"});
        row("won amount range",
            [](Harness& h) {
                h.check("chkHappyMoney");
                h.type("txtHappyMoneyDown", "1000");
                h.type("txtHappyMoneyUp", "3000");
            },
            {"2", "10"});
        row("winners 1 to 5",
            [](Harness& h) {
                h.check("chkNumber");
                h.type("txtNumberDown", "1");
                h.type("txtNumberUp", "5");
            },
            {"1", "9", "10"});
        row("winners 0 to 5 takes 全員 too",
            [](Harness& h) {
                h.check("chkNumber");
                h.type("txtNumberDown", "0");
                h.type("txtNumberUp", "5");
            },
            {"1", "3", "9", "10"});
        row("winners up to 0 is only 全員", [](Harness& h) { h.check("chkNumber"); }, {"3"});
        row("site ignoring case", [](Harness& h) { h.type("txtSite", "ABC"); }, {"1", "2"});
        row("site with case",
            [](Harness& h) {
                h.type("txtSite", "ABC");
                h.check("chkBigAndSmall");
            },
            {"2"});
        row("comment is always exact", [](Harness& h) { h.type("txtMsg", "memo"); }, {"2"});
        row("URL", [](Harness& h) { h.type("txtURL", "SHOP.example"); }, {"1"});
        row("prize", [](Harness& h) { h.type("txtPresent", "図書"); }, {"1"});
        row("picture", [](Harness& h) { h.type("txtSnap", "travel"); }, {"9"});
        row("genre", [](Harness& h) { h.pick("cboGenre", "家電ＡＶ製品"); }, {"10"});
        row("result 全当選 is every win", [](Harness& h) { h.pick("cboKekka", "全当選"); },
            {"1", "2", "9", "10"});
        row("result of one class", [](Harness& h) { h.pick("cboKekka", "小物当選"); }, {"1"});
        row("entry format", [](Harness& h) { h.pick("cboOboKeishiki", "クイズ"); }, {"1"});
        row("selection method", [](Harness& h) { h.pick("cboSenkoWay", "先着"); }, {"3"});
        row("cycle", [](Harness& h) { h.pick("cboCycle", "毎日"); }, {"9"});
        row("entry method", [](Harness& h) { h.pick("cboOboWay", "ハガキ応募"); }, {"2", "11"});
        row("all together",
            [](Harness& h) {
                h.check("chkNowDay");
                h.dates("dtpNowDayBefore", QDate(2023, 11, 1), "dtpNowDayAfter",
                        QDate(2023, 11, 30));
                h.pick("cboKekka", "全当選");
                h.type("txtSite", "abc");
            },
            {"2"});
    }

    void criteriaFindTheirEntries()
    {
        QFETCH(Setup, setup);
        QFETCH(QStringList, ids);
        Harness h;
        writeDiary(h.folder);
        h.openForm();
        setup(h);
        h.search();
        QCOMPARE(h.resultIds(), ids);
        QCOMPARE(h.lastMessage(), kFinished);
        QCOMPARE(h.dialogs.shown.last().box.caption, QStringLiteral("検索終了"));
        QVERIFY(h.dialogs.unexpected.isEmpty());
    }

    void deadlineKeySwapsTheDateRows()
    {
        Harness h("[Setting]\r\nFormatKey=0\r\n");
        writeDiary(h.folder); // written with the entry date first; read now as deadlines
        h.openForm();
        auto* grid = qobject_cast<QGridLayout*>(h.in<QCheckBox>("chkID")->parentWidget()->layout());
        QVERIFY(grid);
        const auto gridRow = [&](const char* name) {
            int row = -1, column = 0, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(grid->indexOf(h.in<QWidget>(name)), &row, &column, &rowSpan,
                                  &columnSpan);
            return row;
        };
        QCOMPARE(gridRow("chkEndDay"), 0);
        QCOMPARE(gridRow("dtpEndDayAfter"), 0);
        QVERIFY(gridRow("chkNowDay") > gridRow("cboKekka"));
        QVERIFY(gridRow("dtpNowDayBefore") < gridRow("chkHappyDay"));

        // Tab order follows: key row first, then the ID row; the other date after the result.
        QList<QWidget*> chain;
        QWidget* w = h.in<QWidget>("chkEndDay");
        do {
            chain << w;
            w = w->nextInFocusChain();
        } while (w && w != h.in<QWidget>("chkEndDay") && chain.size() < 1000);
        const auto at = [&](const char* name) { return chain.indexOf(h.in<QWidget>(name)); };
        QVERIFY(at("dtpEndDayBefore") < at("chkID"));
        QVERIFY(at("chkID") < at("cboKekka"));
        QVERIFY(at("cboKekka") < at("chkNowDay"));
        QVERIFY(at("chkNowDay") < at("chkHappyDay"));

        // The deadline box now ranges over the key date, and the month files are picked by it.
        h.check("chkEndDay");
        h.dates("dtpEndDayBefore", QDate(2024, 1, 1), "dtpEndDayAfter", QDate(2024, 2, 10));
        h.search();
        QCOMPARE(h.resultIds(), (QStringList{"9", "10"}));
        QCOMPARE(h.window->searchModel()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("締切日"));
    }

    void reversedBoundsAreExchangedAndShown()
    {
        Harness h;
        writeDiary(h.folder);
        frmDataSearch& form = h.openForm();
        h.check("chkNowDay");
        h.dates("dtpNowDayBefore", QDate(2024, 2, 10), "dtpNowDayAfter", QDate(2023, 11, 15));
        // The other date's pair is put in order even with its box off; the win dates only when on.
        h.dates("dtpEndDayBefore", QDate(2025, 1, 2), "dtpEndDayAfter", QDate(2025, 1, 1));
        h.dates("dtpHappyDayBefore", QDate(2025, 3, 2), "dtpHappyDayAfter", QDate(2025, 3, 1));
        h.check("chkID");
        h.type("txtIDDown", "010");
        h.type("txtIDUp", "9");
        h.check("chkHappyMoney");
        h.type("txtHappyMoneyDown", "30000");
        h.type("txtHappyMoneyUp", "0500");
        h.check("chkNumber");
        h.type("txtNumberDown", "5");
        h.type("txtNumberUp", "1");

        const SearchCriteria c = form.criteriaFromControls();
        QCOMPARE(h.date("dtpNowDayBefore"), QStringLiteral("2023/11/15"));
        QCOMPARE(h.date("dtpNowDayAfter"), QStringLiteral("2024/02/10"));
        QCOMPARE(h.date("dtpEndDayBefore"), QStringLiteral("2025/01/01"));
        QCOMPARE(h.date("dtpHappyDayBefore"), QStringLiteral("2025/03/02"));
        QCOMPARE(h.in<QLineEdit>("txtIDDown")->text(), QStringLiteral("9"));
        QCOMPARE(h.in<QLineEdit>("txtIDUp")->text(), QStringLiteral("10"));
        QCOMPARE(h.in<QLineEdit>("txtHappyMoneyDown")->text(), QStringLiteral("500"));
        QCOMPARE(h.in<QLineEdit>("txtHappyMoneyUp")->text(), QStringLiteral("30000"));
        QCOMPARE(h.in<QLineEdit>("txtNumberDown")->text(), QStringLiteral("1"));
        QCOMPARE(h.in<QLineEdit>("txtNumberUp")->text(), QStringLiteral("5"));
        QVERIFY(c.keyDate && !c.otherDate && !c.happyDay);
        QCOMPARE(c.keyDate->from, QDate(2023, 11, 15));
        QCOMPARE(c.id->low, Currency::fromUnits(9));
        QCOMPARE(c.number->high, 5);

        h.search();
        QCOMPARE(h.resultIds(), (QStringList{"9", "10"}));
    }

    void resultsFillTheMainWindowWithTheirFigures()
    {
        Harness h;
        writeDiary(h.folder);
        h.openForm();
        h.search();
        // Rows are copied whole.
        QCOMPARE(h.window->searchModel()->entry(2)[Number], QStringLiteral("全員"));
        QCOMPARE(h.window->searchModel()->entry(3)[Pic], QStringLiteral("/pics/Travel.jpg"));
        QCOMPARE(h.panel("txtHappyCount"), QStringLiteral("4"));
        QCOMPARE(h.panel("txtTotalCount"), QStringLiteral("6"));
        QCOMPARE(h.panel("txtPercent"), QStringLiteral("66.67"));
        QCOMPARE(h.panel("txtHappyMoney"), QStringLiteral("34500"));
        QCOMPARE(h.panel("txtUnhappyMoney"), QStringLiteral("0"));
        QCOMPARE(h.panel("txtTotalMoney"), QStringLiteral("34500"));
        QCOMPARE(h.window->searchModel()->rowColour(3), QColor(0, 0, 168));
        // Results can be saved and printed, but 全削除 is not offered on the search tab.
        QVERIFY(h.mainChild<QPushButton>("cmdSave")->isEnabled());
        QVERIFY(h.mainChild<QPushButton>("cmdPrint")->isEnabled());
        QVERIFY(!h.mainChild<QPushButton>("cmdAllDelete")->isEnabled());
        auto* bar = h.in<QProgressBar>("prgShinko");
        QCOMPARE(bar->value(), bar->maximum());
        QCOMPARE(h.in<QPushButton>("cmdClose")->text(), QStringLiteral("終了(&P)"));
        QVERIFY(h.in<QPushButton>("cmdSearch")->isEnabled());
    }

    void unreadableMonthsAreReportedAndSkipped()
    {
        Harness h("[Setting]\r\nStartPassword=1\r\nStartPasswordInput=secret\r\n");
        h.folder.writeMonth("2024", "01", {makeEntry("2024/01/05", "1")}, "secret");
        h.folder.writeMonth("2024", "02", {makeEntry("2024/02/05", "2")}, "other");
        h.folder.writeMonth("2024", "03", {makeEntry("2024/03/05", "3")});
        h.folder.writeMonth("2024", "04", {makeEntry("2024/04/05", "4")}, "secret");
        const QByteArray may = formatMonthText({makeEntry("2024/05/05", "5")}, "secret").plain;
        QVERIFY(
            writeMonthFile(h.folder.paths().monthFilePath("2024", "05"), may.chopped(9)).isEmpty());
        h.openForm();
        h.dialogs.clearShown();
        for (int box = 0; box < 4; ++box)
            h.dialogs.queueAnswer(MessageAnswer::Ok); // three files and the end of the search
        h.search();
        QCOMPARE(h.resultIds(), (QStringList{"1", "4"}));
        QCOMPARE(h.dialogs.shown.size(), 4);
        QCOMPARE(h.dialogs.shown[2].box.caption, QStringLiteral("ファイルエラー")); // cut short
        const QString folder = QDir::toNativeSeparators(h.folder.path() + "/data/2024/");
        for (int i = 0; i < 2; ++i) {
            const MessageBoxSpec& box = h.dialogs.shown[i].box;
            QCOMPARE(box.caption, QStringLiteral("認証エラー"));
            QCOMPARE(box.icon, MessageIcon::Critical);
            QCOMPARE(box.buttons, MessageButtons::Ok);
            QCOMPARE(box.text, QStringLiteral("データファイル「%1」を読み込めません。")
                                   .arg(folder + (i == 0 ? "02.log" : "03.log")));
        }
        QCOMPARE(h.lastMessage(), kFinished);
        // Without a total summary the bar's end is 1; the entries beyond it leave it full.
        QCOMPARE(h.in<QProgressBar>("prgShinko")->maximum(), 1);
        QCOMPARE(h.in<QProgressBar>("prgShinko")->value(), 1);
    }

    void stoppingLeavesNoResults()
    {
        Harness h;
        DiaryShape shape;
        shape.firstYear = 2024;
        shape.years = 2;
        shape.entriesPerMonth = 20;
        QCOMPARE(writeGeneratedDiary(h.folder.paths(), shape), 480);
        for (const char* year : {"2024", "2025"}) {
            Tally tally;
            tally.entries = 240;
            QVERIFY(
                UpdateTotalSummary(h.folder.paths(), year, tally, TargetState{}).error.isEmpty());
        }
        frmDataSearch& form = h.openForm();
        form.setProgressInterval(
            std::chrono::milliseconds(0)); // a progress round after every entry
        auto* stop = h.in<QPushButton>("cmdClose");
        auto* start = h.in<QPushButton>("cmdSearch");
        auto* bar = h.in<QProgressBar>("prgShinko");

        // Each way of stopping is tried at the 100th entry of its own search.
        std::function<void()> atHundred;
        connect(bar, &QProgressBar::valueChanged, this, [&](int value) {
            if (value == 100 && atHundred)
                std::exchange(atHundred, nullptr)();
        });
        const auto expectStopped = [&](const char* how) {
            QVERIFY2(!atHundred, how);
            QCOMPARE(h.dialogs.shown.size(), 1); // one scan, one end message
            QCOMPARE(h.dialogs.shown[0].box.text, QStringLiteral("検索を中断しました"));
            QCOMPARE(h.dialogs.shown[0].box.caption, QStringLiteral("検索中断"));
            QCOMPARE(h.window->searchModel()->rowCount(), 0);
            QCOMPARE(h.panel("txtTotalCount"), QStringLiteral("0"));
            QCOMPARE(bar->value(), bar->minimum());
            QCOMPARE(stop->text(), QStringLiteral("終了(&P)"));
            QVERIFY(start->isEnabled());
            QVERIFY(h.in<QLineEdit>("txtSite")->isEnabled());
            QVERIFY(h.mainChild<QTabWidget>("tabMain")->isEnabled());
            QVERIFY(h.window->isVisible());
            QCOMPARE(h.form(), &form);
            h.dialogs.clearShown();
        };

        bool seenRunning = false;
        atHundred = [&] {
            // While the scan runs only the stop button reacts.
            QCOMPARE(bar->maximum(), 481);
            seenRunning = form.searching() && !start->isEnabled() && stop->isEnabled() &&
                          stop->text() == QStringLiteral("中止(&P)") &&
                          !h.mainChild<QTabWidget>("tabMain")->isEnabled() &&
                          !h.mainChild<QPushButton>("cmdEnd")->isEnabled() &&
                          !h.in<QLineEdit>("txtSite")->isEnabled() &&
                          !h.in<QPushButton>("cmdNewSearch")->isEnabled();
            start->click();         // disabled
            form.cmdSearch_Click(); // and refused when called all the same: never a second scan
            stop->click();
        };
        h.dialogs.clearShown();
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        start->click();
        QVERIFY(seenRunning);
        expectStopped("stop button");

        atHundred = [&] { QVERIFY(!form.close()); }; // the title bar's close only stops
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        start->click();
        expectStopped("closing the form");

        atHundred = [&] { QVERIFY(!h.window->close()); }; // ending waits for the stop
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        start->click();
        expectStopped("closing the main window");

        // Left alone, the next search runs to its end.
        h.search();
        QCOMPARE(h.window->searchModel()->rowCount(), 480);
        QCOMPARE(h.lastMessage(), kFinished);
        QCOMPARE(bar->value(), 481);
    }

    void newConditionsResetEverything()
    {
        Harness h;
        writeDiary(h.folder);
        h.openForm();
        h.search(); // some results to clear
        QVERIFY(h.window->searchModel()->rowCount() > 0);
        h.clock.setToday(QDate(2027, 1, 2));
        for (const char* box : {"chkNowDay", "chkEndDay", "chkHappyDay", "chkID", "chkNumber",
                                "chkHappyMoney", "chkBigAndSmall"})
            h.check(box);
        h.dates("dtpHappyDayBefore", QDate(2020, 1, 1), "dtpHappyDayAfter", QDate(2020, 1, 1));
        h.type("txtIDUp", "99");
        for (const char* box : {"txtSite", "txtURL", "txtPresent", "txtMsg", "txtSnap"})
            h.type(box, "x");
        for (const char* combo :
             {"cboGenre", "cboKekka", "cboOboKeishiki", "cboSenkoWay", "cboCycle", "cboOboWay"})
            h.in<QComboBox>(combo)->setCurrentIndex(2);
        // A result picked in the list offers delete; once the list is emptied it must not.
        h.mainChild<QTableView>("lvwSearch")->selectRow(0);
        QVERIFY(h.mainChild<QPushButton>("cmdDelete")->isEnabled());

        h.in<QPushButton>("cmdNewSearch")->click();
        QVERIFY(!h.mainChild<QPushButton>("cmdDelete")->isEnabled());
        QVERIFY(!h.mainChild<QPushButton>("cmdHensyu")->isEnabled());
        QVERIFY(!h.window->state().selectedSearchRow);
        QCOMPARE(h.window->searchModel()->rowCount(), 0);
        for (const char* box : {"txtHappyCount", "txtTotalCount", "txtHappyMoney",
                                "txtUnhappyMoney", "txtTotalMoney"})
            QCOMPARE(h.panel(box), QStringLiteral("0"));
        QCOMPARE(h.panel("txtPercent"), QStringLiteral("0.00"));
        QVERIFY(!h.mainChild<QPushButton>("cmdSave")->isEnabled());
        QCOMPARE(h.in<QProgressBar>("prgShinko")->value(),
                 h.in<QProgressBar>("prgShinko")->minimum());
        for (const char* box : {"chkNowDay", "chkEndDay", "chkHappyDay", "chkID", "chkNumber",
                                "chkHappyMoney", "chkBigAndSmall"})
            QVERIFY2(!h.in<QCheckBox>(box)->isChecked(), box);
        for (const char* picker : {"dtpNowDayBefore", "dtpNowDayAfter", "dtpEndDayBefore",
                                   "dtpEndDayAfter", "dtpHappyDayBefore", "dtpHappyDayAfter"}) {
            QCOMPARE(h.date(picker), QStringLiteral("2027/01/02"));
            QVERIFY2(!h.in<QDateEdit>(picker)->isEnabled(), picker);
        }
        for (const char* box : {"txtIDDown", "txtIDUp", "txtNumberDown", "txtNumberUp",
                                "txtHappyMoneyDown", "txtHappyMoneyUp"}) {
            QCOMPARE(h.in<QLineEdit>(box)->text(), QStringLiteral("0"));
            QVERIFY2(!h.in<QLineEdit>(box)->isEnabled(), box);
        }
        for (const char* box : {"txtSite", "txtURL", "txtPresent", "txtMsg", "txtSnap"})
            QVERIFY2(h.in<QLineEdit>(box)->text().isEmpty(), box);
        for (const char* combo :
             {"cboGenre", "cboKekka", "cboOboKeishiki", "cboSenkoWay", "cboCycle", "cboOboWay"})
            QCOMPARE(h.in<QComboBox>(combo)->currentText(), QStringLiteral("指定なし"));
    }

    void controlsTheirListsAndKeys()
    {
        Harness h;
        h.openForm();
        frmDataSearch* form = h.form();
        QCOMPARE(form->windowTitle(), QStringLiteral("懸賞情報検索フォーム"));
        const struct
        {
            const char* name;
            int items;
            const char16_t* last;
        } lists[] = {{"cboCycle", 5, u"毎日"},        {"cboOboWay", 5, u"ハガキ応募"},
                     {"cboSenkoWay", 7, u"その他"},   {"cboKekka", 10, u"その他"},
                     {"cboOboKeishiki", 17, u"投票"}, {"cboGenre", 28, u"レジャー・ペット"}};
        for (const auto& list : lists) {
            auto* combo = h.in<QComboBox>(list.name);
            QCOMPARE(combo->count(), list.items);
            QCOMPARE(combo->itemText(0), QStringLiteral("指定なし"));
            QCOMPARE(combo->itemText(combo->count() - 1), QString::fromUtf16(list.last));
            QVERIFY(!combo->isEditable());
        }
        QCOMPARE(h.in<QComboBox>("cboKekka")->findText("全当選"), 5);

        // Every box, list and picker can be found by the text a user reads beside it.
        QStringList names;
        for (QWidget* w : form->findChildren<QWidget*>()) {
            if (!qobject_cast<QLineEdit*>(w) && !qobject_cast<QComboBox*>(w) &&
                !qobject_cast<QDateEdit*>(w))
                continue;
            if (w->objectName().isEmpty() || w->objectName().startsWith(u"qt_"))
                continue; // the pickers' and lists' inner parts
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
            names << w->accessibleName();
        }
        QCOMPARE(names.size(), 6 + 6 + 5 + 6);
        names.removeDuplicates();
        QCOMPARE(names.size(), 6 + 6 + 5 + 6);
        QCOMPARE(h.in<QLineEdit>("txtSite")->accessibleName(), QStringLiteral("応 募 先"));

        // Choice lists: Up and Down only; a typed character beeps.
        auto* kekka = h.in<QComboBox>("cboKekka");
        QTest::keyClick(kekka, Qt::Key_Down);
        QTest::keyClick(kekka, Qt::Key_Down);
        QCOMPARE(kekka->currentIndex(), 2);
        QTest::keyClick(kekka, Qt::Key_Up);
        QCOMPARE(kekka->currentIndex(), 1);
        QTest::keyClick(kekka, Qt::Key_End);
        QTest::keyClick(kekka, Qt::Key_PageDown);
        QCOMPARE(h.dialogs.beeps, 0);
        QTest::keyClicks(kekka, "z");
        QCOMPARE(kekka->currentIndex(), 1);
        QCOMPARE(h.dialogs.beeps, 1);

        // Bounds: the check box enables its pair; digits only; emptied reads "0".
        auto* low = h.in<QLineEdit>("txtNumberDown");
        QVERIFY(!low->isEnabled());
        QVERIFY(!h.in<QLineEdit>("txtNumberUp")->isEnabled());
        h.check("chkNumber");
        QVERIFY(low->isEnabled() && h.in<QLineEdit>("txtNumberUp")->isEnabled());
        low->setFocus();
        low->selectAll();
        QTest::keyClicks(low, "1-2a");
        QCOMPARE(low->text(), QStringLiteral("12"));
        QCOMPARE(h.dialogs.beeps, 3);
        low->selectAll();
        QTest::keyClick(low, Qt::Key_Backspace);
        QCOMPARE(low->text(), QStringLiteral("0"));
        h.check("chkNumber", false);
        QVERIFY(!low->isEnabled());
        h.check("chkHappyDay");
        QVERIFY(h.in<QDateEdit>("dtpHappyDayBefore")->isEnabled() &&
                h.in<QDateEdit>("dtpHappyDayAfter")->isEnabled());

        // Help without the manual: the box that says where it belongs.
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.in<QPushButton>("cmdHelp")->click();
        QCOMPARE(h.dialogs.shown.last().box.caption, QStringLiteral("ヘルプが見つかりません"));
    }

    void formFollowsTheSearchTab()
    {
        Harness h;
        writeDiary(h.folder);
        h.start();
        QVERIFY(!h.form());
        h.selectTab("T_Search");
        frmDataSearch* form = h.form();
        QVERIFY(form);
        QVERIFY(form->isVisible());
        QVERIFY(form->isWindow());
        for (const char* picker : {"dtpNowDayBefore", "dtpNowDayAfter", "dtpEndDayBefore",
                                   "dtpEndDayAfter", "dtpHappyDayBefore", "dtpHappyDayAfter"})
            QCOMPARE(h.date(picker), QStringLiteral("2026/12/07"));
        h.search();
        QCOMPARE(h.window->searchModel()->rowCount(), 6);

        // Leaving the tab unloads the form and empties the results.
        h.selectTab("T_Month");
        QVERIFY(!h.form());
        QCOMPARE(h.window->searchModel()->rowCount(), 0);

        // Coming back loads a fresh form; closing it from its own button unloads it.
        h.selectTab("T_Search");
        QVERIFY(h.form());
        QVERIFY(h.form() != nullptr &&
                h.in<QPushButton>("cmdClose")->text() == QStringLiteral("終了(&E)"));
        h.in<QPushButton>("cmdClose")->click();
        QVERIFY(!h.form());

        // Ending the program unloads it first.
        h.selectTab("T_Month");
        h.selectTab("T_Search");
        QVERIFY(h.form());
        h.window->cmdEnd_Click();
        QVERIFY(!h.form());
    }

    void alwaysOnTopPassesToTheFormAndBack()
    {
        Harness h("[Setting]\r\nFormState=1\r\n");
        h.start();
        QVERIFY(h.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        h.selectTab("T_Search");
        QVERIFY(h.form()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!h.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        h.in<QPushButton>("cmdClose")->click();
        QVERIFY(!h.form());
        QVERIFY(h.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(h.window->isVisible());

        Harness plain;
        plain.openForm();
        QVERIFY(!plain.form()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        plain.selectTab("T_Total");
        QVERIFY(!plain.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }
};

QTEST_MAIN(TestSearchForm)
#include "tst_searchform.moc"

#include "core/Clock.h"
#include "diary/Deployment.h"
#include "diary/MonthFile.h"
#include "forms/EntryTableModel.h"
#include "forms/MonthPage.h"
#include "forms/frmDataInput.h"
#include "forms/frmMain.h"
#include "support/MainWindowHarness.h"
#include "support/ScriptedDialogs.h"
#include "support/TempProgramFolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <memory>

namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);

// A shown main window with the entry form's helpers.
struct Harness : MainWindowHarness
{
    using MainWindowHarness::MainWindowHarness;
    frmMain& start() { return MainWindowHarness::start(true); }
    template <typename T> T* field(const char* name)
    {
        frmDataInput* f = form();
        return f ? f->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    }
    void koshin()
    {
        QPushButton* update = field<QPushButton>("cmdKoshin");
        QVERIFY(update->isEnabled());
        update->click();
    }
    QList<EntryRecord> month(const char* year, const char* month)
    {
        return readMonthFile(folder.paths().monthFilePath(year, month), QString()).entries;
    }
    QStringList messages() const
    {
        QStringList texts;
        for (const auto& shown : dialogs.shown)
            texts.append(shown.box.text);
        return texts;
    }
};

QColor labelColour(QWidget* label)
{
    return label->palette().color(QPalette::WindowText);
}

EntryRecord entry(const QString& keyDate, const QString& id, const QString& present,
                  const QString& otherDate = QString())
{
    EntryRecord e = makeEntry(keyDate, id, present);
    e[Genre] = QStringLiteral("その他");
    if (!otherDate.isEmpty())
        e[OtherDate] = otherDate;
    return e;
}

} // namespace

class TestEntryForm : public QObject
{
    Q_OBJECT

private slots:
    void cursorStartsOnTheKeyDateAndLongIdsStayWhole_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("keyPicker");
        QTest::newRow("deadline as key")
            << QByteArray("[Setting]\r\nFormatKey=0\r\n") << "dtpEndDay";
        QTest::newRow("entry date as key")
            << QByteArray("[Setting]\r\nFormatKey=1\r\n") << "dtpNowDay";
    }
    void cursorStartsOnTheKeyDateAndLongIdsStayWhole()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, keyPicker);
        Harness h(QDate(2026, 7, 15), settings);
        const EntryRecord stored = entry("2026/07/01", "123456789012", "賞品");
        h.folder.writeMonth("2026", "07", {stored});
        h.start();
        h.button("cmdNewInput")->click();
        QCOMPARE(h.form()->focusWidget(), h.field<QWidget>(qPrintable(keyPicker)));
        h.form()->close();
        h.clickRow("lvwMonth", 0);
        h.button("cmdHensyu")->click();
        QCOMPARE(h.field<QLineEdit>("txtID")->text(), QStringLiteral("123456789012"));
        h.field<QLineEdit>("txtPresent")->setText(QStringLiteral("別の賞品"));
        h.koshin();
        QCOMPARE(h.month("2026", "07").value(0)[ID], QStringLiteral("123456789012"));
    }

    void newEntryIsRegisteredWithItsStoredForms()
    {
        Harness h(QDate(2026, 7, 15));
        h.start();
        h.button("cmdNewInput")->click();
        frmDataInput* form = h.form();
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QStringLiteral("懸賞情報編集フォーム"));
        QVERIFY(!h.window->isEnabled());
        QVERIFY(form->isEnabled());
        QVERIFY(!h.field<QPushButton>("cmdKoshin")->isEnabled());
        QVERIFY(!h.field<QPushButton>("cmdTopRecord")->isEnabled());
        QCOMPARE(h.field<QDateEdit>("dtpNowDay")->date(), QDate(2026, 7, 15));
        QCOMPARE(h.field<QDateEdit>("dtpEndDay")->date(), QDate(2026, 7, 15));
        QCOMPARE(h.field<QComboBox>("cboGenre")->currentText(), QStringLiteral("その他"));
        QCOMPARE(h.field<QComboBox>("cboGenre")->count(), 27);
        QCOMPARE(h.field<QComboBox>("cboOboKeishiki")->itemText(15), QStringLiteral("投票"));
        // A new entry may change everything but its ID; the entry date is the key and leads.
        QCOMPARE(labelColour(h.field<QLabel>("lblEndDay")), kBlue);
        QCOMPARE(labelColour(h.field<QLabel>("lblSite")), kBlue);
        QCOMPARE(labelColour(h.field<QLabel>("lblID")), kRed);
        QVERIFY(h.field<QLabel>("lblSite")->buddy() == h.field<QLineEdit>("txtSite"));
        QVERIFY(h.field<QDateEdit>("dtpNowDay")->y() < h.field<QDateEdit>("dtpEndDay")->y());

        h.field<QLineEdit>("txtSite")->setText(QStringLiteral("サンプル\"食品\""));
        h.field<QLineEdit>("txtURL")->setText(QStringLiteral("www.example.jp"));
        QVERIFY(!h.field<QPushButton>("cmdHensyuURL")->isEnabled()); // not a web address
        h.field<QLineEdit>("txtURL")->setText(QStringLiteral("https://www.example.jp/a"));
        QVERIFY(h.field<QPushButton>("cmdHensyuURL")->isEnabled());
        h.field<QLineEdit>("txtPresent")->setText(QStringLiteral("ホットプレート"));
        h.field<QComboBox>("cboKekka")->setCurrentText(QStringLiteral("小物当選"));
        h.field<QLineEdit>("txtHappyMoney")->setText(QStringLiteral("0012"));
        h.field<QLineEdit>("txtNumber")->setText(QStringLiteral("003"));
        h.field<QCheckBox>("chkHappyDay")->setChecked(true);
        QVERIFY(h.field<QDateEdit>("dtpHappyDay")->isEnabled());
        h.field<QDateEdit>("dtpHappyDay")->setDate(QDate(2026, 7, 20));
        h.field<QDateEdit>("dtpEndDay")->setDate(QDate(2026, 7, 31));
        h.field<QPlainTextEdit>("txtMsg")->setPlainText(QStringLiteral("一行目\n二行目"));
        h.koshin();

        const QList<EntryRecord> july = h.month("2026", "07");
        QCOMPARE(july.size(), 1);
        const EntryRecord& e = july.first();
        QCOMPARE(e[KeyDate], QStringLiteral("2026/07/15"));
        QCOMPARE(e[OtherDate], QStringLiteral("2026/07/31"));
        QCOMPARE(e[ID], QStringLiteral("0"));
        QCOMPARE(e[Site], QStringLiteral("サンプル 食品 "));
        QCOMPARE(e[HappyMoney], QStringLiteral("12"));
        QCOMPARE(e[Number], QStringLiteral("3名様"));
        QCOMPARE(e[HappyDay], QStringLiteral("2026/07/20"));
        QCOMPARE(e[Msg], QStringLiteral("一行目\r\n二行目"));
        QCOMPARE(e[Cycle], QStringLiteral("不定期"));
        QVERIFY(h.folder.plainFile("data/0000/2026.log")
                    .contains("\r\n7,1,0,0,1,1,100.00,12,0,12\r\n"));
        QVERIFY(
            h.folder.plainFile("data/0000/total.log").startsWith("2026,1,0,0,1,1,100.00,12,0,12,"));

        // The form stays a new-entry form: the next update appends another entry.
        QVERIFY(!h.field<QPushButton>("cmdKoshin")->isEnabled());
        h.field<QLineEdit>("txtPresent")->setText(QStringLiteral("ホットプレート２"));
        h.field<QCheckBox>("chkHappyDay")->setChecked(false);
        h.koshin();
        QCOMPARE(h.month("2026", "07").size(), 2);
        QCOMPARE(h.month("2026", "07").at(1)[HappyDay], kNoHappyDay);

        h.field<QPushButton>("cmdClose")->click();
        QVERIFY(!h.form());
        QVERIFY(h.window->isEnabled());
        QVERIFY(!h.window->state().selectedMonthRow);
    }

    void refusedUpdatesChangeNothing()
    {
        Harness h(QDate(2026, 7, 15));
        h.start();
        h.button("cmdNewInput")->click();
        h.field<QLineEdit>("txtPresent")->setText(QStringLiteral("賞品"));
        // Entry date one day after the deadline.
        h.field<QDateEdit>("dtpNowDay")->setDate(QDate(2026, 7, 16));
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.koshin();
        QCOMPARE(h.dialogs.shown.size(), 1);
        QCOMPARE(h.dialogs.shown[0].box.text, QStringLiteral("応募日が締切日を越えています。"));
        QCOMPARE(h.dialogs.shown[0].box.caption, QStringLiteral("ｴﾗｰ"));
        QCOMPARE(h.dialogs.shown[0].box.icon, MessageIcon::Critical);
        QVERIFY(!h.field<QPushButton>("cmdKoshin")->isEnabled());
        QVERIFY(!QFile::exists(h.folder.paths().monthFilePath("2026", "07")));

        // Text that the month file cannot hold is refused before anything changes.
        h.field<QDateEdit>("dtpEndDay")->setDate(QDate(2026, 7, 16));
        h.field<QLineEdit>("txtPresent")->setText(QStringLiteral("賞品😀"));
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.koshin();
        QCOMPARE(h.dialogs.shown.size(), 2);
        QVERIFY(h.dialogs.shown[1].box.text.contains(QStringLiteral("「賞品名」")));
        QVERIFY(h.dialogs.shown[1].box.text.contains(QStringLiteral("😀")));
        QCOMPARE(h.window->monthModel()->rowCount(), 0);
        QVERIFY(!QFile::exists(h.folder.paths().monthFilePath("2026", "07")));

        // Equal dates are accepted.
        h.field<QLineEdit>("txtPresent")->setText(QStringLiteral("賞品"));
        h.field<QDateEdit>("dtpNowDay")->setDate(QDate(2026, 7, 16));
        h.koshin();
        QCOMPARE(h.month("2026", "07").size(), 1);
    }

    void editingInPlaceWithTheDeadlineAsKey()
    {
        Harness h(QDate(2026, 7, 15), "[Setting]\r\nFormatKey=0\r\n");
        EntryRecord copied = entry("2026/07/10", "12345", "時計", "2026/07/01");
        copied[Cycle] = QStringLiteral("不明"); // a copied listing's text outside the fixed list
        copied[URL] = deployment::kSiteCategoryPrefix + QStringLiteral("12345");
        h.folder.writeMonth("2026", "07",
                            {entry("2026/07/05", "0", "ペン", "2026/07/01"), copied,
                             entry("2026/07/20", "0", "本", "2026/07/01")});
        h.start();
        h.clickRow("lvwMonth", 1);
        QVERIFY(h.button("cmdHensyu")->isEnabled());
        h.button("cmdHensyu")->click();
        QVERIFY(h.form());
        QVERIFY(!h.window->isEnabled());
        QVERIFY(!h.button("cmdHensyu")->isEnabled());
        QCOMPARE(h.field<QLabel>("lblActiveNumber")->text(), QStringLiteral("2"));
        QCOMPARE(h.field<QLabel>("lblMaxNumber")->text(), QStringLiteral("/　3"));
        QCOMPARE(h.field<QLineEdit>("txtPresent")->text(), QStringLiteral("時計"));
        QCOMPARE(h.field<QComboBox>("cboCycle")->currentText(), QStringLiteral("不明"));
        QVERIFY(h.field<QDateEdit>("dtpEndDay")->y() < h.field<QDateEdit>("dtpNowDay")->y());
        // The deadline is locked, and so are the site's own fields of a copied entry.
        QVERIFY(!h.field<QDateEdit>("dtpEndDay")->isEnabled());
        QCOMPARE(labelColour(h.field<QLabel>("lblEndDay")), kRed);
        for (const char* name :
             {"txtSite", "txtURL", "cboOboKeishiki", "cboSenkoWay", "cboCycle", "cboOboWay"})
            QVERIFY2(!h.field<QWidget>(name)->isEnabled(), name);
        QCOMPARE(labelColour(h.field<QLabel>("lblOboWay")), kRed);
        QCOMPARE(labelColour(h.field<QLabel>("lblPresent")), kBlue);
        QVERIFY(!h.field<QPushButton>("cmdKoshin")->isEnabled());
        // A listing copied from the site opens at the site's pick-up page.
        h.field<QPushButton>("cmdHensyuURL")->click();
        QCOMPARE(h.dialogs.openedUrls,
                 QStringList{deployment::kSitePickupPrefix + QStringLiteral("12345")});

        h.field<QComboBox>("cboKekka")->setCurrentText(QStringLiteral("落選"));
        h.field<QDateEdit>("dtpNowDay")->setDate(QDate(2026, 7, 8));
        h.koshin();
        QList<EntryRecord> july = h.month("2026", "07");
        QCOMPARE(july.size(), 3);
        QCOMPARE(july[1][Present], QStringLiteral("時計"));
        QCOMPARE(july[1][Kekka], QStringLiteral("落選"));
        QCOMPARE(july[1][OtherDate], QStringLiteral("2026/07/08"));
        QCOMPARE(july[1][Cycle], QStringLiteral("不明"));

        // A hand-typed entry unlocks the site fields again; the deadline stays locked.
        h.field<QPushButton>("cmdTopRecord")->click();
        QCOMPARE(h.field<QLineEdit>("txtPresent")->text(), QStringLiteral("ペン"));
        QVERIFY(h.field<QLineEdit>("txtSite")->isEnabled());
        QCOMPARE(labelColour(h.field<QLabel>("lblSite")), kBlue);
        QCOMPARE(h.field<QComboBox>("cboCycle")->currentText(), QStringLiteral("不定期"));
        QCOMPARE(h.field<QComboBox>("cboCycle")->count(), 4); // the copied text is gone
        QVERIFY(!h.field<QDateEdit>("dtpEndDay")->isEnabled());
    }

    void steppingShowsRowsAndDropsUnsavedChanges()
    {
        Harness h(QDate(2026, 7, 15));
        h.folder.writeMonth("2026", "07",
                            {entry("2026/07/01", "0", "一"), entry("2026/07/02", "0", "二"),
                             entry("2026/07/03", "0", "三")});
        h.start();
        h.clickRow("lvwMonth", 1);
        h.button("cmdHensyu")->click();
        const auto shown = [&] { return h.field<QLineEdit>("txtPresent")->text(); };
        QCOMPARE(shown(), QStringLiteral("二"));
        h.field<QLineEdit>("txtPresent")->setText(QStringLiteral("変更"));
        h.field<QPushButton>("cmdBackRecord")->click();
        QCOMPARE(shown(), QStringLiteral("一"));
        QVERIFY(!h.field<QPushButton>("cmdKoshin")->isEnabled());
        h.field<QPushButton>("cmdBackRecord")->click(); // stays on the first row
        QCOMPARE(h.field<QLabel>("lblActiveNumber")->text(), QStringLiteral("1"));
        h.field<QPushButton>("cmdEndRecord")->click();
        QCOMPARE(shown(), QStringLiteral("三"));
        h.field<QPushButton>("cmdNextRecord")->click();
        QCOMPARE(h.field<QLabel>("lblActiveNumber")->text(), QStringLiteral("3"));
        h.field<QPushButton>("cmdTopRecord")->click();
        QCOMPARE(shown(), QStringLiteral("一"));
        QCOMPARE(h.month("2026", "07").at(1)[Present], QStringLiteral("二"));
    }

    void sortAfterAnEditFollowsTheEntry()
    {
        // With the entry date as key, an edit within the month re-sorts the list; a second
        // update must change the same entry, not the one that took its old place.
        Harness h(QDate(2026, 7, 15));
        h.folder.writeMonth("2026", "07",
                            {entry("2026/07/01", "0", "一", "2026/07/31"),
                             entry("2026/07/02", "0", "二", "2026/07/31"),
                             entry("2026/07/03", "0", "三", "2026/07/31")});
        h.start();
        h.clickRow("lvwMonth", 0);
        h.button("cmdHensyu")->click();
        h.field<QDateEdit>("dtpNowDay")->setDate(QDate(2026, 7, 10));
        h.koshin();
        QCOMPARE(h.field<QLabel>("lblActiveNumber")->text(), QStringLiteral("3"));
        h.field<QLineEdit>("txtPresent")->setText(QStringLiteral("一改"));
        h.koshin();
        const QList<EntryRecord> july = h.month("2026", "07");
        QCOMPARE(july.size(), 3);
        QCOMPARE(july[0][Present], QStringLiteral("二"));
        QCOMPARE(july[1][Present], QStringLiteral("三"));
        QCOMPARE(july[2][Present], QStringLiteral("一改"));
    }

    void movingToAnotherMonth()
    {
        // The delete question is on, but a move is not a deletion: no question.
        Harness h(QDate(2026, 7, 15), "[Setting]\r\nDeleteKakunin=1\r\n");
        h.folder.writeMonth("2026", "07",
                            {entry("2026/07/01", "0", "一", "2026/08/31"),
                             entry("2026/07/05", "0", "二", "2026/08/31"),
                             entry("2026/07/09", "0", "三", "2026/08/31")});
        h.folder.writeMonth(
            "2026", "08", {entry("2026/08/01", "0", "八月一"), entry("2026/08/20", "0", "八月二")});
        h.start();
        h.clickRow("lvwMonth", 1);
        h.button("cmdHensyu")->click();
        h.field<QDateEdit>("dtpNowDay")->setDate(QDate(2026, 8, 3));
        h.koshin();
        QVERIFY(h.dialogs.shown.isEmpty());
        QList<EntryRecord> july = h.month("2026", "07");
        QCOMPARE(july.size(), 2);
        QCOMPARE(july[1][Present], QStringLiteral("三"));
        const QList<EntryRecord> august = h.month("2026", "08");
        QCOMPARE(august.size(), 3);
        QCOMPARE(august[1][Present], QStringLiteral("二")); // in key order
        QCOMPARE(august[1][KeyDate], QStringLiteral("2026/08/03"));
        QVERIFY(h.folder.plainFile("data/0000/2026.log").contains("\r\n8,0,0,0,0,3,"));
        // The form shows the row now at the old position, in the month on show.
        QVERIFY(h.form());
        QCOMPARE(h.field<QLineEdit>("txtPresent")->text(), QStringLiteral("三"));
        QCOMPARE(h.field<QLabel>("lblMaxNumber")->text(), QStringLiteral("/　2"));
        QCOMPARE(h.window->shownDate(), QDate(2026, 7, 15));
        QCOMPARE(h.window->monthModel()->rowCount(), 2);
        QVERIFY(!h.window->isEnabled());

        // Moving the last row shows the row before it.
        h.field<QDateEdit>("dtpNowDay")->setDate(QDate(2026, 8, 25));
        h.koshin();
        QCOMPARE(h.field<QLineEdit>("txtPresent")->text(), QStringLiteral("一"));
        QCOMPARE(h.month("2026", "08").size(), 4);

        // Moving the only row of the month closes the form and removes the month file.
        h.field<QDateEdit>("dtpNowDay")->setDate(QDate(2026, 8, 26));
        h.koshin();
        QVERIFY(!h.form());
        QVERIFY(h.window->isEnabled());
        QVERIFY(!QFile::exists(h.folder.paths().monthFilePath("2026", "07")));
        QCOMPARE(h.month("2026", "08").size(), 5);
        QCOMPARE(h.window->monthModel()->rowCount(), 0);
        QVERIFY(h.dialogs.shown.isEmpty());
    }

    void monthsThatCannotBeReadAreNeverWritten()
    {
        Harness h(QDate(2026, 7, 15));
        h.folder.writeMonth("2026", "07", {entry("2026/07/05", "0", "七月", "2026/08/31")});
        // Written under a start password that is not set now.
        h.folder.writeMonth("2026", "08", {entry("2026/08/05", "0", "八月")},
                            QStringLiteral("secret"));
        const QByteArray august = h.folder.plainFile("data/2026/08.log");
        h.start();
        h.clickRow("lvwMonth", 0);
        h.button("cmdHensyu")->click();
        h.field<QDateEdit>("dtpNowDay")->setDate(QDate(2026, 8, 10));
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.koshin();
        QStringList captions;
        for (const auto& shown : h.dialogs.shown)
            captions.append(shown.box.caption);
        QCOMPARE(captions,
                 (QStringList{QStringLiteral("認証エラー"), QStringLiteral("保存エラー")}));
        // The entry stays where it was; the form still shows it.
        QCOMPARE(h.month("2026", "07").size(), 1);
        QCOMPARE(h.folder.plainFile("data/2026/08.log"), august);
        QCOMPARE(h.field<QLineEdit>("txtPresent")->text(), QStringLiteral("七月"));
        QCOMPARE(h.window->shownDate().month(), 7);
        QCOMPARE(h.window->monthModel()->rowCount(), 1);
        h.form()->close();

        h.dialogs.clearShown();
        h.button("cmdNewInput")->click();
        h.field<QDateEdit>("dtpNowDay")->setDate(QDate(2026, 8, 1));
        h.field<QDateEdit>("dtpEndDay")->setDate(QDate(2026, 8, 1));
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.koshin();
        QCOMPARE(h.dialogs.shown.size(), 2);
        QCOMPARE(h.dialogs.shown[1].box.caption, QStringLiteral("保存エラー"));
        QCOMPARE(h.folder.plainFile("data/2026/08.log"), august);
    }

    void editingFromTheSearchList()
    {
        Harness h(QDate(2026, 7, 15));
        const EntryRecord march = entry("2025/03/04", "0", "三月", "2025/03/31");
        const EntryRecord november = entry("2024/11/02", "0", "十一月", "2024/11/30");
        const EntryRecord gone = entry("2024/05/06", "0", "消えた", "2024/05/31");
        h.folder.writeMonth("2025", "03", {entry("2025/03/01", "0", "別"), march});
        h.folder.writeMonth("2024", "11", {november});
        h.start();
        h.selectTab("T_Search");
        h.window->searchModel()->setEntries({march, november, gone});
        h.clickRow("lvwSearch", 0);
        QCOMPARE(h.window->shownDate(), QDate(2025, 3, 4)); // the month context follows
        h.button("cmdHensyu")->click();
        QCOMPARE(h.field<QLabel>("lblMaxNumber")->text(), QStringLiteral("/　3"));
        QCOMPARE(h.field<QLineEdit>("txtPresent")->text(), QStringLiteral("三月"));
        h.field<QLineEdit>("txtPresent")->setText(QStringLiteral("三月改"));
        h.koshin();
        QList<EntryRecord> rows = h.month("2025", "03");
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[1][Present], QStringLiteral("三月改"));
        QCOMPARE(h.window->searchModel()->entry(0)[Present], QStringLiteral("三月改"));

        // Stepping to a result of another month updates that month, not the clicked one.
        h.field<QPushButton>("cmdNextRecord")->click();
        QCOMPARE(h.field<QLineEdit>("txtPresent")->text(), QStringLiteral("十一月"));
        h.field<QComboBox>("cboKekka")->setCurrentText(QStringLiteral("中物当選"));
        h.koshin();
        rows = h.month("2024", "11");
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0][Kekka], QStringLiteral("中物当選"));
        QCOMPARE(h.month("2025", "03").size(), 2);
        QCOMPARE(h.window->searchModel()->entry(1)[Kekka], QStringLiteral("中物当選"));

        // A result whose month no longer holds it is registered there as a new entry.
        h.field<QPushButton>("cmdEndRecord")->click();
        h.field<QLineEdit>("txtSite")->setText(QStringLiteral("戻った"));
        h.koshin();
        rows = h.month("2024", "05");
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0][Site], QStringLiteral("戻った"));
        QCOMPARE(h.window->searchModel()->rowCount(), 3);
        QVERIFY(h.dialogs.shown.isEmpty());
    }

    void duplicateQuestionDecides()
    {
        Harness h(QDate(2026, 7, 15));
        h.start();
        h.button("cmdNewInput")->click();
        h.field<QLineEdit>("txtSite")->setText(QStringLiteral("応募先"));
        h.field<QLineEdit>("txtPresent")->setText(QStringLiteral("賞品"));
        h.koshin();
        QVERIFY(h.dialogs.shown.isEmpty());
        // A comment is not part of the comparison: the same entry is asked about.
        h.field<QPlainTextEdit>("txtMsg")->setPlainText(QStringLiteral("二度目"));
        h.dialogs.queueAnswer(MessageAnswer::No);
        h.koshin();
        QCOMPARE(h.dialogs.shown.size(), 1);
        const MessageBoxSpec& box = h.dialogs.shown[0].box;
        QCOMPARE(box.caption, QStringLiteral("懸賞情報重複の確認"));
        QCOMPARE(box.icon, MessageIcon::Question);
        QVERIFY(box.text.startsWith(
            QStringLiteral("以下の内容は登録済みですが登録しますか？\r\n\r\nＩＤ番号 ＝ 0\r\n")));
        QCOMPARE(h.month("2026", "07").size(), 1);
        QVERIFY(!h.field<QPushButton>("cmdKoshin")->isEnabled());

        h.field<QPlainTextEdit>("txtMsg")->setPlainText(QStringLiteral("三度目"));
        h.dialogs.queueAnswer(MessageAnswer::Yes);
        h.koshin();
        QCOMPARE(h.dialogs.shown.size(), 2);
        QCOMPARE(h.month("2026", "07").size(), 2);

        // Another URL makes it another entry: no question.
        h.field<QLineEdit>("txtURL")->setText(QStringLiteral("http://www.example.jp/other"));
        h.koshin();
        QCOMPARE(h.dialogs.shown.size(), 2);
        QCOMPARE(h.month("2026", "07").size(), 3);
    }

    void duplicateCheckSeesTheStoredForms()
    {
        Harness h(QDate(2026, 7, 15));
        h.start();
        h.button("cmdNewInput")->click();
        // A Linux input method types 〜 where the stored text holds ～.
        h.field<QLineEdit>("txtPresent")->setText(QStringLiteral("賞品1〜3名"));
        h.koshin();
        QCOMPARE(h.month("2026", "07").at(0)[Present], QStringLiteral("賞品1～3名"));
        h.window->monthPage().LoadMonthFile();     // the list as read back from the file
        h.field<QLineEdit>("txtPresent")->clear(); // typed once more, as the same entry
        h.field<QLineEdit>("txtPresent")->setText(QStringLiteral("賞品1〜3名"));
        h.dialogs.queueAnswer(MessageAnswer::No);
        h.koshin();
        QCOMPARE(h.dialogs.shown.size(), 1);
        QCOMPARE(h.dialogs.shown[0].box.caption, QStringLiteral("懸賞情報重複の確認"));
        QCOMPARE(h.window->monthModel()->entries().at(0)[Present], QStringLiteral("賞品1～3名"));
    }

    void winnersRoundTrip()
    {
        Harness h(QDate(2026, 7, 15));
        EntryRecord twelve = entry("2026/07/01", "0", "十二");
        twelve[Number] = QStringLiteral("12名様");
        EntryRecord everyone = entry("2026/07/02", "0", "全員");
        everyone[Number] = QStringLiteral("全員");
        EntryRecord some = entry("2026/07/03", "0", "若干");
        some[Number] = QStringLiteral("若干名様");
        EntryRecord pairs = entry("2026/07/04", "0", "組");
        pairs[Number] = QStringLiteral("10組");
        h.folder.writeMonth("2026", "07", {twelve, everyone, some, pairs});
        h.start();
        h.clickRow("lvwMonth", 0);
        h.button("cmdHensyu")->click();
        auto* count = h.field<QLineEdit>("txtNumber");
        auto* unit = h.field<QComboBox>("cboNumber");
        QCOMPARE(count->text(), QStringLiteral("12"));
        QCOMPARE(unit->currentText(), QStringLiteral("名様"));
        QVERIFY(count->isEnabled());

        h.field<QPushButton>("cmdNextRecord")->click();
        QCOMPARE(count->text(), QStringLiteral("0"));
        QCOMPARE(unit->currentText(), QStringLiteral("全員"));
        QVERIFY(!count->isEnabled());
        unit->setCurrentText(QStringLiteral("名様"));
        QVERIFY(count->isEnabled());
        unit->setCurrentText(QStringLiteral("全員"));
        h.koshin();
        QCOMPARE(h.month("2026", "07").at(1)[Number], QStringLiteral("全員"));

        // Winners texts of the site that are no plain count survive unrelated edits.
        h.field<QPushButton>("cmdNextRecord")->click();
        QCOMPARE(count->text(), QStringLiteral("若干"));
        h.field<QLineEdit>("txtPresent")->setText(QStringLiteral("若干改"));
        h.koshin();
        h.field<QPushButton>("cmdNextRecord")->click();
        QCOMPARE(count->text(), QStringLiteral("10組"));
        h.field<QLineEdit>("txtPresent")->setText(QStringLiteral("組改"));
        h.koshin();
        QList<EntryRecord> july = h.month("2026", "07");
        QCOMPARE(july[2][Number], QStringLiteral("若干名様"));
        QCOMPARE(july[3][Number], QStringLiteral("10組"));

        // Typing a count replaces such a text with a plain count.
        count->setFocus();
        count->selectAll();
        QTest::keyClicks(count, "05");
        h.koshin();
        QCOMPARE(h.month("2026", "07").at(3)[Number], QStringLiteral("5名様"));

        // "全員" resets the count box when saved.
        h.field<QPushButton>("cmdTopRecord")->click();
        unit->setCurrentText(QStringLiteral("全員"));
        h.koshin();
        QCOMPARE(count->text(), QStringLiteral("0"));
        QCOMPARE(h.month("2026", "07").at(0)[Number], QStringLiteral("全員"));
    }

    void keyFiltersOfNumbersAndLists()
    {
        Harness h(QDate(2026, 7, 15));
        h.start();
        h.button("cmdNewInput")->click();
        auto* money = h.field<QLineEdit>("txtHappyMoney");
        money->setFocus();
        money->selectAll();
        QTest::keyClicks(money, "1a2-");
        QKeyEvent wideDigit(QEvent::KeyPress, Qt::Key_3, Qt::NoModifier, QStringLiteral("３"));
        QApplication::sendEvent(money, &wideDigit);
        QCOMPARE(money->text(), QStringLiteral("12"));
        QCOMPARE(h.dialogs.beeps, 3);
        money->selectAll();
        QTest::keyClick(money, Qt::Key_Backspace);
        QCOMPARE(money->text(), QStringLiteral("0"));
        QCOMPARE(h.field<QLineEdit>("txtID")->isReadOnly(), true);

        auto* result = h.field<QComboBox>("cboKekka");
        QTest::keyClicks(result, "a");
        QTest::keyClick(result, Qt::Key_End);
        QTest::keyClick(result, Qt::Key_Return);
        QCOMPARE(h.dialogs.beeps, 6);
        QCOMPARE(result->currentText(), QStringLiteral("不明"));
        QTest::keyClick(result, Qt::Key_Down);
        QCOMPARE(result->currentText(), QStringLiteral("未応募"));
        QTest::keyClick(result, Qt::Key_Up);
        QCOMPARE(result->currentText(), QStringLiteral("不明"));
        QCOMPARE(h.dialogs.beeps, 6);
    }

    void pictures()
    {
        Harness h(QDate(2026, 7, 15));
        const QString bmp = h.folder.path() + QStringLiteral("/pic.bmp");
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(bmp, "BMP"));
        const QString wmf = h.folder.path() + QStringLiteral("/pic.wmf");
        QFile metafile(wmf);
        QVERIFY(metafile.open(QIODevice::WriteOnly));
        static const char kMetafileStart[] = "\xd7\xcd\xc6\x9a\x00\x00not a picture Qt reads";
        metafile.write(QByteArray(kMetafileStart, sizeof kMetafileStart - 1));
        metafile.close();
        EntryRecord lost = entry("2026/07/01", "0", "画像なし");
        lost[Pic] = h.folder.path() + QStringLiteral("/missing.jpg");
        h.folder.writeMonth("2026", "07", {lost});
        h.start();

        h.button("cmdNewInput")->click();
        auto* place = h.field<QStackedWidget>("fraPicture");
        auto* error = h.field<QLabel>("lblError");
        auto* remove = h.field<QPushButton>("cmdPicOut");
        QVERIFY(!remove->isEnabled());
        h.dialogs.queueFileName(QString()); // cancelled
        h.field<QPushButton>("cmdPicIn")->click();
        QVERIFY(!remove->isEnabled());
        QVERIFY(!h.field<QPushButton>("cmdKoshin")->isEnabled());

        h.dialogs.queueFileName(bmp);
        h.field<QPushButton>("cmdPicIn")->click();
        QCOMPARE(place->currentWidget(), h.field<QWidget>("imgPicView"));
        QVERIFY(remove->isEnabled());
        QVERIFY(h.field<QPushButton>("cmdKoshin")->isEnabled());
        QTest::mouseClick(h.field<QWidget>("imgPicView"), Qt::LeftButton);
        QCOMPARE(h.dialogs.openedUrls.size(), 1);
        QVERIFY(h.dialogs.openedUrls[0].endsWith(QStringLiteral("/pic.bmp")));

        // A metafile has no reader here: a load error in the picture's place.
        h.dialogs.queueFileName(wmf);
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.field<QPushButton>("cmdPicIn")->click();
        const QString expected =
            QStringLiteral("ｴﾗｰ番号481: zumicho でｴﾗｰが発生しました。\r\nピクチャが不正です。");
        QCOMPARE(h.dialogs.shown.size(), 1);
        QCOMPARE(h.dialogs.shown[0].box.text, expected);
        QCOMPARE(h.dialogs.shown[0].box.caption, QStringLiteral("ｴﾗｰ"));
        QCOMPARE(error->text(), expected);
        QCOMPARE(place->currentWidget(), error);
        QVERIFY(h.form()->picturePath().isEmpty());
        QTest::mouseClick(h.field<QWidget>("imgPicView"), Qt::LeftButton);
        QCOMPARE(h.dialogs.openedUrls.size(), 1);

        // "画像削除" drops the reference only.
        h.dialogs.queueFileName(bmp);
        h.field<QPushButton>("cmdPicIn")->click();
        h.field<QPushButton>("cmdPicOut")->click();
        QVERIFY(h.form()->picturePath().isEmpty());
        QVERIFY(!remove->isEnabled());
        QVERIFY(QFile::exists(bmp));
        h.field<QPushButton>("cmdClose")->click();

        // A stored entry whose picture is gone opens with the error and saves no path.
        h.dialogs.clearShown();
        h.clickRow("lvwMonth", 0);
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.button("cmdHensyu")->click();
        QCOMPARE(h.dialogs.shown.size(), 1);
        QVERIFY(h.dialogs.shown[0].box.text.startsWith(QStringLiteral("ｴﾗｰ番号53: ")));
        QVERIFY(h.field<QPushButton>("cmdPicOut")->isEnabled());
        h.field<QLineEdit>("txtPresent")->setText(QStringLiteral("画像なし改"));
        h.koshin();
        QCOMPARE(h.month("2026", "07").at(0)[Pic], QString());
    }

    void alwaysOnTopPassesToTheFormWhileItIsOpen()
    {
        Harness h(QDate(2026, 7, 15), "[Setting]\r\nFormState=1\r\n");
        h.start();
        QVERIFY(h.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        h.button("cmdNewInput")->click();
        QVERIFY(h.form()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!h.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        h.field<QPushButton>("cmdClose")->click();
        QVERIFY(h.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(h.window->isVisible());
    }

    void listTriggersOfTheForm()
    {
        Harness h(QDate(2026, 7, 15));
        h.folder.writeMonth("2026", "07",
                            {entry("2026/07/01", "0", "一"), entry("2026/07/02", "0", "二"),
                             entry("2026/07/03", "0", "三")});
        h.start();
        auto* view = h.child<QTableView>("lvwMonth");
        const QPoint second = view->visualRect(view->model()->index(1, 0)).center();
        QTest::mouseDClick(view->viewport(), Qt::RightButton, {}, second);
        QVERIFY(!h.form());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, second);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, second);
        QVERIFY(h.form());
        QCOMPARE(h.field<QLineEdit>("txtPresent")->text(), QStringLiteral("二"));
        h.field<QPushButton>("cmdClose")->click();
        QVERIFY(!h.form());

        h.clickRow("lvwMonth", 2);
        QTest::keyClick(view, Qt::Key_Return);
        QVERIFY(h.form());
        QCOMPARE(h.field<QLineEdit>("txtPresent")->text(), QStringLiteral("三"));
        h.form()->close(); // closing by the frame gives the main window back as well
        QVERIFY(h.window->isEnabled());

        // Delete removes the clicked entry (no question by default).
        h.clickRow("lvwMonth", 0);
        QTest::keyClick(view, Qt::Key_Delete);
        const QList<EntryRecord> july = h.month("2026", "07");
        QCOMPARE(july.size(), 2);
        QCOMPARE(july[0][Present], QStringLiteral("二"));
        QVERIFY(!h.window->state().selectedMonthRow);
        QVERIFY(!h.form());
    }
};

QTEST_MAIN(TestEntryForm)
#include "tst_entryform.moc"

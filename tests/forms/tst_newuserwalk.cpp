// A new user's first session end to end: type an entry, import two listings, edit one,
// delete one, end, start again — and everything is there.
#include "core/Clock.h"
#include "forms/EntryTableModel.h"
#include "forms/frmDataInput.h"
#include "forms/frmMain.h"
#include "support/ScriptedDialogs.h"
#include "support/TempProgramFolder.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString listing(const QString& id, const QString& prize)
{
    return QStringLiteral(
               "ID:%1 賞品:%2 <http://example.jp/x>\r\nURL http://www.example.jp/c/%1.html\r\n"
               "当選数:5名様 締切:2026/07/31\r\nサイト名:サンプル\r\n紹介文:記念\r\n"
               "［食べ物│アンケート│抽選│不定期│ネット応募］\r\n")
        .arg(id, prize);
}

void clickRow(QTableView* view, int row)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(row, 0)).center());
}

frmDataInput* openForm(const frmMain& window)
{
    for (frmDataInput* form : window.findChildren<frmDataInput*>()) {
        if (form->isVisible())
            return form;
    }
    return nullptr;
}

QStringList prizes(const EntryTableModel* model)
{
    QStringList result;
    for (const EntryRecord& e : model->entries())
        result << e[Present];
    return result;
}

} // namespace

class TestNewUserWalk : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;

private slots:
    void initTestCase() { qputenv("HOME", m_home.path().toUtf8()); }

    void firstSessionSurvivesARestart()
    {
        TempProgramFolder folder; // empty: no data folder, no settings
        ScriptedDialogs dialogs;
        FixedClock clock(QDate(2026, 7, 10));
        {
            frmMain window(AppContext{folder.paths(), dialogs, clock});
            dialogs.queueAnswer(MessageAnswer::No); // no desktop shortcut
            QVERIFY(window.Form_Load());
            window.show();

            window.findChild<QPushButton*>("cmdNewInput")->click();
            frmDataInput* form = openForm(window);
            QVERIFY(form && form->isVisible());
            form->findChild<QLineEdit*>("txtSite")->setText(QStringLiteral("近所のスーパー"));
            form->findChild<QLineEdit*>("txtPresent")->setText(QStringLiteral("自転車"));
            form->findChild<QPushButton*>("cmdKoshin")->click();
            form->findChild<QPushButton*>("cmdClose")->click();
            QVERIFY(window.isEnabled());

            dialogs.clipboard = listing("101", "炊飯器") + listing("202", "図書カード");
            window.findChild<QPushButton*>("cmdInput")->click();
            QCOMPARE(window.monthModel()->rowCount(), 3);

            auto* list = window.findChild<QTableView*>("lvwMonth");
            const int rice =
                static_cast<int>(prizes(window.monthModel()).indexOf(QStringLiteral("炊飯器")));
            clickRow(list, rice);
            window.findChild<QPushButton*>("cmdHensyu")->click();
            form = openForm(window);
            QVERIFY(form && form->isVisible());
            form->findChild<QLineEdit*>("txtPresent")->setText(QStringLiteral("炊飯器（５合）"));
            form->findChild<QPushButton*>("cmdKoshin")->click();
            form->findChild<QPushButton*>("cmdClose")->click();

            const int card =
                static_cast<int>(prizes(window.monthModel()).indexOf(QStringLiteral("図書カード")));
            clickRow(list, card);
            window.findChild<QPushButton*>("cmdDelete")->click();
            window.findChild<QPushButton*>("cmdEnd")->click();
        }
        QVERIFY2(dialogs.allAnswersUsed(), "every question was asked");

        ScriptedDialogs again;
        frmMain window(AppContext{folder.paths(), again, clock});
        QVERIFY(window.Form_Load());
        QVERIFY(again.shown.isEmpty()); // no first-start question the second time
        QStringList stored = prizes(window.monthModel());
        stored.sort();
        QCOMPARE(stored, (QStringList{QStringLiteral("炊飯器（５合）"), QStringLiteral("自転車")}));
        QCOMPARE(window.findChild<QLineEdit*>("txtTotalCount")->text(), QStringLiteral("2"));
        QVERIFY(folder.plainFile("data/0000/2026.log").contains("\r\n7,0,0,0,0,2,0.00,0,0,0\r\n"));
    }
};

QTEST_MAIN(TestNewUserWalk)
#include "tst_newuserwalk.moc"

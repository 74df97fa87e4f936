#include "forms/EntryTableModel.h"
#include "forms/frmStartPassword.h"
#include "support/MainWindowHarness.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPointer>
#include <QTimer>

namespace {

const QString kLogin = QStringLiteral("ズミラ帳記帳者認証　ログイン");
const QString kSet = QStringLiteral("ズミラ帳記帳者認証　設定");
const QString kRelease = QStringLiteral("ズミラ帳記帳者認証　解除");
const QString kWrong = QStringLiteral("パスワードが違います。");
const QByteArray kLocked = "[Setting]\r\nStartPassword=1\r\nStartPasswordInput=Secret\r\n";

frmStartPassword* shownWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* form = qobject_cast<frmStartPassword*>(w); form && form->isVisible())
            return form;
    }
    return nullptr;
}
QLineEdit* box(frmStartPassword* form, const char* name)
{
    return form->findChild<QLineEdit*>(name);
}
QPushButton* button(frmStartPassword* form, const char* name)
{
    return form->findChild<QPushButton*>(name);
}
void enter(frmStartPassword* form, const char* name, const QString& text)
{
    box(form, name)->setText(text);
    QTest::keyClick(box(form, name), Qt::Key_Return);
}

// Runs `steps` inside the login window's modal loop; a window left open is closed, which
// refuses the start and fails the test instead of hanging it.
void answerLogin(std::function<void(frmStartPassword*)> steps)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, steps] {
        if (frmStartPassword* form = shownWindow()) {
            timer->stop();
            timer->deleteLater();
            steps(form);
            if (form->isVisible())
                form->reject();
        }
    });
    timer->start(10);
}

// The one box shown since the last check: the wrong-password box unless told otherwise.
void checkRefused(ScriptedDialogs& dialogs, const QString& caption, const QString& text = kWrong)
{
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].box.text, text);
    QCOMPARE(dialogs.shown[0].box.caption, caption);
    QCOMPARE(dialogs.shown[0].box.icon, MessageIcon::Critical);
    dialogs.clearShown();
}

// A started main window on the settings tab, past any login.
struct SettingsTab : MainWindowHarness
{
    explicit SettingsTab(const QByteArray& settings = "[Setting]\r\n")
        : MainWindowHarness(QDate(2026, 12, 7), settings)
    {
        loginPrompt = [] { return true; };
        start(true);
        selectTab("T_Setting");
    }
    QCheckBox* check() { return child<QCheckBox>("chkStartPassword"); }
    frmStartPassword* click()
    {
        check()->click();
        return shownWindow();
    }
    const Settings& now() { return window->state().settings; }
};

} // namespace

class TestStartPassword : public QObject
{
    Q_OBJECT

private slots:
    void lockingTheDiaryReachesItsFilesAndTheNextStart()
    {
        SettingsTab s;
        s.folder.writeMonth("2026", "11", {makeEntry("2026/11/03", "7")});
        frmStartPassword* form = s.click();
        QVERIFY(form);
        box(form, "txtStartPassword")->setText(QStringLiteral("Key〜1"));
        enter(form, "txtStartPasswordKakunin", QStringLiteral("Key〜1"));
        QVERIFY(!form->isVisible());
        s.dialogs.queueAnswer(MessageAnswer::Ok);
        s.button("cmdSetting")->click(); // applying stamps every month file
        QCOMPARE(s.dialogs.shown.last().box.caption, QStringLiteral("完了"));
        QVERIFY(s.folder.plainFile("data/2026/11.log")
                    .startsWith("\"StartPassword=Key\x81\x60"
                                "1\"\r\n"));
        s.window->close();

        // The next start asks first, then reads the stamped month.
        ScriptedDialogs dialogs;
        FixedClock clock(QDate(2026, 11, 20));
        frmMain again(AppContext{s.folder.paths(), dialogs, clock});
        bool asked = false;
        answerLogin([&](frmStartPassword* login) {
            QCOMPARE(login->windowTitle(), kLogin);
            enter(login, "txtStartPassword", QStringLiteral("Key〜1"));
            asked = true;
        });
        QVERIFY(again.Form_Load());
        QVERIFY(asked);
        QCOMPARE(again.monthModel()->rowCount(), 1);
        QVERIFY(dialogs.shown.isEmpty());
    }

    void loginTakesOnlyTheExactPassword()
    {
        MainWindowHarness h(QDate(2026, 12, 7), kLocked);
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        bool asked = false;
        answerLogin([&](frmStartPassword* form) {
            QVERIFY(!box(form, "txtStartPasswordKakunin")->isVisible());
            QVERIFY(!button(form, "cmdOk")->isEnabled());
            enter(form, "txtStartPassword", "secret"); // letter case counts
            QVERIFY(form->isVisible());
            checkRefused(h.dialogs, kLogin);
            QCOMPARE(box(form, "txtStartPassword")->selectedText(), QStringLiteral("secret"));
            enter(form, "txtStartPassword", "Secret");
            asked = true;
        });
        h.start();
        QVERIFY(asked);
        QVERIFY(!h.window->state().startingUp);
    }

    void cancelledLoginEndsTheStartAndStoresNothing()
    {
        // Locked with no stored password: no entry matches, so only Cancel leaves.
        MainWindowHarness h(QDate(2026, 12, 7),
                            "[Setting]\r\nStartPassword=1\r\nStartPasswordInput=\r\n");
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        const QByteArray stored = h.folder.plainFile("data/ini/zumicho.ini");
        answerLogin([&](frmStartPassword* form) {
            enter(form, "txtStartPassword", "x");
            QVERIFY(form->isVisible());
            button(form, "cmdCancel")->click();
        });
        h.window = std::make_unique<frmMain>(AppContext{h.folder.paths(), h.dialogs, h.clock});
        QVERIFY(!h.window->Form_Load());
        checkRefused(h.dialogs, kLogin);
        h.window->close(); // what a normal end would store
        QCOMPARE(h.folder.plainFile("data/ini/zumicho.ini"), stored);
    }

    void setModeNeedsTwoMatchingEntriesAndCancelLeavesNone()
    {
        SettingsTab s("[Setting]\r\nStartPassword=0\r\nStartPasswordInput=old\r\n");
        s.dialogs.queueAnswer(MessageAnswer::Ok);
        frmStartPassword* form = s.click();
        QVERIFY(form && form->isModal());
        QTest::keyClicks(box(form, "txtStartPassword"), "abc");
        QTest::keyClick(box(form, "txtStartPassword"),
                        Qt::Key_Return); // no confirmation yet: nothing
        QVERIFY(form->isVisible() && s.dialogs.shown.isEmpty());
        enter(form, "txtStartPasswordKakunin", "abd");
        checkRefused(s.dialogs, kSet);
        QVERIFY(box(form, "txtStartPasswordKakunin")->text().isEmpty());
        QCOMPARE(form->focusWidget(), box(form, "txtStartPassword"));
        QVERIFY(!button(form, "cmdOk")->isEnabled());
        button(form, "cmdCancel")->click();
        QVERIFY(!shownWindow());
        QVERIFY(!s.check()->isChecked() && !s.now().startPassword &&
                s.now().startPasswordText.isEmpty());
        QVERIFY(s.button("cmdSetting")->isEnabled());

        // Forty characters fit, a forty-first cannot be typed; only the apply step stores it.
        const QString forty = QStringLiteral("Abcdefghij").repeated(4);
        QVERIFY(form = s.click());
        QTest::keyClicks(box(form, "txtStartPassword"), forty + u'X');
        QCOMPARE(box(form, "txtStartPassword")->text(), forty);
        enter(form, "txtStartPasswordKakunin", forty);
        QVERIFY(!shownWindow());
        QVERIFY(s.check()->isChecked() && s.now().startPassword);
        QCOMPARE(s.now().startPasswordText, forty);
        QVERIFY(!s.window->state().suppressPasswordDialog);
        QVERIFY(!s.folder.plainFile("data/ini/zumicho.ini").contains("Abcdefghij"));
    }

    void setModeRefusesPasswordsTheFilesCannotGiveBack()
    {
        SettingsTab s;
        frmStartPassword* form = s.click();
        QVERIFY(form);
        const QList<std::pair<QString, QString>> refused = {
            {QStringLiteral("ab\"cd"), QStringLiteral("パスワードに「\"」は使用できません。")},
            {QStringLiteral("パス😀"),
             QStringLiteral("パスワードに使用できない文字「😀」が含まれています。")},
            {QStringLiteral("tail "),
             QStringLiteral("パスワードの先頭と末尾には空白を使用できません。")},
        };
        for (const auto& [password, message] : refused) {
            s.dialogs.queueAnswer(MessageAnswer::Ok);
            box(form, "txtStartPassword")->setText(password);
            enter(form, "txtStartPasswordKakunin", password);
            QVERIFY(form->isVisible());
            checkRefused(s.dialogs, kSet, message);
        }
        QVERIFY(s.now().startPasswordText.isEmpty());
        // A wave dash as Linux input gives it is kept as the character the files hold.
        box(form, "txtStartPassword")->setText(QStringLiteral("波\u301C線"));
        enter(form, "txtStartPasswordKakunin", QStringLiteral("波\u301C線"));
        QCOMPARE(s.now().startPasswordText, QStringLiteral("波\uFF5E線"));
    }

    void releaseNeedsTheRightPasswordAndCloseKeepsIt()
    {
        SettingsTab s(kLocked);
        s.dialogs.queueAnswer(MessageAnswer::Ok);
        frmStartPassword* form = s.click();
        QVERIFY(form && !box(form, "txtStartPasswordKakunin")->isVisible());
        enter(form, "txtStartPassword", "SECRET");
        QVERIFY(form->isVisible());
        checkRefused(s.dialogs, kRelease);
        form->close(); // the window frame's close acts as Cancel
        QVERIFY(s.check()->isChecked() && s.now().startPassword);
        QCOMPARE(s.now().startPasswordText, QStringLiteral("Secret"));

        enter(s.click(), "txtStartPassword", "Secret");
        QVERIFY(!shownWindow());
        QVERIFY(!s.check()->isChecked() && !s.now().startPassword &&
                s.now().startPasswordText.isEmpty());
    }

    // A screen reader can press the window's buttons or close it while its wrong-password
    // box is up. The window never goes away under its box: OK is not taken meanwhile, and
    // Cancel or a close comes once the box is answered.
    void windowOutlivesItsOwnBox_data()
    {
        QTest::addColumn<QString>("during");
        QTest::addColumn<bool>("closedAfter");
        QTest::newRow("OK with the right password") << "ok" << false;
        QTest::newRow("Cancel") << "cancel" << true;
        QTest::newRow("closed") << "close" << true;
    }
    void windowOutlivesItsOwnBox()
    {
        QFETCH(QString, during);
        QFETCH(bool, closedAfter);
        SettingsTab s(kLocked);
        const QPointer<frmStartPassword> form = s.click();
        QVERIFY(form);
        s.dialogs.queueAnswer(MessageAnswer::Ok);
        s.dialogs.during = [&] {
            if (during == u"ok") {
                box(form, "txtStartPassword")->setText(QStringLiteral("Secret"));
                button(form, "cmdOk")->click();
            } else if (during == u"cancel") {
                button(form, "cmdCancel")->click();
            } else {
                form->close();
            }
            QVERIFY(form && form->isVisible());
        };
        enter(form, "txtStartPassword", "SECRET");
        QVERIFY(s.dialogs.allAnswersUsed());
        checkRefused(s.dialogs, kRelease);
        QCOMPARE(!form || !form->isVisible(), closedAfter);
        QCOMPARE(s.check()->isChecked(), closedAfter); // a close puts the box back on
        QCOMPARE(s.now().startPasswordText, QStringLiteral("Secret"));
        if (!closedAfter) {
            enter(form, "txtStartPassword", "Secret");
            QVERIFY(!shownWindow() && !s.check()->isChecked());
        }
    }

    void programChangesNeverOpenTheWindow()
    {
        SettingsTab s(kLocked);
        s.check()->setChecked(false);
        s.selectTab("T_Month"); // leaving the tab reloads the settings into the box
        s.selectTab("T_Setting");
        QVERIFY(s.check()->isChecked());
        QVERIFY(!shownWindow() && !s.button("cmdSetting")->isEnabled() &&
                s.dialogs.shown.isEmpty());
    }
};

QTEST_MAIN(TestStartPassword)
#include "tst_startpassword.moc"

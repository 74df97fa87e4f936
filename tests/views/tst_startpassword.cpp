#include "support/MainWindowHarness.h"
#include "views/frmStartPassword.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QTimer>

namespace {

const QString kLogin = QStringLiteral("ズミラ帳記帳者認証　ログイン");
const QString kSet = QStringLiteral("ズミラ帳記帳者認証　設定");
const QString kRelease = QStringLiteral("ズミラ帳記帳者認証　解除");
const QString kWrong = QStringLiteral("パスワードが違います。");

frmStartPassword* passwordWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* form = qobject_cast<frmStartPassword*>(w); form && form->isVisible())
            return form;
    }
    return nullptr;
}

template <typename T> T* in(frmStartPassword* form, const char* name)
{
    return form->findChild<T*>(QString::fromLatin1(name));
}
QLineEdit* box(frmStartPassword* form, const char* name)
{
    return in<QLineEdit>(form, name);
}
QPushButton* okButton(frmStartPassword* form)
{
    return in<QPushButton>(form, "cmdOk");
}

void typeAndEnter(frmStartPassword* form, const char* name, const QString& text)
{
    QTest::keyClicks(box(form, name), text);
    QTest::keyClick(box(form, name), Qt::Key_Return);
}

// Runs `steps` on the login window once its modal loop shows it; a window the steps left
// open is closed, which refuses the start and so fails the test instead of hanging it.
void answerLogin(std::function<void(frmStartPassword*)> steps)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, steps] {
        if (frmStartPassword* form = passwordWindow()) {
            timer->deleteLater();
            timer->stop();
            steps(form);
            if (form->isVisible())
                form->reject();
        }
    });
    timer->start(10);
}

void checkWrongBox(const ScriptedDialogs& dialogs, const QString& caption,
                   const QString& text = kWrong)
{
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].box.text, text);
    QCOMPARE(dialogs.shown[0].box.caption, caption);
    QCOMPARE(dialogs.shown[0].box.icon, MessageIcon::Critical);
    QCOMPARE(dialogs.shown[0].box.buttons, MessageButtons::Ok);
}

const QByteArray kLocked = "[Setting]\r\nStartPassword=1\r\nStartPasswordInput=Secret\r\n";

} // namespace

class TestStartPassword : public QObject
{
    Q_OBJECT

    struct SettingsTab
    {
        explicit SettingsTab(const QByteArray& settings = "[Setting]\r\n")
            : h(QDate(2026, 12, 7), settings)
        {}
        // Starts (past any login) on the settings tab and clicks the check box.
        frmStartPassword* start()
        {
            h.loginPrompt = [] { return true; };
            h.start(true);
            h.selectTab("T_Setting");
            return click();
        }
        frmStartPassword* click()
        {
            check()->click();
            return passwordWindow();
        }
        QCheckBox* check() { return h.child<QCheckBox>("chkStartPassword"); }
        const ::Settings& state() { return h.window->state().settings; }
        bool applyEnabled() { return h.button("cmdSetting")->isEnabled(); }
        MainWindowHarness h;
    };

private slots:
    void loginTakesOnlyTheExactPassword()
    {
        MainWindowHarness h(QDate(2026, 12, 7), kLocked);
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        bool ran = false;
        answerLogin([&](frmStartPassword* form) {
            QCOMPARE(form->windowTitle(), kLogin);
            QCOMPARE(in<QLabel>(form, "lblStartPassword")->text(),
                     QStringLiteral("パスワードを入力して下さい  [1～40文字以内]"));
            QVERIFY(box(form, "txtStartPasswordKakunin")->isHidden());
            QCOMPARE(box(form, "txtStartPassword")->echoMode(), QLineEdit::Password);
            QVERIFY(!okButton(form)->isEnabled());
            // A difference in letter case is a wrong password; the text is selected for retyping.
            typeAndEnter(form, "txtStartPassword", "secret");
            QVERIFY(form->isVisible());
            checkWrongBox(h.dialogs, kLogin);
            QCOMPARE(form->focusWidget(), box(form, "txtStartPassword"));
            QCOMPARE(box(form, "txtStartPassword")->selectedText(), QStringLiteral("secret"));
            typeAndEnter(form, "txtStartPassword", "Secret");
            ran = true;
        });
        h.start();
        QVERIFY(ran);
        QVERIFY(!h.window->state().startingUp);
    }

    void cancelledLoginEndsStartUpAndStoresNothing()
    {
        // A lock without a stored password: OK needs text, no text matches, only Cancel leaves.
        MainWindowHarness h(QDate(2026, 12, 7),
                            "[Setting]\r\nStartPassword=1\r\nStartPasswordInput=\r\n");
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        const QString settingsPath = h.folder.paths().settingsPath();
        QFile before(settingsPath);
        QVERIFY(before.open(QIODevice::ReadOnly));
        const QByteArray stored = before.readAll();
        before.close();

        answerLogin([&](frmStartPassword* form) {
            typeAndEnter(form, "txtStartPassword", "x");
            QVERIFY(form->isVisible());
            in<QPushButton>(form, "cmdCancel")->click();
        });
        h.window = std::make_unique<frmMain>(AppContext{h.folder.paths(), h.dialogs, h.clock});
        QVERIFY(!h.window->Form_Load());
        checkWrongBox(h.dialogs, kLogin);
        h.window->close(); // what closing would store, a refused start must not
        QFile after(settingsPath);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), stored);
        QVERIFY(!QFile::exists(h.folder.paths().monthFilePath("2026", "12")));
    }

    void setModeKeepsAConfirmedPasswordInMemory()
    {
        SettingsTab s;
        frmStartPassword* form = s.start();
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), kSet);
        QCOMPARE(in<QLabel>(form, "lblStartPassword")->text(),
                 QStringLiteral("パスワードを設定して下さい  [1～40文字以内]"));
        QCOMPARE(in<QLabel>(form, "lblStartPasswordKakunin")->text(),
                 QStringLiteral("確認のため同じパスワードを再入力して下さい"));
        QVERIFY(box(form, "txtStartPasswordKakunin")->isVisible());
        QCOMPARE(box(form, "txtStartPasswordKakunin")->echoMode(), QLineEdit::Password);
        QVERIFY(form->isModal());

        const QString forty = QStringLiteral("Abcdefghij").repeated(4);
        // A 41st character cannot be typed; Enter with an empty confirmation does nothing.
        typeAndEnter(form, "txtStartPassword", forty + u'X');
        QCOMPARE(box(form, "txtStartPassword")->text(), forty);
        QVERIFY(form->isVisible());
        QVERIFY(!okButton(form)->isEnabled());
        QTest::keyClicks(box(form, "txtStartPasswordKakunin"), "A");
        QVERIFY(okButton(form)->isEnabled());
        box(form, "txtStartPassword")->clear();
        QVERIFY(!okButton(form)->isEnabled());
        box(form, "txtStartPassword")->setText(forty);
        box(form, "txtStartPasswordKakunin")->clear();
        typeAndEnter(form, "txtStartPasswordKakunin", forty);
        QVERIFY(!passwordWindow());

        QVERIFY(s.check()->isChecked());
        QVERIFY(s.state().startPassword);
        QCOMPARE(s.state().startPasswordText, forty);
        QVERIFY(s.applyEnabled());
        QVERIFY(!s.h.window->state().suppressPasswordDialog);
        QVERIFY(s.h.dialogs.shown.isEmpty());
        // Only the apply step stores it.
        QVERIFY(!s.h.folder.plainFile("data/ini/zumicho.ini").contains("Abcdefghij"));
    }

    void setModeMismatchRetriesAndCancelLeavesNoPassword()
    {
        SettingsTab s("[Setting]\r\nStartPassword=0\r\nStartPasswordInput=old\r\n");
        s.h.dialogs.queueAnswer(MessageAnswer::Ok);
        frmStartPassword* form = s.start();
        QVERIFY(form);
        QTest::keyClicks(box(form, "txtStartPassword"), "abc");
        typeAndEnter(form, "txtStartPasswordKakunin", "abd");
        QVERIFY(form->isVisible());
        checkWrongBox(s.h.dialogs, kSet);
        QVERIFY(box(form, "txtStartPasswordKakunin")->text().isEmpty());
        QCOMPARE(form->focusWidget(), box(form, "txtStartPassword"));
        QCOMPARE(box(form, "txtStartPassword")->selectedText(), QStringLiteral("abc"));
        QVERIFY(!okButton(form)->isEnabled());

        in<QPushButton>(form, "cmdCancel")->click();
        QVERIFY(!passwordWindow());
        QVERIFY(!s.check()->isChecked());
        QVERIFY(!s.state().startPassword);
        QVERIFY(s.state().startPasswordText.isEmpty());
        QVERIFY(s.applyEnabled());
        QVERIFY(!s.h.window->state().suppressPasswordDialog);
    }

    void setModeRefusesPasswordsTheFilesCannotHold()
    {
        SettingsTab s;
        frmStartPassword* form = s.start();
        const QList<std::pair<QString, QString>> refused = {
            {QStringLiteral("ab\"cd"), QStringLiteral("パスワードに「\"」は使用できません。")},
            {QStringLiteral("パス😀"),
             QStringLiteral("パスワードに使用できない文字「😀」が含まれています。")},
            {QStringLiteral("한국"),
             QStringLiteral("パスワードに使用できない文字「한」が含まれています。")},
            {QStringLiteral(" lead"),
             QStringLiteral("パスワードの先頭と末尾には空白を使用できません。")},
            {QStringLiteral("tail "),
             QStringLiteral("パスワードの先頭と末尾には空白を使用できません。")},
            {QStringLiteral("'q'"),
             QStringLiteral("パスワードの前後を「'」で囲むことはできません。")},
            {QStringLiteral("a\tb"), QStringLiteral("パスワードに制御文字は使用できません。")},
        };
        for (const auto& [password, message] : refused) {
            QVERIFY(form);
            s.h.dialogs.clearShown();
            s.h.dialogs.queueAnswer(MessageAnswer::Ok);
            box(form, "txtStartPassword")->setText(password);
            box(form, "txtStartPasswordKakunin")->setText(password);
            okButton(form)->click();
            QVERIFY2(form->isVisible(), qPrintable(password));
            checkWrongBox(s.h.dialogs, kSet, message);
            QVERIFY(s.state().startPasswordText.isEmpty());
        }
        // A wave dash as Linux types it is kept as the character the files hold.
        box(form, "txtStartPassword")->setText(QStringLiteral("波\u301C線"));
        box(form, "txtStartPasswordKakunin")->setText(QStringLiteral("波\u301C線"));
        QTest::keyClick(box(form, "txtStartPasswordKakunin"), Qt::Key_Return);
        QVERIFY(!passwordWindow());
        QCOMPARE(s.state().startPasswordText, QStringLiteral("波\uFF5E線"));
        QVERIFY(s.h.dialogs.allAnswersUsed());
    }

    void releaseNeedsTheRightPasswordAndCancelKeepsIt()
    {
        SettingsTab s(kLocked);
        s.h.dialogs.queueAnswer(MessageAnswer::Ok);
        frmStartPassword* form = s.start();
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), kRelease);
        QCOMPARE(in<QLabel>(form, "lblStartPassword")->text(),
                 QStringLiteral("パスワードを入力して下さい  [1～40文字以内]"));
        QVERIFY(box(form, "txtStartPasswordKakunin")->isHidden());
        typeAndEnter(form, "txtStartPassword", "SECRET");
        QVERIFY(form->isVisible());
        checkWrongBox(s.h.dialogs, kRelease);
        QCOMPARE(s.state().startPasswordText, QStringLiteral("Secret"));

        // Closing the window by its frame is a Cancel: the box goes back on, the password stays.
        form->close();
        QVERIFY(!passwordWindow());
        QVERIFY(s.check()->isChecked());
        QVERIFY(s.state().startPassword);
        QCOMPARE(s.state().startPasswordText, QStringLiteral("Secret"));
        QVERIFY(s.applyEnabled());

        form = s.click();
        QVERIFY(form);
        typeAndEnter(form, "txtStartPassword", "Secret");
        QVERIFY(!passwordWindow());
        QVERIFY(!s.check()->isChecked());
        QVERIFY(!s.state().startPassword);
        QVERIFY(s.state().startPasswordText.isEmpty());
    }

    void programmaticChangesNeverOpenTheWindow()
    {
        SettingsTab s(kLocked);
        s.h.loginPrompt = [] { return true; };
        s.h.start(true);
        s.h.selectTab("T_Setting");
        QVERIFY(s.check()->isChecked());
        s.check()->setChecked(false);
        s.check()->toggle();
        s.h.selectTab("T_Month"); // leaving the tab reloads the settings into the box
        s.h.selectTab("T_Setting");
        QVERIFY(s.check()->isChecked());
        QVERIFY(!passwordWindow());
        QVERIFY(!s.applyEnabled());
        QVERIFY(s.h.dialogs.shown.isEmpty());
    }
};

QTEST_MAIN(TestStartPassword)
#include "tst_startpassword.moc"

// End to end: the assistant's buttons fill a form in a real browser through the extension and
// the native-messaging host, installed as the program folder has them. The session the
// assistant runs on comes from ZUMI_BRIDGE_SESSION: "x11" (Xvfb, a window manager, the browser
// on the same display) or "wayland" (a headless weston, the browser headless); the browser from
// ZUMI_BRIDGE_BROWSER: "chromium" (read back over DevTools) or "firefox" (over Marionette).
#include "assistant/frmZumikey.h"
#include "bridge/BridgeLink.h"
#include "bridge/BridgeServer.h"
#include "core/AppPaths.h"
#include "core/Clock.h"
#include "platform/ForeignWindows.h"
#include "support/ScriptedDialogs.h"
#include "support/VirtualDisplay.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

using K = ProfileKey;

QString session()
{
    return qEnvironmentVariable("ZUMI_BRIDGE_SESSION", QStringLiteral("x11"));
}

bool firefox()
{
    return qEnvironmentVariable("ZUMI_BRIDGE_BROWSER") == QLatin1String("firefox");
}

QString browserName()
{
    return firefox() ? QStringLiteral("Firefox") : QStringLiteral("Chromium");
}

UserProfile sampleProfile()
{
    UserProfile p;
    p[K::UserName1] = QStringLiteral("髙橋");
    p[K::UserName2] = QStringLiteral("花子");
    p[K::UserNameKana1] = QStringLiteral("たかはし");
    p[K::UserNameKana2] = QStringLiteral("はなこ");
    p[K::UserMail] = QStringLiteral("hanako@example.jp");
    p[K::UserZip1] = QStringLiteral("100");
    p[K::UserZip2] = QStringLiteral("0001");
    p[K::UserAddress1] = QStringLiteral("東京都");
    p[K::UserAddress2] = QStringLiteral("千代田区");
    p[K::UserAddress3] = QStringLiteral("千代田1-1");
    p[K::UserAddress4] = QStringLiteral("ビル5F～①");
    p[K::UserAddressKana1] = QStringLiteral("とうきょうと");
    p[K::UserAddressKana2] = QStringLiteral("ちよだく");
    p[K::UserAddressKana3] = QStringLiteral("ちよだ１－１");
    p[K::UserAddressKana4] = QStringLiteral("びる５");
    p[K::UserTel11] = QStringLiteral("03");
    p[K::UserTel12] = QStringLiteral("1234");
    p[K::UserTel13] = QStringLiteral("5678");
    p[K::UserTel21] = QStringLiteral("090");
    p[K::UserTel22] = QStringLiteral("1111");
    p[K::UserTel23] = QStringLiteral("2222");
    p[K::UserBirthday] = QStringLiteral("1985/04/07");
    p[K::UserSex] = QStringLiteral("女性");
    p[K::UserJob] = QStringLiteral("会社員");
    return p;
}

// A child process that is stopped again with the test.
struct Child : QProcess
{
    ~Child() override
    {
        if (state() == NotRunning)
            return;
        terminate();
        if (!waitForFinished(5000))
            kill();
        waitForFinished(2000);
    }
};

} // namespace

class TestBrowserBridge : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_program; // the installed program folder
    QString m_home;
    Child m_pages;
    Child m_browser;
    WindowManager m_manager;
    int m_pagePort = 0;
    int m_debugPort = 0;
    ScriptedDialogs m_dialogs;
    FixedClock m_clock{QDate(2026, 7, 1)};
    std::unique_ptr<ForeignWindows> m_windows;
    std::unique_ptr<BridgeServer> m_bridge;
    std::unique_ptr<frmZumikey> m_assistant;
    QList<QJsonObject> m_results;

    // The value of `expression` in the browser's page.
    QJsonValue page(const QString& expression) { return drive(QStringLiteral("eval"), expression); }

    // One command to the browser's driver: "eval" gives the value, the others true when done.
    QJsonValue drive(const QString& what, const QString& argument)
    {
        QProcess tool;
        if (firefox())
            tool.start(QStringLiteral("python3"), {QStringLiteral(MARIONETTE_SCRIPT),
                                                   QString::number(m_debugPort), what, argument});
        else
            tool.start(QStringLiteral("python3"),
                       {QStringLiteral(DEVTOOLS_SCRIPT), QString::number(m_debugPort), argument});
        if (!tool.waitForFinished(60000) || tool.exitCode() != 0) {
            qWarning().noquote() << "browser driver:" << tool.readAllStandardError();
            return QJsonValue(QJsonValue::Undefined);
        }
        if (what != QLatin1String("eval"))
            return true;
        const QByteArray out = tool.readAllStandardOutput();
        return QJsonDocument::fromJson("[" + out + "]").array().first();
    }

    bool openPage(const QString& file)
    {
        const QString url = QStringLiteral("http://127.0.0.1:%1/%2").arg(m_pagePort).arg(file);
        if (firefox())
            drive(QStringLiteral("navigate"), url);
        else
            page(QStringLiteral("location.href = '%1'").arg(url));
        QTest::qWait(200);
        for (int i = 0; i < 50; ++i) {
            if (page(QStringLiteral("document.readyState === 'complete' && location.href")) == url)
                return true;
            QTest::qWait(200);
        }
        return false;
    }

    // Clicks a button of the assistant and waits for the extension's answer.
    QJsonObject click(QPushButton* button)
    {
        const qsizetype before = m_results.size();
        QTest::mouseClick(button, Qt::LeftButton);
        if (!QTest::qWaitFor([&] { return m_results.size() > before; }, 15000))
            return {};
        return m_results.last();
    }

private slots:
    void initTestCase()
    {
        const QString program = QStandardPaths::findExecutable(
            firefox() ? QStringLiteral("firefox-esr") : QStringLiteral("chromium"));
        if (program.isEmpty())
            QSKIP("The browser is not installed (Debian package chromium or firefox-esr); the "
                  "bridge is not tested with it.");
        if (session() == QLatin1String("wayland")) {
            if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
                QSKIP("weston did not start (Debian package weston); the Wayland case is not "
                      "tested.");
            QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
        } else {
            if (qEnvironmentVariableIsEmpty("DISPLAY"))
                QSKIP("Xvfb did not start (Debian package xvfb); the X11 case is not tested.");
            QVERIFY(m_manager.start());
            QTRY_VERIFY_WITH_TIMEOUT(WindowManager::running(), 10000);
        }
        QVERIFY(m_dir.isValid());
        m_program = m_dir.filePath(QStringLiteral("zumicho"));
        m_home = m_dir.filePath(QStringLiteral("home"));
        QVERIFY(QDir().mkpath(m_home));
        // The program folder exactly as an install lays it out.
        QProcess install;
        install.start(QStringLiteral(CMAKE_COMMAND),
                      {QStringLiteral("--install"), QStringLiteral(BUILD_FOLDER),
                       QStringLiteral("--prefix"), m_program, QStringLiteral("--component"),
                       QStringLiteral("bridge")});
        QVERIFY(install.waitForFinished(60000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
        QVERIFY(QFileInfo::exists(m_program + QStringLiteral("/browser/chromium/manifest.json")));
        QDir().mkpath(AppPaths(m_program).iniFolder());
        QCOMPARE(saveUserProfileFile(AppPaths(m_program).profilePath(), sampleProfile()),
                 QString());

        // The assistant registers the host in this home, as it does at every start.
        qputenv("HOME", m_home.toLocal8Bit());
        qunsetenv("XDG_CONFIG_HOME");
        m_windows = createForeignWindows();
        QCOMPARE(m_windows->available(), session() == QLatin1String("x11"));
        m_bridge = std::make_unique<BridgeServer>(
            bridgelink::socketPath(AppPaths(m_program).dataFolder()));
        connect(m_bridge.get(), &BridgeServer::messageReceived, this, [this](const QJsonObject& m) {
            if (m.value(QStringLiteral("type")).toString() == QLatin1String("result"))
                m_results.append(m);
        });
        m_assistant = std::make_unique<frmZumikey>(m_program, m_dialogs, m_clock, *m_windows);
        m_assistant->setBrowserBridge(m_bridge.get(), QDir::homePath());
        QVERIFY(QFileInfo::exists(
            m_home + QStringLiteral("/.config/chromium/NativeMessagingHosts/zumikey.bridge.json")));
        m_assistant->move(700, 10);
        m_assistant->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_assistant.get()));

        m_pages.setProcessChannelMode(QProcess::SeparateChannels);
        m_pages.start(QStringLiteral("python3"),
                      {QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("http.server"),
                       QStringLiteral("0"), QStringLiteral("--bind"), QStringLiteral("127.0.0.1"),
                       QStringLiteral("--directory"), QStringLiteral(PAGE_FOLDER)});
        QByteArray banner;
        while (!banner.contains(" port ") && m_pages.waitForReadyRead(10000))
            banner += m_pages.readAllStandardOutput();
        m_pagePort = banner.mid(banner.indexOf(" port ") + 6).split(' ').first().toInt();
        QVERIFY2(m_pagePort > 0, banner.constData());

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_home);
        const bool headless = session() == QLatin1String("wayland");
        if (!headless)
            env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        m_browser.setProcessEnvironment(env);
        m_browser.setProcessChannelMode(QProcess::MergedChannels);
        m_browser.setStandardOutputFile(m_dir.filePath(QStringLiteral("browser.log")));
        const QString firstPage = QStringLiteral("http://127.0.0.1:%1/form.html").arg(m_pagePort);
        QString portFile;
        if (firefox()) {
            // A profile of the test's own; port 0 lets Firefox choose and write it down.
            const QString profile = m_dir.filePath(QStringLiteral("firefox-profile"));
            QVERIFY(QDir().mkpath(profile));
            QFile prefs(profile + QStringLiteral("/user.js"));
            QVERIFY(prefs.open(QIODevice::WriteOnly));
            prefs.write("user_pref(\"marionette.port\", 0);\n"
                        "user_pref(\"browser.shell.checkDefaultBrowser\", false);\n"
                        "user_pref(\"datareporting.policy.dataSubmissionEnabled\", false);\n"
                        "user_pref(\"browser.startup.homepage_override.mstone\", \"ignore\");\n");
            prefs.close();
            QStringList args{QStringLiteral("--marionette"), QStringLiteral("--no-remote"),
                             QStringLiteral("--profile"), profile, firstPage};
            if (headless)
                args.prepend(QStringLiteral("--headless"));
            m_browser.start(program, args);
            portFile = profile + QStringLiteral("/MarionetteActivePort");
        } else {
            QStringList args{
                QStringLiteral("--no-sandbox"), QStringLiteral("--no-first-run"),
                QStringLiteral("--no-default-browser-check"),
                QStringLiteral("--password-store=basic"), QStringLiteral("--disable-gpu"),
                QStringLiteral("--remote-debugging-port=0"),
                // Where the assistant registered the host; headless would take a
                // profile of its own otherwise.
                QStringLiteral("--user-data-dir=") + m_home + QStringLiteral("/.config/chromium"),
                QStringLiteral("--load-extension=") + m_program +
                    QStringLiteral("/browser/chromium"),
                QStringLiteral("--window-size=680,700"), firstPage};
            args.prepend(headless ? QStringLiteral("--headless=new")
                                  : QStringLiteral("--ozone-platform=x11"));
            m_browser.start(program, args);
            portFile = m_home + QStringLiteral("/.config/chromium/DevToolsActivePort");
        }
        QVERIFY(m_browser.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(portFile).size() > 0, 60000);
        QFile ports(portFile);
        QVERIFY(ports.open(QIODevice::ReadOnly));
        m_debugPort = ports.readLine().trimmed().toInt();
        QVERIFY(m_debugPort > 0);
        if (firefox()) // a temporary add-on, as about:debugging loads it
            QVERIFY(drive(QStringLiteral("install"), m_program + QStringLiteral("/browser/firefox"))
                        .toBool());
        QTRY_VERIFY_WITH_TIMEOUT(m_bridge->browserConnected(), 30000);
        QVERIFY(openPage(QStringLiteral("form.html")));
        if (session() == QLatin1String("x11")) {
            // The browser is the window the user worked in last.
            QTRY_VERIFY_WITH_TIMEOUT(
                m_bridge->browserOwnsProcess(m_windows->windowProcess(m_assistant->targetWindow())),
                20000);
        }
    }

    void cleanupTestCase()
    {
        if (m_assistant)
            m_assistant->close();
        const QFile log(m_dir.filePath(QStringLiteral("browser.log")));
        if (QTest::currentTestFailed() && log.exists())
            qWarning() << "The browser's output is in" << log.fileName();
    }

    // Each button's text lands in the focused field with the events a page listens to; Tab
    // as the after-key moves on to the next field, also into a frame.
    void fieldButtonsFillTheFocusedField()
    {
        auto* after = m_assistant->findChild<QComboBox*>(QStringLiteral("cboKeyInputAfter"));
        auto* ruby = m_assistant->findChild<QComboBox*>(QStringLiteral("cboRuby"));
        after->setCurrentText(QStringLiteral("Tabキー"));
        ruby->setCurrentText(QStringLiteral("カタカナ"));
        const UserProfile profile = sampleProfile();
        const struct
        {
            const char* id;
            FieldRow row;
            int index;
        } steps[] = {
            {"name", FieldRow::UserName, 0},       {"sei", FieldRow::UserNameKana, 1},
            {"mei", FieldRow::UserNameKana, 2},    {"zip", FieldRow::UserZip, 0},
            {"address", FieldRow::UserAddress, 0}, {"mail", FieldRow::UserMail, 0},
            {"tel", FieldRow::UserTel1, 0},        {"job", FieldRow::UserJob, 0},
        };
        page(QStringLiteral("document.getElementById('name').focus()"));
        int filled = 0;
        for (const auto& step : steps) {
            const QString expected =
                fieldText(profile, step.row, step.index, true, m_clock.today());
            const QJsonObject answer = click(m_assistant->fieldButton(step.row, step.index));
            QVERIFY2(answer.value(QStringLiteral("ok")).toBool(),
                     qPrintable(QString::fromUtf8(QJsonDocument(answer).toJson())));
            const QString id = QString::fromLatin1(step.id);
            const QString value =
                page(
                    QStringLiteral("(e => e.value ?? e.textContent)(document.getElementById('%1'))")
                        .arg(id))
                    .toString();
            QCOMPARE(value, expected);
            QVERIFY(page(QStringLiteral("events['%1'].includes('input')").arg(id)).toBool());
            ++filled;
        }
        // The field inside a frame, with no key after it.
        after->setCurrentText(QStringLiteral("なし"));
        page(QStringLiteral("document.getElementById('frame').contentWindow.focus(), "
                            "document.getElementById('frame').contentDocument."
                            "getElementById('sex').focus()"));
        QVERIFY(click(m_assistant->fieldButton(FieldRow::UserSex, 0))
                    .value(QStringLiteral("ok"))
                    .toBool());
        QCOMPARE(page(QStringLiteral("document.getElementById('frame').contentDocument."
                                     "getElementById('sex').value"))
                     .toString(),
                 QStringLiteral("女性"));
        ++filled;
        QCOMPARE(page(QStringLiteral("JSON.stringify(events.mail)")).toString(),
                 QStringLiteral("[\"input\",\"change\"]"));
        qInfo("%s session, %s: %d of %d fields filled by the buttons", qPrintable(session()),
              qPrintable(browserName()), filled, int(std::size(steps)) + 1);
        // The text never went through the clipboard, and no box was shown.
        QCOMPARE(m_dialogs.clipboard, QString());
        QVERIFY(m_dialogs.shown.isEmpty());
    }

    // One click fills every field of the form it recognises, each in the form it asks for,
    // and leaves password, payment and hidden fields alone.
    void formFillFillsTheForm()
    {
        QVERIFY(openPage(QStringLiteral("fill.html")));
        page(QStringLiteral("document.querySelector('[name=sei]').focus()"));
        const QJsonObject answer =
            click(m_assistant->findChild<QPushButton*>(QStringLiteral("cmdFormFill")));
        QVERIFY2(answer.value(QStringLiteral("ok")).toBool(),
                 QJsonDocument(answer).toJson().constData());
        const QJsonObject values =
            page(QStringLiteral(
                     "Object.fromEntries([...document.forms.entry.elements].filter(e => e.name)"
                     ".map(e => [e.name, e.type === 'radio' ? (document.querySelector("
                     "'[name=gender]:checked') || {}).value || '' : e.value]))"))
                .toObject();
        const QList<std::pair<const char*, QString>> expected = {
            {"sei", QStringLiteral("髙橋")},
            {"mei", QStringLiteral("花子")},
            {"sei_kana", QStringLiteral("タカハシ")},
            {"mei_kana", QStringLiteral("ハナコ")},
            {"kana_full", QStringLiteral("たかはし　はなこ")},
            {"zip1", QStringLiteral("100")},
            {"zip2", QStringLiteral("0001")},
            {"pref", QStringLiteral("13")},
            {"city", QStringLiteral("千代田区")},
            {"addr1", QStringLiteral("千代田1-1")},
            {"addr2", QStringLiteral("ビル5F～①")},
            {"tel1", QStringLiteral("03")},
            {"tel2", QStringLiteral("1234")},
            {"tel3", QStringLiteral("5678")},
            {"mobile", QStringLiteral("090-1111-2222")},
            {"email", QStringLiteral("hanako@example.jp")},
            {"email_confirm", QStringLiteral("hanako@example.jp")},
            {"birth_year", QStringLiteral("1985")},
            {"birth_month", QStringLiteral("4")},
            {"birth_day", QStringLiteral("7")},
            {"age", QStringLiteral("41")},
            {"gender", QStringLiteral("female")},
            {"job", QStringLiteral("会社員")},
        };
        int filled = 0;
        for (const auto& [name, value] : expected) {
            const QString got = values.value(QLatin1String(name)).toString();
            if (got == value)
                ++filled;
            else
                qWarning("%s: %s, expected %s", name, qPrintable(got), qPrintable(value));
        }
        qInfo("%s session, %s: one click filled %d of %d fields", qPrintable(session()),
              qPrintable(browserName()), filled, int(expected.size()));
        QCOMPARE(filled, int(expected.size()));
        // Untouched: the password, the card, the hidden token; the opinion is not known.
        QCOMPARE(values.value(QStringLiteral("pw")).toString(), QString());
        QCOMPARE(values.value(QStringLiteral("card")).toString(), QString());
        QCOMPARE(values.value(QStringLiteral("token")).toString(), QStringLiteral("abc"));
        QCOMPARE(values.value(QStringLiteral("opinion")).toString(), QString());
        QCOMPARE(answer.value(QStringLiteral("filled")).toInt(), 23);
        QCOMPARE(answer.value(QStringLiteral("left")).toInt(), 1);
        QVERIFY(page(QStringLiteral("changed.has('pref') && changed.has('sei_kana')")).toBool());
        QVERIFY(page(QStringLiteral("!!document.getElementById('zumikey-summary')")).toBool());
        QVERIFY(page(QStringLiteral("location.pathname")) == QStringLiteral("/fill.html"));
        QVERIFY(m_dialogs.shown.isEmpty());
    }

    // The field rules, run in the browser on a field's description.
    void fieldRules_data()
    {
        QTest::addColumn<QString>("autocomplete");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("expected"); // key, "+kata" or "+hira" for kana
        const struct
        {
            const char* row;
            const char16_t* autocomplete;
            const char16_t* text;
            const char* type;
            const char* expected;
        } rows[] = {
            {"family-name token", u"family-name", u"", "text", "family"},
            {"section and given-name", u"shipping given-name", u"", "text", "given"},
            {"postal-code token", u"postal-code", u"", "text", "postal"},
            {"address-level1 token", u"address-level1", u"", "text", "pref"},
            {"tel-area-code token", u"tel-area-code", u"", "tel", "tel1"},
            {"mobile tel token", u"section-a mobile tel", u"", "tel", "mobile"},
            {"bday-month token", u"bday-month", u"", "select", "bdayMonth"},
            {"organization-title token", u"organization-title", u"", "text", "job"},
            {"card number token", u"cc-number", u"お名前", "text", "skip"},
            {"password field", u"", u"お名前", "password", "skip"},
            {"カード番号", u"", u"カード番号", "text", "skip"},
            {"フリガナ（セイ）", u"", u"フリガナ（セイ）", "text", "familyKana+kata"},
            {"ふりがな 名", u"", u"ふりがな 名", "text", "givenKana+hira"},
            {"住所（フリガナ）", u"", u"住所（フリガナ）", "text", "addressKana+kata"},
            {"お名前", u"", u"お名前", "text", "name"},
            {"氏名", u"", u"氏名", "text", "name"},
            {"〒", u"", u"〒", "text", "postal"},
            {"確認用メール", u"", u"確認用メールアドレス", "email", "email"},
            {"携帯", u"", u"携帯電話番号", "tel", "mobile"},
            {"TEL", u"", u"TEL", "tel", "tel"},
            {"生年月日 年", u"", u"生年月日 年", "select", "bdayYear"},
            {"生年月日 as a date", u"", u"生年月日", "date", "bdayDate"},
            {"年齢", u"", u"年齢", "number", "age"},
            {"性別", u"", u"性別", "radio", "sex"},
            {"ご職業", u"", u"ご職業", "select", "job"},
            {"建物名・マンション名", u"", u"建物名・マンション名", "text", "building"},
            {"市区町村", u"", u"市区町村", "text", "city"},
            {"会社名 is not a name", u"", u"会社名", "text", ""},
            {"ご意見 is unknown", u"", u"ご意見", "text", ""},
        };
        for (const auto& r : rows)
            QTest::newRow(r.row) << QString::fromUtf16(r.autocomplete) << QString::fromUtf16(r.text)
                                 << QString::fromLatin1(r.type) << QString::fromLatin1(r.expected);
    }

    void fieldRules()
    {
        QFETCH(QString, autocomplete);
        QFETCH(QString, text);
        QFETCH(QString, type);
        QFETCH(QString, expected);
        static const QString rules = [] {
            QFile file(QStringLiteral(FILL_SCRIPT));
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        }();
        QVERIFY(!rules.isEmpty());
        const QJsonObject d{{QStringLiteral("autocomplete"), autocomplete},
                            {QStringLiteral("text"), text},
                            {QStringLiteral("type"), type}};
        const QJsonValue got =
            page(rules +
                 QStringLiteral(";\n(c => c ? c.key + (c.katakana === undefined ? '' : "
                                "c.katakana ? '+kata' : '+hira') : '')(zumikeyFill.classify(%1))")
                     .arg(QString::fromUtf8(QJsonDocument(d).toJson(QJsonDocument::Compact))));
        QVERIFY(got.isString()); // the page answered
        QCOMPARE(got.toString(), expected);
    }

    // With the focus on no field the user is told so.
    void noFocusedFieldIsTold()
    {
        QVERIFY(openPage(QStringLiteral("form.html")));
        page(QStringLiteral("document.activeElement.blur(), document.body.focus()"));
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        const QJsonObject answer = click(m_assistant->fieldButton(FieldRow::UserName, 0));
        QCOMPARE(answer.value(QStringLiteral("error")).toString(), QStringLiteral("no-field"));
        QTRY_COMPARE(m_dialogs.shown.size(), 1);
        QVERIFY(m_dialogs.shown.first().box.text.startsWith(
            QStringLiteral("ブラウザーで入力欄が選ばれていないため")));
        m_dialogs.clearShown();
    }
};

int main(int argc, char* argv[])
{
    VirtualDisplay* display = nullptr;
    Child compositor;
    QTemporaryDir runtime;
    qunsetenv("XDG_SESSION_TYPE");
    if (session() == QLatin1String("wayland")) {
        qunsetenv("DISPLAY");
        qunsetenv("WAYLAND_DISPLAY");
        const QString weston = QStandardPaths::findExecutable(QStringLiteral("weston"));
        if (!weston.isEmpty() && runtime.isValid()) {
            QFile::setPermissions(runtime.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
            compositor.setProcessChannelMode(QProcess::MergedChannels);
            compositor.setStandardOutputFile(runtime.filePath(QStringLiteral("weston.log")));
            compositor.start(weston, {QStringLiteral("--backend=headless-backend.so"),
                                      QStringLiteral("--socket=zumi-wayland"),
                                      QStringLiteral("--idle-time=0")});
            for (int i = 0;
                 i < 100 && !QFileInfo::exists(runtime.filePath(QStringLiteral("zumi-wayland")));
                 ++i)
                QThread::msleep(100);
            if (QFileInfo::exists(runtime.filePath(QStringLiteral("zumi-wayland")))) {
                qputenv("WAYLAND_DISPLAY", "zumi-wayland");
                qputenv("QT_QPA_PLATFORM", "wayland");
            }
        }
    } else {
        display = new VirtualDisplay;
        if (!display->display().isEmpty()) {
            qputenv("DISPLAY", display->display().toLocal8Bit());
            qputenv("QT_QPA_PLATFORM", "xcb");
            qunsetenv("WAYLAND_DISPLAY");
        }
    }
    int status = 0;
    {
        QApplication app(argc, argv);
        TestBrowserBridge test;
        status = QTest::qExec(&test, argc, argv);
    }
    delete display;
    return status;
}

#include "tst_browserbridge.moc"

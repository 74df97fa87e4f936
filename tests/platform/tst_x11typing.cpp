// End to end on a real X server: the assistant types a profile field into another
// program's text field.
#include "assistant/frmZumikey.h"
#include "core/AppPaths.h"
#include "core/Clock.h"
#include "platform/ForeignWindows.h"
#include "support/ScriptedDialogs.h"
#include "support/VirtualDisplay.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

VirtualDisplay* g_display = nullptr;

// The scripted seam, but with the real clipboard: the other program pastes from it.
class RealClipboardDialogs : public ScriptedDialogs
{
public:
    QString clipboardText() override { return QGuiApplication::clipboard()->text(); }
    void setClipboardText(const QString& text) override
    {
        QGuiApplication::clipboard()->setText(text);
    }
};

// The other program, reporting its fields' texts and focus line by line.
class Helper
{
public:
    bool start(const QString& display)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(TEXTFIELD_HELPER), QStringList());
        return m_process.waitForStarted(5000);
    }

    ~Helper() { stop(); }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished(3000);
    }

    // Collects what the helper printed so far; returns the last line starting with `prefix`.
    QString last(const QString& prefix)
    {
        m_output += QString::fromUtf8(m_process.readAllStandardOutput());
        const QStringList lines = m_output.split(u'\n', Qt::SkipEmptyParts);
        for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
            if (it->startsWith(prefix))
                return it->mid(prefix.size());
        }
        return QString();
    }

private:
    QProcess m_process;
    QString m_output;
};

bool runTool(const QString& program, const QStringList& arguments)
{
    QProcess tool;
    tool.start(program, arguments);
    return tool.waitForFinished(10000) && tool.exitCode() == 0;
}

} // namespace

class TestX11Typing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!g_display->found())
            QSKIP("Xvfb is not installed (Debian package xvfb); typing into another window is not "
                  "tested.");
        QVERIFY2(!g_display->display().isEmpty(), "Xvfb did not start");
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    }

    void nameButtonTypesIntoTheLastActiveWindow_data()
    {
        QTest::addColumn<bool>("withWindowManager");
        // Without a manager the focus is set directly; the second row must come last, since
        // a manager that ended leaves its properties behind.
        QTest::newRow("bare X server") << false;
        QTest::newRow("window manager") << true;
    }

    void nameButtonTypesIntoTheLastActiveWindow()
    {
        QFETCH(bool, withWindowManager);
        WindowManager manager;
        if (withWindowManager) {
            if (!manager.start())
                QSKIP("openbox is not installed (Debian package openbox); the window manager case "
                      "is not tested.");
            QTRY_VERIFY_WITH_TIMEOUT(WindowManager::running(), 10000);
        }
        QTemporaryDir dir;
        UserProfile profile;
        profile[ProfileKey::UserName1] = QStringLiteral("山田");
        profile[ProfileKey::UserName2] = QStringLiteral("花子");
        QCOMPARE(saveUserProfileFile(AppPaths(dir.path()).profilePath(), profile), QString());

        Helper helper;
        QVERIFY(helper.start(g_display->display()));
        QTRY_VERIFY_WITH_TIMEOUT(!helper.last(QStringLiteral("window ")).isEmpty(), 15000);
        const quint64 helperWindow = helper.last(QStringLiteral("window ")).toULongLong();
        QVERIFY(helperWindow != 0);

        RealClipboardDialogs dialogs;
        SystemClock clock;
        const std::unique_ptr<ForeignWindows> windows = createForeignWindows();
        QVERIFY(windows->available());
        frmZumikey assistant(dir.path(), dialogs, clock, *windows);
        assistant.move(10, 10);
        assistant.show();
        QVERIFY(QTest::qWaitForWindowExposed(&assistant));

        // The user works in the other program last.
        const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        if (!xdotool.isEmpty())
            QVERIFY(runTool(xdotool, {withWindowManager ? QStringLiteral("windowactivate")
                                                        : QStringLiteral("windowfocus"),
                                      QStringLiteral("--sync"), QString::number(helperWindow)}));
        else
            QVERIFY(windows->activate(helperWindow));
        QTRY_COMPARE(assistant.targetWindow(), helperWindow);
        QTRY_COMPARE(helper.last(QStringLiteral("focus ")), QStringLiteral("first"));

        // A real click on the name button, through the X server.
        const auto click = [&](QPushButton* button) {
            const QPoint at = button->mapToGlobal(button->rect().center());
            if (xdotool.isEmpty()) {
                button->click();
                return;
            }
            QVERIFY(runTool(xdotool, {QStringLiteral("mousemove"), QString::number(at.x()),
                                      QString::number(at.y()), QStringLiteral("click"),
                                      QStringLiteral("1")}));
        };
        click(assistant.fieldButton(FieldRow::UserName, 0));
        QTRY_COMPARE_WITH_TIMEOUT(helper.last(QStringLiteral("text first ")),
                                  QStringLiteral("山田　花子"), 10000);
        QCOMPARE(assistant.targetWindow(), helperWindow); // the click did not take the focus

        // With Tab as the after key the focus moves on to the next field.
        assistant.findChild<QComboBox*>(QStringLiteral("cboKeyInputAfter"))
            ->setCurrentText(QStringLiteral("Tabキー"));
        click(assistant.fieldButton(FieldRow::UserName, 1));
        QTRY_COMPARE_WITH_TIMEOUT(helper.last(QStringLiteral("text first ")),
                                  QStringLiteral("山田　花子山田"), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(helper.last(QStringLiteral("focus ")), QStringLiteral("second"),
                                  10000);
        QCOMPARE(dialogs.clipboardText(), QStringLiteral("山田"));

        // Once the target has gone, a click only fills the clipboard.
        helper.stop();
        QVERIFY(!windows->activate(helperWindow));
        click(assistant.fieldButton(FieldRow::UserName, 2));
        QTRY_COMPARE(dialogs.clipboardText(), QStringLiteral("花子"));
        QTest::qWait(200);
        QCOMPARE(assistant.targetWindow(), helperWindow);
        QVERIFY(dialogs.shown.isEmpty());
        assistant.close();
    }
};

int main(int argc, char* argv[])
{
    VirtualDisplay display;
    g_display = &display;
    if (!display.display().isEmpty()) {
        qputenv("DISPLAY", display.display().toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
        // An X server of our own: nothing of a Wayland session applies here.
        qunsetenv("WAYLAND_DISPLAY");
        qunsetenv("XDG_SESSION_TYPE");
    }
    QApplication app(argc, argv);
    TestX11Typing test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_x11typing.moc"

#include "core/RuntimeError.h"
#include "platform/DesktopOpener.h"
#include "platform/FolderDialog.h"
#include "platform/QtDialogs.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// A stand-in program: a shell script with the given body.
QString writeScript(const QTemporaryDir& dir, const QString& name, const QByteArray& body)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("#!/bin/sh\n" + body + "\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

} // namespace

class TestDesktopOpener : public QObject
{
    Q_OBJECT

private slots:
    void errorTexts_data();
    void errorTexts();
    void failures_data();
    void failures();
    void fragmentReachesTheBrowser();
    void folderPromptShownInFull();
    void runtimeErrorBox();
    void boxGoesWithItsWindow();
    void clipboardIsSecretAndRestored();
};

void TestDesktopOpener::errorTexts_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("text");
    const QString path = QStringLiteral("/home/u/懸賞/pic.bmp");
    const struct
    {
        int result;
        QString text;
    } rows[] = {
        {2, "File not found:" + path},
        {3, "Path not found:" + path},
        {5, "Access denied"},
        {8, "Out of memory"},
        {11, "Invalid EXE file or error in EXE image"},
        {26, "A sharing violation occurred"},
        {27, "Incomplete or invalid file association"},
        {28, "DDE Time out"},
        {29, "DDE transaction failed"},
        {30, "DDE busy"},
        {31, "No association for file extension"},
        {32, "DLL not found"},
        {0, "Unknown error"},
    };
    for (const auto& row : rows)
        QTest::addRow("%d", row.result) << row.result << row.text;
}

void TestDesktopOpener::errorTexts()
{
    QFETCH(int, result);
    QFETCH(QString, text);
    QCOMPARE(
        shellErrorText(static_cast<ShellResult>(result), QStringLiteral("/home/u/懸賞/pic.bmp")),
        text);
}

void TestDesktopOpener::failures_data()
{
    QTest::addColumn<QString>("target");        // "file", "missing", "nofolder" or an address
    QTest::addColumn<QByteArray>("opener");     // script body, or empty for no opener at all
    QTest::addColumn<QByteArray>("defaultApp"); // what the type query prints
    QTest::addColumn<ShellResult>("expected");

    QTest::newRow("opened") << "file" << QByteArray("exit 0") << QByteArray()
                            << ShellResult::Opened;
    QTest::newRow("still running is opened")
        << "file" << QByteArray("sleep 5") << QByteArray() << ShellResult::Opened;
    QTest::newRow("missing file, opener not asked")
        << "missing" << QByteArray("exit 0") << QByteArray() << ShellResult::FileNotFound;
    QTest::newRow("missing folder")
        << "nofolder" << QByteArray("exit 0") << QByteArray() << ShellResult::PathNotFound;
    QTest::newRow("opener: file gone")
        << "file" << QByteArray("exit 2") << QByteArray() << ShellResult::FileNotFound;
    QTest::newRow("no program for the type")
        << "file" << QByteArray("exit 3") << QByteArray() << ShellResult::NoAssociation;
    QTest::newRow("named program fails")
        << "file" << QByteArray("sleep 0.2; exit 4") << QByteArray("viewer.desktop")
        << ShellResult::IncompleteAssociation;
    QTest::newRow("no browser") << "https://www.example.jp/" << QByteArray("exit 3") << QByteArray()
                                << ShellResult::NoAssociation;
    QTest::newRow("no mail program named") << "mailto:a@example.com" << QByteArray("exit 4")
                                           << QByteArray() << ShellResult::NoAssociation;
    QTest::newRow("unreadable") << "file" << QByteArray("exit 5") << QByteArray()
                                << ShellResult::AccessDenied;
    QTest::newRow("opener misused")
        << "file" << QByteArray("exit 1") << QByteArray() << ShellResult::Unknown;
    QTest::newRow("no opener installed")
        << "file" << QByteArray() << QByteArray() << ShellResult::IncompleteAssociation;
}

void TestDesktopOpener::failures()
{
    QFETCH(QString, target);
    QFETCH(QByteArray, opener);
    QFETCH(QByteArray, defaultApp);
    QFETCH(ShellResult, expected);

    QTemporaryDir dir;
    const QString document = dir.filePath("list.html");
    QFile(document).open(QIODevice::WriteOnly);
    QString address = target;
    if (target == u"file")
        address = document;
    else if (target == u"missing")
        address = dir.filePath("gone.html");
    else if (target == u"nofolder")
        address = dir.filePath("gone/list.html");

    DesktopOpener::Tools tools;
    tools.opener =
        opener.isEmpty() ? dir.filePath("no-opener") : writeScript(dir, "opener", opener);
    tools.mimeQuery = writeScript(dir, "mime", "echo '" + defaultApp + "'");
    tools.graceMs = 500;
    QCOMPARE(DesktopOpener(tools).open(address), expected);
}

void TestDesktopOpener::fragmentReachesTheBrowser()
{
    // Openers pass local files on as bare paths; the section must survive that.
    QTemporaryDir dir;
    const QString page = dir.filePath("main.html");
    QFile(page).open(QIODevice::WriteOnly);
    const QString seen = dir.filePath("seen");
    DesktopOpener::Tools tools;
    tools.opener = writeScript(dir, "opener", "cat \"$1\" > '" + seen.toUtf8() + "'");
    DesktopOpener opener(tools);
    QCOMPARE(opener.open(QUrl::fromLocalFile(page).toString() + "#year"), ShellResult::Opened);
    QFile forwarded(seen);
    QVERIFY(forwarded.open(QIODevice::ReadOnly));
    QVERIFY(
        forwarded.readAll().contains("url=" + QUrl::fromLocalFile(page).toEncoded() + "#year\""));
}

void TestDesktopOpener::folderPromptShownInFull()
{
    const QString prompt =
        QStringLiteral("【yyyyMMdd_zumicho_backup】フォルダを指定して下さい。\r\n"
                       "※yyyyMMddの部分は、バックアップした年月日が割り当てられています。");
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        shown = dialog->findChild<QLabel*>("lblPrompt")->text();
        dialog->reject();
    });
    QCOMPARE(chooseFolder(nullptr, prompt, QDir::tempPath()), QString());
    QCOMPARE(shown, QString(prompt).replace("\r\n", "\n"));
}

void TestDesktopOpener::runtimeErrorBox()
{
    ScriptedDialogs dialogs;
    dialogs.queueAnswer(MessageAnswer::Ok);
    ShowRuntimeError(dialogs, {482, QStringLiteral("プリンタ エラーです。")});
    QCOMPARE(dialogs.shown.last().box.text,
             QStringLiteral("実行時エラー '482':\r\nプリンタ エラーです。"));
    QCOMPARE(dialogs.shown.last().box.caption, QStringLiteral("エラー"));
}

// A window deleted while its box is up takes the box with it; the box is not deleted twice,
// and the question gets the safe answer.
void TestDesktopOpener::boxGoesWithItsWindow()
{
    auto* window = new QWidget;
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    bool childOfWindow = false;
    QTimer::singleShot(0, [&] {
        const QWidget* box = QApplication::activeModalWidget();
        childOfWindow = qobject_cast<const QMessageBox*>(box) && box->parent() == window;
        delete window;
    });
    QtDialogs dialogs;
    QCOMPARE(dialogs.message({QStringLiteral("削除しますか？"), QStringLiteral("確認"),
                              MessageIcon::Question, MessageButtons::YesNo}),
             MessageAnswer::No);
    QVERIFY(childOfWindow);
}

// The assistant's text is marked secret for clipboard managers and gives way to what was
// there before, unless the user has copied something else meanwhile.
void TestDesktopOpener::clipboardIsSecretAndRestored()
{
    QClipboard* clipboard = QApplication::clipboard();
    QtDialogs dialogs;
    for (const bool copiedMeanwhile : {false, true}) {
        clipboard->setText(QStringLiteral("前にコピーした文"));
        dialogs.setClipboardText(QStringLiteral("山田"));
        QCOMPARE(clipboard->text(), QStringLiteral("山田"));
        QCOMPARE(clipboard->mimeData()->data(QStringLiteral("x-kde-passwordManagerHint")),
                 QByteArray("secret"));
        if (copiedMeanwhile)
            clipboard->setText(QStringLiteral("あとでコピーした文"));
        dialogs.restoreClipboard();
        QCOMPARE(clipboard->text(), copiedMeanwhile ? QStringLiteral("あとでコピーした文")
                                                    : QStringLiteral("前にコピーした文"));
        QVERIFY(!clipboard->mimeData()->hasFormat(QStringLiteral("x-kde-passwordManagerHint")));
    }
}

QTEST_MAIN(TestDesktopOpener)
#include "tst_desktopopener.moc"

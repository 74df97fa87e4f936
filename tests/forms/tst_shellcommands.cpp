#include "forms/frmDataSearch.h"
#include "support/MainWindowHarness.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QUrl>

namespace {

const QDate kDay(2026, 12, 7);

void writeManual(const TempProgramFolder& folder)
{
    QDir(folder.path()).mkpath("manual");
    for (const char* page : {"index.html", "main.html", "entry.html", "search.html"})
        QFile(folder.path() + "/manual/" + page).open(QIODevice::WriteOnly);
}

} // namespace

class TestShellCommands : public QObject
{
    Q_OBJECT

private slots:
    void helpOpensTheWindowsSection_data();
    void helpOpensTheWindowsSection();
    void failuresAreReported();
};

void TestShellCommands::helpOpensTheWindowsSection_data()
{
    QTest::addColumn<QString>("where"); // a tab of the main window, or a form
    QTest::addColumn<QString>("section");
    QTest::newRow("month") << "T_Month"
                           << "main.html#month";
    QTest::newRow("year") << "T_Year"
                          << "main.html#year";
    QTest::newRow("total") << "T_Total"
                           << "main.html#total";
    QTest::newRow("search tab") << "T_Search"
                                << "main.html#search";
    QTest::newRow("settings") << "T_Setting"
                              << "main.html#settings";
    QTest::newRow("about") << "T_About"
                           << "main.html#about";
    QTest::newRow("entry form") << "entry"
                                << "entry.html#form";
    QTest::newRow("search form") << "search"
                                 << "search.html#form";
}

void TestShellCommands::helpOpensTheWindowsSection()
{
    QFETCH(QString, where);
    QFETCH(QString, section);
    MainWindowHarness h(kDay);
    writeManual(h.folder);
    frmMain& w = h.start(true);
    QPushButton* help = nullptr;
    if (where == u"entry") {
        h.button("cmdNewInput")->click();
        help = h.form()->findChild<QPushButton*>("cmdHelp");
    } else if (where == u"search") {
        h.selectTab("T_Search");
        help = w.findChild<frmDataSearch*>("frmDataSearch")->findChild<QPushButton*>("cmdHelp");
    } else {
        h.selectTab(where.toLatin1().constData());
        help = h.button("cmdHelp");
    }
    help->click();
    const QString page = h.folder.path() + "/manual/" + section.section('#', 0, 0);
    QCOMPARE(h.dialogs.openedUrls,
             QStringList{QUrl::fromLocalFile(page).toString() + '#' + section.section('#', 1)});
    QVERIFY(h.dialogs.shown.isEmpty());

    // Without the manual the user is told where it belongs, and nothing is opened.
    QDir(h.folder.path() + "/manual").removeRecursively();
    h.dialogs.queueAnswer(MessageAnswer::Ok);
    help->click();
    QCOMPARE(h.dialogs.openedUrls.size(), 1);
    QCOMPARE(h.dialogs.shown.size(), 1);
    QCOMPARE(h.dialogs.shown[0].box.caption, QStringLiteral("ヘルプが見つかりません"));
    QCOMPARE(h.dialogs.shown[0].box.icon, MessageIcon::Critical);
}

void TestShellCommands::failuresAreReported()
{
    MainWindowHarness h(kDay);
    writeManual(h.folder);
    h.start(true);
    h.dialogs.openResult = ShellResult::NoAssociation;
    h.selectTab("T_About");
    for (const char* name : {"cmdZumiraHomepage", "cmdMyMail", "cmdHelp"}) {
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.button(name)->click();
    }
    QCOMPARE(h.dialogs.shown.size(), 3);
    for (const ScriptedDialogs::Shown& shown : h.dialogs.shown) {
        QCOMPARE(shown.box.text, QStringLiteral("No association for file extension"));
        QCOMPARE(shown.box.caption, QStringLiteral("zumicho"));
    }
    h.dialogs.clearShown();
    h.dialogs.openResult = ShellResult::FileNotFound;
    h.dialogs.queueAnswer(MessageAnswer::Ok);
    h.button("cmdHelp")->click();
    QCOMPARE(h.dialogs.shown[0].box.text,
             "File not found:" + h.folder.path() + "/manual/main.html");
}

QTEST_MAIN(TestShellCommands)
#include "tst_shellcommands.moc"

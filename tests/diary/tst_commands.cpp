#include "diary/Commands.h"

#include <QTest>

Q_DECLARE_METATYPE(CommandInputs)
Q_DECLARE_METATYPE(CommandState)

namespace {

CommandInputs on(Tab tab, bool picked, int selected, bool page = false, int shown = 3)
{
    CommandInputs in;
    in.tab = tab;
    in.picked = picked;
    in.selectedRows = selected;
    in.selectedHasPage = page;
    in.shownEntries = shown;
    return in;
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    // Columns: edit, home page, delete, delete all, save (and print), 記帳.
    void entryCommands_data()
    {
        QTest::addColumn<CommandInputs>("in");
        QTest::addColumn<QString>("expected");
        QTest::newRow("month, one picked row with a page")
            << on(Tab::Month, true, 1, true) << "EUDASx";
        QTest::newRow("month, one picked row without a page")
            << on(Tab::Month, true, 1) << "ExDASx";
        QTest::newRow("month, two picked rows") << on(Tab::Month, true, 2, true) << "xxDASx";
        QTest::newRow("month, selected but not picked since")
            << on(Tab::Month, false, 1, true) << "xxxASx";
        QTest::newRow("month, empty") << on(Tab::Month, false, 0, false, 0) << "xxxxxx";
        CommandInputs unreadable = on(Tab::Month, true, 1);
        unreadable.monthReadable = false;
        QTest::newRow("month that could not be read") << unreadable << "xxxxSx";
        QTest::newRow("search offers no delete all") << on(Tab::Search, true, 1) << "ExDxSx";
        CommandInputs year = on(Tab::Year, true, 0);
        year.focusMonthEntries = 2;
        QTest::newRow("year, picked month with entries") << year << "xxDASK";
        year.picked = false;
        QTest::newRow("year, month on show") << year << "xxxASK";
        year.expenseEnded = true;
        QTest::newRow("year, after a delete") << year << "xxxASx";
        year = on(Tab::Year, true, 0);
        year.focusMonthEntries = 0;
        QTest::newRow("year, picked month without entries") << year << "xxxASx";
        QTest::newRow("total, picked year") << on(Tab::Total, true, 0) << "xxDASx";
        QTest::newRow("settings") << on(Tab::Setting, true, 1) << "xxxxxx";
        CommandInputs running = on(Tab::Search, true, 1);
        running.searchRunning = true;
        QTest::newRow("search running") << running << "xxxxxx";
    }
    void entryCommands()
    {
        QFETCH(CommandInputs, in);
        QFETCH(QString, expected);
        const CommandState c = commandStateFor(in);
        const QString got = QString(c.hensyu ? u'E' : u'x') + (c.url ? u'U' : u'x') +
                            (c.del ? u'D' : u'x') + (c.allDelete ? u'A' : u'x') +
                            (c.save ? u'S' : u'x') + (c.unhappyMoneyIn ? u'K' : u'x');
        QCOMPARE(got, expected);
        QCOMPARE(c.print, c.save);
    }

    void navigationFollowsTheTab()
    {
        for (Tab tab : {Tab::Month, Tab::Year, Tab::Total, Tab::Search, Tab::Setting, Tab::About}) {
            const CommandState c = commandStateFor(on(tab, false, 0));
            QCOMPARE(c.newInput && c.input && c.monthSteps && c.datePicker, tab == Tab::Month);
            QCOMPARE(c.yearSteps, tab == Tab::Month || tab == Tab::Year);
            QCOMPARE(c.expenseFrame, tab == Tab::Year);
            QCOMPARE(c.settingFrame, tab == Tab::Setting);
            CommandInputs edited = on(tab, false, 0);
            edited.settingsEdited = true;
            QVERIFY(!c.setting);
            QCOMPARE(commandStateFor(edited).setting, tab == Tab::Setting);
        }
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"

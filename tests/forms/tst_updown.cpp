#include "forms/uscUpDown.h"
#include "support/ScriptedDialogs.h"

#include <QLineEdit>
#include <QTest>
#include <QToolButton>

class TestUpDown : public QObject
{
    Q_OBJECT

private slots:
    void rules_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("beeps");
        QTest::newRow("design text") << ""
                                     << "none"
                                     << ""
                                     << "10"
                                     << "10" << 0;
        QTest::newRow("typing 150 leaves 100") << "0"
                                               << "type"
                                               << "150"
                                               << "100"
                                               << "100" << 0;
        QTest::newRow("leading zeros kept, read without") << "0"
                                                          << "type"
                                                          << "007"
                                                          << "007"
                                                          << "7" << 0;
        QTest::newRow("letter beeps") << "25"
                                      << "type"
                                      << "a"
                                      << "25"
                                      << "25" << 1;
        QTest::newRow("signs and full-width digit beep") << "25"
                                                         << "type"
                                                         << "-+.１"
                                                         << "25"
                                                         << "25" << 4;
        QTest::newRow("cleared shows 10") << "25"
                                          << "clear"
                                          << ""
                                          << "10"
                                          << "10" << 0;
        QTest::newRow("pasted letters") << "25"
                                        << "paste"
                                        << "abc"
                                        << "10"
                                        << "10" << 0;
        QTest::newRow("pasted negative") << "25"
                                         << "paste"
                                         << "-3"
                                         << "10"
                                         << "10" << 0;
        QTest::newRow("pasted too big, cut to 3") << "25"
                                                  << "paste"
                                                  << "1234"
                                                  << "100"
                                                  << "100" << 0;
        // Only digits stay: a sign or a blank makes a text no number of this box.
        for (const char* pasted : {"+7", " 5", "5 ", "-0"})
            QTest::addRow("pasted \"%s\"", pasted) << "25"
                                                   << "paste" << pasted << "10"
                                                   << "10" << 0;
        QTest::newRow("pasted number") << "25"
                                       << "paste"
                                       << "42"
                                       << "42"
                                       << "42" << 0;
        QTest::newRow("written letters") << "25"
                                         << "set"
                                         << "abc"
                                         << "10"
                                         << "10" << 0;
        QTest::newRow("written leading zeros") << "25"
                                               << "set"
                                               << "007"
                                               << "7"
                                               << "7" << 0;
        QTest::newRow("written negative") << "25"
                                          << "set"
                                          << "-5"
                                          << "10"
                                          << "10" << 0;
        QTest::newRow("written above 100") << "25"
                                           << "set"
                                           << "150"
                                           << "100"
                                           << "100" << 0;
        QTest::newRow("written empty") << "25"
                                       << "set"
                                       << ""
                                       << "10"
                                       << "10" << 0;
        QTest::newRow("spin up") << "99"
                                 << "spin"
                                 << "up"
                                 << "100"
                                 << "100" << 0;
        QTest::newRow("spin up at 100") << "100"
                                        << "spin"
                                        << "up"
                                        << "100"
                                        << "100" << 0;
        QTest::newRow("spin down at 0") << "0"
                                        << "spin"
                                        << "down"
                                        << "0"
                                        << "0" << 0;
        QTest::newRow("spin from leading zeros") << "0"
                                                 << "type+spin"
                                                 << "007"
                                                 << "8"
                                                 << "8" << 0;
        QTest::newRow("Up key steps") << "41"
                                      << "key"
                                      << "up"
                                      << "42"
                                      << "42" << 0;
        QTest::newRow("Down key steps") << "41"
                                        << "key"
                                        << "down"
                                        << "40"
                                        << "40" << 0;
    }
    void rules()
    {
        QFETCH(QString, start);
        QFETCH(QString, action);
        QFETCH(QString, input);
        QFETCH(QString, shown);
        QFETCH(QString, value);
        QFETCH(int, beeps);
        ScriptedDialogs dialogs;
        uscUpDown control(dialogs);
        control.show();
        QLineEdit* box = control.findChild<QLineEdit*>("txtValue");
        if (!start.isEmpty())
            control.setValue(start);
        if (action.startsWith("type")) {
            box->selectAll();
            for (QChar c : input) {
                const auto key =
                    c.unicode() < 128 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
                QTest::sendKeyEvent(QTest::Click, box, key, QString(c), Qt::NoModifier);
            }
        }
        if (action == "clear") {
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Backspace);
        }
        if (action == "paste") {
            box->selectAll();
            box->insert(input); // what a paste does
        }
        if (action == "set")
            control.setValue(input);
        if (action == "spin")
            control.findChild<QToolButton*>(input == "down" ? "updValueDown" : "updValueUp")
                ->click();
        if (action == "type+spin")
            control.findChild<QToolButton*>("updValueUp")->click();
        if (action == "key")
            QTest::keyClick(box, input == "up" ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(box->text(), shown);
        QCOMPARE(control.Value(), value);
        QCOMPARE(dialogs.beeps, beeps);

        control.LSSetEnabled(false);
        QVERIFY(!box->isEnabled() && !control.findChild<QWidget*>("updValue")->isEnabled());
        control.LSSetEnabled(true);
        QVERIFY(box->isEnabled() && control.findChild<QWidget*>("updValue")->isEnabled());
    }

    // The spin parts show only arrows, so screen readers are given what they do.
    void spinPartsAreNamed()
    {
        ScriptedDialogs dialogs;
        uscUpDown control(dialogs);
        QCOMPARE(control.findChild<QToolButton*>("updValueUp")->accessibleName(), "増やす");
        QCOMPARE(control.findChild<QToolButton*>("updValueDown")->accessibleName(), "減らす");
    }
};

QTEST_MAIN(TestUpDown)
#include "tst_updown.moc"

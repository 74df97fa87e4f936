#include "platform/SystemInfo.h"

#include <QTest>

class TestSystemInfo : public QObject
{
    Q_OBJECT

private slots:
    void runAndCapture_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("output");
        QTest::newRow("standard output") << "echo ズミキー"
                                         << "ズミキー\n";
        QTest::newRow("NULs removed") << "printf \"a\\000b\""
                                      << "ab";
        QTest::newRow("standard error is not captured") << "sh -c \"echo out; echo err >&2\""
                                                        << "out\n";
        QTest::newRow("longer than one block")
            << "sh -c \"printf '%0200d' 7\"" << QString(199, u'0') + u'7';
        QTest::newRow("no such program") << "/nonexistent/program"
                                         << "";
        QTest::newRow("empty command") << ""
                                       << "";
    }

    void runAndCapture()
    {
        QFETCH(QString, command);
        QFETCH(QString, output);
        QCOMPARE(RunAndCapture(command), output);
    }

    void noWidthAdjustmentOffWindows() { QVERIFY(!GetWindowsVersion().has_value()); }
};

QTEST_GUILESS_MAIN(TestSystemInfo)
#include "tst_systeminfo.moc"

#include "core/Scramble.h"
#include "diary/Settings.h"
#include "support/TempProgramFolder.h"

#include <QFile>
#include <QTest>

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void defaultsWithoutAFile()
    {
        TempProgramFolder folder;
        bool existed = true;
        const Settings s = LoadSettings(folder.paths().settingsPath(), existed);
        QVERIFY(!existed);
        QVERIFY(!s.keyIsEndDay);
        QCOMPARE(s.dreamMoneyText, QStringLiteral("1000000"));
        QVERIFY(!s.startPassword);
        QVERIFY(s.startPasswordText.isEmpty());
        QVERIFY(!s.startZumira && !s.formState && !s.deleteKakunin);
        QVERIFY(s.noTyohuku && s.sortOn && s.allDeleteKakunin && s.autoSumOutput);
        QCOMPARE(s.width(WidthKey::Site), QStringLiteral("2250"));
        QCOMPARE(s.width(WidthKey::URL), QStringLiteral("0"));
        QCOMPARE(s.width(WidthKey::Msg), QStringLiteral("99999"));
        QVERIFY(!s.mainTop && !s.mainLeft);
    }

    void defaultFileIsWrittenByteExactAndScrambled()
    {
        TempProgramFolder folder;
        const QString path = folder.paths().settingsPath();
        QVERIFY(SaveSettings(path, Settings(), 1200, 2400).isEmpty());
        const QByteArray expected =
            "[Setting]\r\nFormatKey=1\r\nDreamMoney=1000000\r\nDreamMoneyFlag=0\r\n"
            "SizeNowDay=1100\r\nSizeID=750\r\nSizeSite=2250\r\nSizeURL=0\r\nSizeGenre=1500\r\n"
            "SizePresent=3000\r\nSizeKekka=900\r\nSizeHappyMoney=1050\r\nSizeNumber=1000\r\n"
            "SizeEndDay=1100\r\nSizeHappyDay=1100\r\nSizeOboKeishiki=1350\r\nSizeSenkoWay=1000\r\n"
            "SizeCycle=850\r\nSizeOboWay=1000\r\nSizeMsg=99999\r\nStartPassword=0\r\n"
            "StartPasswordInput=\r\nStartZumira=0\r\nFormState=0\r\nNoTyohuku=1\r\nSortOn=1\r\n"
            "DeleteKakunin=0\r\nAllDeleteKakunin=1\r\nAutoSumOutput=1\r\nSimekiriDays="
            "7\r\nSimekiriStart=1\r\n"
            "\r\n[Position]\r\n"
            "MainTop=1200\r\nMainLeft=2400\r\n";
        QCOMPARE(folder.plainFile(QStringLiteral("data/ini/zumicho.ini")), expected);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll() != expected);
    }

    void readRules_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("expected");
        QTest::newRow("empty NoTyohuku is on") << QByteArray("NoTyohuku=") << "noTyohuku" << true;
        QTest::newRow("NoTyohuku 0 is off") << QByteArray("NoTyohuku=0") << "noTyohuku" << false;
        QTest::newRow("empty DeleteKakunin is off")
            << QByteArray("DeleteKakunin=") << "deleteKakunin" << false;
        QTest::newRow("DeleteKakunin 2 is off")
            << QByteArray("DeleteKakunin=2") << "deleteKakunin" << false;
        QTest::newRow("FormatKey 2 is entry date")
            << QByteArray("FormatKey=2") << "keyIsEndDay" << false;
        QTest::newRow("FormatKey 0 is deadline")
            << QByteArray("FormatKey=0") << "keyIsEndDay" << true;
        QTest::newRow("SortOn 5 stays on") << QByteArray("SortOn=5") << "sortOn" << true;
        QTest::newRow("StartPassword yes is off")
            << QByteArray("StartPassword=yes") << "startPassword" << false;
        QTest::newRow("empty SimekiriStart is on")
            << QByteArray("SimekiriStart=") << "deadlineNotice" << true;
        QTest::newRow("SimekiriStart 0 is off")
            << QByteArray("SimekiriStart=0") << "deadlineNotice" << false;
        QTest::newRow("SimekiriDays 150 is 99")
            << QByteArray("SimekiriDays=150") << "days99" << true;
        QTest::newRow("SimekiriDays x is 7") << QByteArray("SimekiriDays=x") << "days7" << true;
    }
    void readRules()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, field);
        QFETCH(bool, expected);
        const Settings s = parseSettings("[Setting]\r\n" + line + "\r\n");
        const QHash<QString, bool> values{
            {"noTyohuku", s.noTyohuku},         {"deleteKakunin", s.deleteKakunin},
            {"keyIsEndDay", s.keyIsEndDay},     {"sortOn", s.sortOn},
            {"startPassword", s.startPassword}, {"deadlineNotice", s.deadlineNotice},
            {"days99", s.deadlineDays == 99},   {"days7", s.deadlineDays == 7}};
        QCOMPARE(values.value(field), expected);
    }

    void positionLeftOnlyWithTop()
    {
        Settings s = parseSettings("[Position]\r\nMainLeft=300\r\n");
        QVERIFY(!s.mainTop && !s.mainLeft);
        s = parseSettings("[Position]\r\nMainTop=150\r\nMainLeft=300\r\n");
        QCOMPARE(s.mainTop.value(), 150);
        QCOMPARE(s.mainLeft.value(), 300);
    }

    void newTargetRearmsTheFlag()
    {
        Settings s = parseSettings("[Setting]\r\nDreamMoney=500000\r\nDreamMoneyFlag=1\r\n");
        QVERIFY(s.dreamMoneyReached);
        QVERIFY(s.dreamMoneyFlagToWrite());
        s.dreamMoneyText = QStringLiteral("800000");
        QVERIFY(!s.dreamMoneyFlagToWrite());
        QByteArray plain;
        QVERIFY(formatSettings(s, 0, 0, plain));
        QVERIFY(plain.contains("DreamMoney=800000\r\nDreamMoneyFlag=0\r\n"));
    }

    void roundTripKeepsEveryValue()
    {
        TempProgramFolder folder;
        Settings s;
        s.keyIsEndDay = true;
        s.dreamMoneyText = QStringLiteral("2500000");
        s.width(WidthKey::Present) = QStringLiteral("4000");
        s.startPassword = true;
        s.startPasswordText = QStringLiteral("ひみつPass");
        s.formState = true;
        s.noTyohuku = false;
        s.autoSumOutput = false;
        QVERIFY(SaveSettings(folder.paths().settingsPath(), s, 10, 20).isEmpty());
        bool existed = false;
        const Settings r = LoadSettings(folder.paths().settingsPath(), existed);
        QVERIFY(existed);
        QVERIFY(r.keyIsEndDay);
        QCOMPARE(r.dreamMoneyValue, Currency::fromUnits(2500000));
        QCOMPARE(r.width(WidthKey::Present), QStringLiteral("4000"));
        QVERIFY(r.startPassword);
        QCOMPARE(r.startPasswordText, QStringLiteral("ひみつPass"));
        QVERIFY(r.formState && !r.noTyohuku && !r.autoSumOutput);
        QCOMPARE(r.mainTop.value(), 10);
        QCOMPARE(r.mainLeft.value(), 20);
    }

    void passwordOutsideCodePageIsRefused()
    {
        TempProgramFolder folder;
        Settings s;
        s.startPasswordText = QStringLiteral("pass😀");
        QVERIFY(!SaveSettings(folder.paths().settingsPath(), s, 0, 0).isEmpty());
        QVERIFY(!QFile::exists(folder.paths().settingsPath()));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"

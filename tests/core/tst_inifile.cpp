#include "core/IniFile.h"

#include <QTest>

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void readsLikeTheWindowsReader_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        const QByteArray file = "[Setting]\r\nFormatKey=0\r\n  DreamMoney  =  5000  \r\n"
                                "Quoted=\"  pass word \"\r\nSingle='x'\r\nHalf=\"open\r\n"
                                "Empty=\r\nEq=a=b\r\n\r\n[Position]\r\nMainTop=120\r\n";
        QTest::newRow("plain") << file << "Setting"
                               << "FormatKey"
                               << "0";
        QTest::newRow("section and key ignore case") << file << "setting"
                                                     << "formatkey"
                                                     << "0";
        QTest::newRow("blanks trimmed") << file << "Setting"
                                        << "DreamMoney"
                                        << "5000";
        QTest::newRow("one pair of quotes removed") << file << "Setting"
                                                    << "Quoted"
                                                    << "  pass word ";
        QTest::newRow("single quotes removed") << file << "Setting"
                                               << "Single"
                                               << "x";
        QTest::newRow("unbalanced quote kept") << file << "Setting"
                                               << "Half"
                                               << "\"open";
        QTest::newRow("empty value") << file << "Setting"
                                     << "Empty"
                                     << "";
        QTest::newRow("first equals sign splits") << file << "Setting"
                                                  << "Eq"
                                                  << "a=b";
        QTest::newRow("missing key") << file << "Setting"
                                     << "Nothing"
                                     << "";
        QTest::newRow("key of another section") << file << "Setting"
                                                << "MainTop"
                                                << "";
        QTest::newRow("missing section") << file << "Other"
                                         << "FormatKey"
                                         << "";
        const QByteArray odd("[Setting]\r\nBad=ab\x81\r\nNul=ab\0cd\r\nAfter=ok\r\n", 41);
        QTest::newRow("undecodable value reads as empty") << odd << "Setting"
                                                          << "Bad"
                                                          << "";
        QTest::newRow("value ends at a NUL") << odd << "Setting"
                                             << "Nul"
                                             << "ab";
        QTest::newRow("keys after bad bytes still read") << odd << "Setting"
                                                         << "After"
                                                         << "ok";
        QTest::newRow("empty file") << QByteArray() << "Setting"
                                    << "FormatKey"
                                    << "";
        QTest::newRow("LF only") << QByteArray("[A]\nk=v\n") << "A"
                                 << "k"
                                 << "v";
        QTest::newRow("code page 932 value")
            << QByteArray("[U]\r\nName=\x8e\x52\x93\x63\r\n") << "U"
            << "Name" << QStringLiteral("山田");
    }
    void readsLikeTheWindowsReader()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QCOMPARE(GetIniValue(section, key, text), expected);
    }

    void valueIsCutAt255Characters()
    {
        const QByteArray text = "[S]\r\nk=" + QByteArray(300, 'x') + "\r\n";
        QCOMPARE(GetIniValue(QStringLiteral("S"), QStringLiteral("k"), text).size(), 255);
    }

    void missingFileReadsEmpty()
    {
        QCOMPARE(GetIniValue(QStringLiteral("S"), QStringLiteral("k"),
                             QStringLiteral("/nonexistent/x.ini")),
                 QString());
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"

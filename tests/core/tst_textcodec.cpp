#include "core/Cp932.h"

#include <QTest>

class TestTextCodec : public QObject
{
    Q_OBJECT

private slots:
    void converterIsPresent() { QVERIFY(cp932::isAvailable()); }

    void windowsMappings()
    {
        QByteArray bytes;
        QVERIFY(cp932::encode(QStringLiteral("①～"), bytes));
        QCOMPARE(bytes, QByteArray("\x87\x40\x81\x60"));
    }

    void linuxVariantsAreFolded()
    {
        QByteArray folded;
        QByteArray windows;
        QVERIFY(cp932::encode(QStringLiteral("〜−‖—¢£¬¥"), folded));
        QVERIFY(cp932::encode(QStringLiteral("～－∥―￠￡￢￥"), windows));
        QCOMPARE(folded, windows);
    }

    void unencodableTextIsRefusedNotReplaced()
    {
        QByteArray bytes;
        QVERIFY(!cp932::encode(QStringLiteral("a😀b"), bytes));
        QCOMPARE(cp932::firstUnencodable(QStringLiteral("abc한d")), QChar(u'한'));
        QVERIFY(cp932::firstUnencodable(QStringLiteral("漢字かなカナ")).isNull());
    }

    void invalidBytesAreReported()
    {
        QString text;
        QVERIFY(cp932::decode(QByteArray("\x8e\x52\x93\x63"), text));
        QCOMPARE(text, QStringLiteral("山田"));
        QVERIFY(!cp932::decode(QByteArray("\x81"), text));
    }
};

QTEST_GUILESS_MAIN(TestTextCodec)
#include "tst_textcodec.moc"

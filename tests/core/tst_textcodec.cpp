#include "core/Cp932.h"

#include <QFile>
#include <QHash>
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

    // Every sequence Windows decodes reads as Windows reads it; single bytes write back as
    // they were, and a pair writes back as itself or as the pair Windows prefers for its
    // character (the duplicated NEC and IBM rows).
    void everyWindowsSequenceReadsAndWritesBack()
    {
        QFile table(QFINDTESTDATA("data/cp932-decode.txt"));
        QVERIFY(table.open(QIODevice::ReadOnly));
        QHash<char16_t, int> uses;
        QList<std::pair<QByteArray, char16_t>> rows;
        while (!table.atEnd()) {
            const QByteArray line = table.readLine().trimmed();
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            const QList<QByteArray> parts = line.split(' ');
            const auto unicode = static_cast<char16_t>(parts.at(1).toUInt(nullptr, 16));
            rows.append({QByteArray::fromHex(parts.at(0)), unicode});
            ++uses[unicode];
        }
        QCOMPARE(rows.size(), 9800);
        for (const auto& [bytes, unicode] : rows) {
            QString text;
            QVERIFY2(cp932::decode(bytes, text), bytes.toHex().constData());
            QCOMPARE(text, QString(QChar(unicode)));
            QByteArray back;
            QVERIFY2(cp932::encode(text, back), bytes.toHex().constData());
            if (bytes.size() == 1 || uses.value(unicode) == 1)
                QCOMPARE(back.toHex(), bytes.toHex());
            QString again;
            QVERIFY(cp932::decode(back, again));
            QCOMPARE(again, text);
        }
    }

    void singleBytesAmongText()
    {
        const QByteArray bytes("a\x1a\x1c\x7f\x80\xa0\xfd\xfe\xff\x8e\x52z");
        QString text;
        QVERIFY(cp932::decode(bytes, text));
        QCOMPARE(text,
                 QString::fromUtf16(u"a\u001a\u001c\u007f\u0080\uf8f0\uf8f1\uf8f2\uf8f3\u5c71z"));
        QByteArray back;
        QVERIFY(cp932::encode(text, back));
        QCOMPARE(back, bytes);
        // A lead byte owns the next byte even when that byte alone would be special.
        QVERIFY(!cp932::decode(QByteArray("\x81\x7f"), text));
    }

    void privateUseCharacterWithoutWindowsMappingIsRefused()
    {
        QByteArray bytes;
        QVERIFY(!cp932::encode(QString(QChar(0xF86F)), bytes));
        QCOMPARE(cp932::firstUnencodable(QStringLiteral("No") + QChar(0xF86F)), QChar(0xF86F));
    }
};

QTEST_GUILESS_MAIN(TestTextCodec)
#include "tst_textcodec.moc"

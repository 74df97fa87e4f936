#include "core/ClassicRandom.h"
#include "core/Scramble.h"
#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestScramble : public QObject
{
    Q_OBJECT

    static QByteArray sample(int length, char first = 'A')
    {
        QByteArray bytes(length, '\0');
        for (int i = 0; i < length; ++i)
            bytes[i] = static_cast<char>((i * 37 + 11) & 0xFF);
        if (length > 0)
            bytes[0] = first;
        return bytes;
    }

private slots:
    void generatorMatchesClassicSequence()
    {
        ClassicRandom random;
        QCOMPARE(random.reset(), 0.2240070104598999f);
        random.seed(0x22 * 3);
        QList<int> keys;
        for (int i = 0; i < 5; ++i)
            keys.append(static_cast<int>(random.next() * 256.0f) & 255);
        QCOMPARE(keys, (QList<int>{184, 61, 24, 53, 0}));
    }

    void blockKeysOfAFileStartingWithAQuote()
    {
        // Scrambling zeros exposes mask XOR key; the mask of position 0 is 0.
        QByteArray plain(1 + 1024 * 5, '\0');
        plain[0] = '"';
        const QByteArray scrambled = scrambleBytes(plain);
        QList<int> keys;
        for (int block = 0; block < 5; ++block)
            keys.append(static_cast<unsigned char>(scrambled.at(1 + block * 1024)));
        QCOMPARE(keys, (QList<int>{184, 61, 24, 53, 0}));
    }

    void roundTripKeepsLengthAndFirstByte_data()
    {
        QTest::addColumn<int>("length");
        for (int length : {1, 2, 1024, 1025, 1026, 2049, 2050, 10000})
            QTest::addRow("%d", length) << length;
    }
    void roundTripKeepsLengthAndFirstByte()
    {
        QFETCH(int, length);
        const QByteArray plain = sample(length);
        const QByteArray scrambled = scrambleBytes(plain);
        QCOMPARE(scrambled.size(), plain.size());
        QCOMPARE(scrambled.at(0), plain.at(0));
        if (length > 1)
            QVERIFY(scrambled != plain);
        QCOMPARE(scrambleBytes(scrambled), plain);
    }

    void blockMaskRestartsEveryBlock()
    {
        // With all-zero input each block shows its mask XOR one key; XOR of two positions
        // of one block is independent of the key, and the same in every block.
        QByteArray plain(1 + 1024 + 3, '\0');
        plain[0] = 'x';
        const QByteArray s = scrambleBytes(plain);
        for (int i = 1; i < 3; ++i) {
            const int inFirst =
                static_cast<unsigned char>(s.at(1)) ^ static_cast<unsigned char>(s.at(1 + i));
            const int inLast =
                static_cast<unsigned char>(s.at(1025)) ^ static_cast<unsigned char>(s.at(1025 + i));
            QCOMPARE(inFirst, (i * i + i) & 0xFF);
            QCOMPARE(inLast, (i * i + i) & 0xFF);
        }
    }

    // Every byte of a block, whatever its length, is the byte XOR (i * i + i) XOR the key.
    void blockMaskCoversEveryByte_data()
    {
        QTest::addColumn<int>("length");
        for (int length : {1, 7, 8, 9, 255, 256, 257, 1000, 1024})
            QTest::newRow(qPrintable(QString::number(length))) << length;
    }

    void blockMaskCoversEveryByte()
    {
        QFETCH(int, length);
        QByteArray block(length, Qt::Uninitialized);
        for (int i = 0; i < length; ++i)
            block[i] = char(i * 7 + 3);
        const unsigned char key = 0xA5;
        ScrambleBlock(block, key);
        for (int i = 0; i < length; ++i) {
            const int expected = ((i * 7 + 3) ^ (i * i + i) ^ key) & 0xFF;
            QCOMPARE(int(static_cast<unsigned char>(block.at(i))), expected);
        }
    }

    void firstByteDecidesTheKeys()
    {
        QByteArray a = sample(3000, 'Q');
        QByteArray b = a;
        b[2500] = 'z';
        const QByteArray sa = scrambleBytes(a);
        const QByteArray sb = scrambleBytes(b);
        QCOMPARE(sa.left(2500), sb.left(2500)); // same key sequence up to the change
        QByteArray c = a;
        c[0] = 'R';
        QVERIFY(scrambleBytes(c).mid(1) != sa.mid(1));
    }

    void scrambleFileReplacesLongerTarget()
    {
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        const QString source = dir.filePath(QStringLiteral("plain"));
        const QString target = dir.filePath(QStringLiteral("!"));
        QFile s(source);
        QVERIFY(s.open(QIODevice::WriteOnly));
        s.write(sample(1500));
        s.close();
        QFile t(target);
        QVERIFY(t.open(QIODevice::WriteOnly));
        t.write(QByteArray(5000, 'o'));
        t.close();
        QVERIFY(ScrambleFile(source, target, dialogs));
        QVERIFY(t.open(QIODevice::ReadOnly));
        QCOMPARE(t.readAll(), scrambleBytes(sample(1500)));
        QVERIFY(dialogs.shown.isEmpty());
    }

    void scrambleFileWithMissingOrEmptySource()
    {
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        const QString missing = dir.filePath(QStringLiteral("missing.log"));
        const QString target = dir.filePath(QStringLiteral("!"));
        dialogs.queueAnswer(MessageAnswer::Ok);
        QVERIFY(!ScrambleFile(missing, target, dialogs));
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].box.caption, QStringLiteral("ファイルが在りません"));
        QCOMPARE(dialogs.shown[0].box.text, missing);
        QCOMPARE(dialogs.shown[0].box.icon, MessageIcon::Exclamation);
        QVERIFY(!QFile::exists(target));

        const QString empty = dir.filePath(QStringLiteral("empty.log"));
        QFile e(empty);
        QVERIFY(e.open(QIODevice::WriteOnly));
        e.close();
        QVERIFY(!ScrambleFile(empty, target, dialogs));
        QVERIFY(!QFile::exists(target));
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(!FileExists(QString()));
    }
};

QTEST_GUILESS_MAIN(TestScramble)
#include "tst_scramble.moc"

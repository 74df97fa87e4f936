#include "core/FileCrypto.h"
#include "core/Scramble.h"

#include <QElapsedTimer>
#include <QTest>

namespace {

QByteArray monthText()
{
    QByteArray text;
    for (int i = 0; i < 400; ++i)
        text += "\"2026/07/01\",\"" + QByteArray::number(i) + "\",\"\x89\x9e\x95\xe5\"\r\n";
    return text;
}

} // namespace

class TestFileCrypto : public QObject
{
    Q_OBJECT

    std::unique_ptr<DiaryKey> m_key;
    KeyRecord m_record;

private slots:
    void initTestCase()
    {
        QElapsedTimer timer;
        timer.start();
        DiaryKey::Made made = DiaryKey::create(QStringLiteral("ひみつpw"));
        qInfo("one key derivation (Argon2id, %llu passes, %llu MiB): %lld ms", kKeyOperations,
              kKeyMemory >> 20, timer.elapsed());
        QVERIFY(made.key);
        m_key = std::move(made.key);
        m_record = made.record;
    }

    // The record keeps what checks the password, never the password or the key.
    void passwordIsCheckedByTheRecordAlone()
    {
        const KeyRecord again = KeyRecord::fromText(m_record.toText());
        QCOMPARE(again.toText(), m_record.toText());
        QVERIFY(!m_record.toText().contains(QStringLiteral("ひみつ")));
        const auto unlocked = DiaryKey::unlock(QStringLiteral("ひみつpw"), again);
        QVERIFY(unlocked);
        QVERIFY(std::equal(unlocked->bytes(), unlocked->bytes() + 32, m_key->bytes()));
        QVERIFY(!DiaryKey::unlock(QStringLiteral("ひみつPW"), again)); // letter case counts
        QVERIFY(!DiaryKey::unlock(QString(), again));
        for (const QString& text :
             {QString(), QStringLiteral("argon2id$3$x$AA==$AA=="), m_record.toText().chopped(4)})
            QVERIFY(!KeyRecord::fromText(text).isValid());
        // Another diary with the same password has another salt, and so another key.
        const DiaryKey::Made other = DiaryKey::create(QStringLiteral("ひみつpw"));
        QVERIFY(other.record.salt != m_record.salt);
        QVERIFY(!std::equal(other.key->bytes(), other.key->bytes() + 32, m_key->bytes()));
    }

    void roundTripOfEveryKind_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("settings") << QByteArray("[Setting]\r\nFormatKey=1\r\n");
        QTest::newRow("month") << monthText();
        QTest::newRow("all bytes") << [] {
            QByteArray all;
            for (int i = 0; i < 256 * 5; ++i)
                all += char(i);
            return all;
        }();
    }

    void roundTripOfEveryKind()
    {
        QFETCH(QByteArray, plain);
        const QByteArray stored = encryptBytes(plain, *m_key);
        QVERIFY(isEncryptedForm(stored));
        QVERIFY(plain.isEmpty() || !stored.contains(plain));
        QVERIFY(encryptBytes(plain, *m_key) != stored); // a fresh nonce every write
        const StoredRead read = decodeStoredBytes(stored, m_key.get());
        QCOMPARE(read.status, StoredRead::Status::Decrypted);
        QCOMPARE(read.plain, plain);
        QCOMPARE(decodeStoredBytes(stored, nullptr).status, StoredRead::Status::NeedsKey);
        // The scrambled form reads as before, key or none.
        const StoredRead scrambled = decodeStoredBytes(scrambleBytes(plain), m_key.get());
        QCOMPARE(scrambled.status, StoredRead::Status::Plain);
        QCOMPARE(scrambled.plain, plain);
    }

    // Changed anywhere, cut short anywhere, or read under another diary's key: damaged.
    void changedOrCutShortIsDamaged_data()
    {
        QTest::addColumn<int>("at"); // byte flipped, or length kept when negative
        QTest::newRow("version") << 8;
        QTest::newRow("nonce") << 20;
        QTest::newRow("text") << 100;
        QTest::newRow("tag") << -1000; // the last byte
        QTest::newRow("cut after the header") << -9;
        QTest::newRow("cut in the text") << -200;
        QTest::newRow("last byte missing") << -1001;
    }

    void changedOrCutShortIsDamaged()
    {
        QFETCH(int, at);
        QByteArray stored = encryptBytes(monthText(), *m_key);
        if (at == -1000)
            stored[stored.size() - 1] = char(stored.back() ^ 1);
        else if (at == -1001)
            stored.chop(1);
        else if (at < 0)
            stored.truncate(-at);
        else
            stored[at] = char(stored[at] ^ 0x40);
        const StoredRead read = decodeStoredBytes(stored, m_key.get());
        QCOMPARE(read.status, StoredRead::Status::Damaged);
        QVERIFY(read.plain.isEmpty());
    }

    void anotherKeyReadsNothing()
    {
        const DiaryKey::Made other = DiaryKey::create(QStringLiteral("ひみつpw"));
        const StoredRead read =
            decodeStoredBytes(encryptBytes(monthText(), *m_key), other.key.get());
        QCOMPARE(read.status, StoredRead::Status::Damaged);
        QVERIFY(read.plain.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestFileCrypto)
#include "tst_filecrypto.moc"

#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

// Encryption at rest: a key derived from the start password, and the stored form of a file
// under it. A stored file begins with a header of ours naming the format; a file without it
// is in the scrambled form, so a reader tells the two apart by the first bytes.

// What a key is derived with, and what checks a typed password without storing it.
struct KeyRecord
{
    QByteArray salt;        // random, one per diary
    quint64 operations = 0; // Argon2id passes
    quint64 memory = 0;     // Argon2id memory in bytes
    QByteArray check;       // tells the right password from a wrong one; no key in it
    bool isValid() const;

    // One line of text ("argon2id$ops$memory$salt$check", the last two in base 64), and back;
    // an invalid record for text that is no such line.
    QString toText() const;
    static KeyRecord fromText(const QString& text);
};

// The key of an encrypted diary. It lives in memory locked against swapping, and is wiped
// when dropped; it is never stored.
class DiaryKey
{
public:
    ~DiaryKey();
    DiaryKey(const DiaryKey&) = delete;
    DiaryKey& operator=(const DiaryKey&) = delete;

    // A new record for `password` (a fresh salt, the parameters in use) and its key.
    struct Made
    {
        KeyRecord record;
        std::unique_ptr<DiaryKey> key;
    };
    static Made create(const QString& password);

    // The key for `password` under `record`; null when the password is not the one the
    // record was made for (or the derivation failed for want of memory).
    static std::unique_ptr<DiaryKey> unlock(const QString& password, const KeyRecord& record);

    const unsigned char* bytes() const { return m_key; }

private:
    DiaryKey();
    unsigned char* m_key = nullptr;
};

// The derivation's parameters: one derivation takes a fraction of a second on a desktop.
inline constexpr quint64 kKeyOperations = 3;
inline constexpr quint64 kKeyMemory = 64ull * 1024 * 1024;

// True when `stored` begins with the name of the encrypted form (of any version: one this
// program does not know reads as damaged, never as scrambled text).
bool isEncryptedForm(const QByteArray& stored);

// The encrypted form of `plain`: the header, a fresh random nonce, the text and its tag.
QByteArray encryptBytes(const QByteArray& plain, const DiaryKey& key);

// The stored form of `plain`: encrypted under `key`, or scrambled when there is none. The one
// writer of every data file. A text moved in is scrambled in place.
QByteArray storedBytesOf(QByteArray plain, const DiaryKey* key);

struct StoredRead
{
    enum class Status {
        Plain, // in the scrambled form, unscrambled
        Decrypted,
        NeedsKey, // encrypted, and no key was given
        Damaged   // encrypted, but cut short or changed: fails authentication
    };
    Status status = Status::Plain;
    QByteArray plain; // empty unless Plain or Decrypted
    bool ok() const { return status == Status::Plain || status == Status::Decrypted; }
};

// Reads either stored form. A file that fails authentication is damaged: the caller keeps it
// as it is and never writes over it. Scrambled bytes moved in are unscrambled in place.
StoredRead decodeStoredBytes(QByteArray stored, const DiaryKey* key);

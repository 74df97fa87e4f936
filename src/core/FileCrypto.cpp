#include "core/FileCrypto.h"

#include "core/Scramble.h"

#include <QStringList>

#include <sodium.h>

namespace {

// A NUL first: no stored text file of ours begins with one, scrambled or plain (the transform
// keeps the first byte).
constexpr char kHeader[] = {'\0', 'Z', 'U', 'M', 'I', 'E', 'N', 'C', '\x01'};
constexpr qsizetype kHeaderSize = sizeof kHeader;
constexpr qsizetype kMagicSize = kHeaderSize - 1; // then the version of the format
constexpr qsizetype kNonceSize = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr qsizetype kTagSize = crypto_aead_xchacha20poly1305_ietf_ABYTES;
constexpr size_t kKeySize = crypto_aead_xchacha20poly1305_ietf_KEYBYTES;
constexpr size_t kCheckSize = 32;
constexpr size_t kSaltSize = crypto_pwhash_SALTBYTES;

bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

const unsigned char* data(const QByteArray& bytes)
{
    return reinterpret_cast<const unsigned char*>(bytes.constData());
}

// Derives the key and the check value together: the two halves of one Argon2id output, so
// the check tells nothing of the key. The output lives in guarded memory and is wiped.
bool derive(const QString& password, const KeyRecord& record, unsigned char* key, QByteArray* check)
{
    if (!sodiumReady() || record.salt.size() != qsizetype(kSaltSize))
        return false;
    QByteArray secret = password.toUtf8();
    auto* out = static_cast<unsigned char*>(sodium_malloc(kKeySize + kCheckSize));
    bool ok = out && crypto_pwhash(out, kKeySize + kCheckSize, secret.constData(),
                                   quint64(secret.size()), data(record.salt), record.operations,
                                   size_t(record.memory), crypto_pwhash_ALG_ARGON2ID13) == 0;
    sodium_memzero(secret.data(), size_t(secret.size()));
    if (ok) {
        std::copy(out, out + kKeySize, key);
        check->resize(qsizetype(kCheckSize));
        std::copy(out + kKeySize, out + kKeySize + kCheckSize,
                  reinterpret_cast<unsigned char*>(check->data()));
    }
    sodium_free(out);
    return ok;
}

} // namespace

bool KeyRecord::isValid() const
{
    return salt.size() == qsizetype(kSaltSize) && check.size() == qsizetype(kCheckSize) &&
           operations >= crypto_pwhash_OPSLIMIT_MIN && memory >= crypto_pwhash_MEMLIMIT_MIN;
}

QString KeyRecord::toText() const
{
    return QStringLiteral("argon2id$%1$%2$%3$%4")
        .arg(operations)
        .arg(memory)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(check.toBase64()));
}

KeyRecord KeyRecord::fromText(const QString& text)
{
    const QStringList parts = text.split(u'$');
    KeyRecord record;
    if (parts.size() != 5 || parts[0] != u"argon2id")
        return {};
    bool opsOk = false;
    bool memoryOk = false;
    record.operations = parts[1].toULongLong(&opsOk);
    record.memory = parts[2].toULongLong(&memoryOk);
    const auto decoded = [](const QString& part) {
        return QByteArray::fromBase64Encoding(part.toLatin1(),
                                              QByteArray::AbortOnBase64DecodingErrors);
    };
    const auto salt = decoded(parts[3]);
    const auto check = decoded(parts[4]);
    if (!opsOk || !memoryOk || !salt || !check)
        return {};
    record.salt = *salt;
    record.check = *check;
    return record.isValid() ? record : KeyRecord{};
}

DiaryKey::DiaryKey() : m_key(static_cast<unsigned char*>(sodium_malloc(kKeySize))) {}

DiaryKey::~DiaryKey()
{
    sodium_free(m_key); // wipes it first
}

DiaryKey::Made DiaryKey::create(const QString& password)
{
    Made made;
    if (!sodiumReady())
        return made;
    made.record.salt.resize(qsizetype(kSaltSize));
    randombytes_buf(made.record.salt.data(), kSaltSize);
    made.record.operations = kKeyOperations;
    made.record.memory = kKeyMemory;
    std::unique_ptr<DiaryKey> key(new DiaryKey);
    if (!key->m_key || !derive(password, made.record, key->m_key, &made.record.check))
        return {};
    made.key = std::move(key);
    return made;
}

std::unique_ptr<DiaryKey> DiaryKey::unlock(const QString& password, const KeyRecord& record)
{
    if (!record.isValid() || !sodiumReady())
        return nullptr;
    std::unique_ptr<DiaryKey> key(new DiaryKey);
    QByteArray check;
    if (!key->m_key || !derive(password, record, key->m_key, &check) ||
        sodium_memcmp(check.constData(), record.check.constData(), kCheckSize) != 0)
        return nullptr;
    return key;
}

bool isEncryptedForm(const QByteArray& stored)
{
    return stored.startsWith(QByteArrayView(kHeader, kMagicSize));
}

QByteArray encryptBytes(const QByteArray& plain, const DiaryKey& key)
{
    if (!sodiumReady())
        return {};
    QByteArray stored(kHeaderSize + kNonceSize + plain.size() + kTagSize, Qt::Uninitialized);
    auto* out = reinterpret_cast<unsigned char*>(stored.data());
    std::copy(kHeader, kHeader + kHeaderSize, stored.data());
    unsigned char* nonce = out + kHeaderSize;
    randombytes_buf(nonce, size_t(kNonceSize)); // fresh for every write
    unsigned long long written = 0;
    // The header is authenticated with the text, so a changed version byte is refused too.
    crypto_aead_xchacha20poly1305_ietf_encrypt(nonce + kNonceSize, &written, data(plain),
                                               quint64(plain.size()), out, quint64(kHeaderSize),
                                               nullptr, nonce, key.bytes());
    return stored;
}

QByteArray storedBytesOf(QByteArray plain, const DiaryKey* key)
{
    return key ? encryptBytes(plain, *key) : scrambleBytes(std::move(plain));
}

StoredRead decodeStoredBytes(QByteArray stored, const DiaryKey* key)
{
    StoredRead read;
    if (!isEncryptedForm(stored)) {
        read.plain = scrambleBytes(std::move(stored));
        return read;
    }
    if (!key) {
        read.status = StoredRead::Status::NeedsKey;
        return read;
    }
    read.status = StoredRead::Status::Damaged;
    const qsizetype textSize = stored.size() - kHeaderSize - kNonceSize - kTagSize;
    if (textSize < 0 || !sodiumReady())
        return read;
    QByteArray plain(textSize, Qt::Uninitialized);
    unsigned long long got = 0;
    const unsigned char* nonce = data(stored) + kHeaderSize;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(reinterpret_cast<unsigned char*>(plain.data()),
                                                   &got, nullptr, nonce + kNonceSize,
                                                   quint64(textSize + kTagSize), data(stored),
                                                   quint64(kHeaderSize), nonce, key->bytes()) != 0)
        return read;
    read.status = StoredRead::Status::Decrypted;
    read.plain = std::move(plain);
    return read;
}

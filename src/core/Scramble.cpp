#include "core/Scramble.h"

#include "core/AtomicFile.h"
#include "core/ClassicRandom.h"
#include "core/Dialogs.h"

#include <QFileInfo>

#include <array>
#include <cstring>

namespace {
constexpr qsizetype kBlockSize = 1024;

// The mask of byte i, (i * i + i) & 0xFF, repeats every 256 bytes: one table of it, read
// eight bytes at a time, so a month file is not unscrambled byte by byte.
constexpr int kMaskPeriod = 256;
const std::array<quint64, kMaskPeriod / 8> kMaskWords = [] {
    std::array<unsigned char, kMaskPeriod> masks{};
    for (unsigned i = 0; i < kMaskPeriod; ++i)
        masks[i] = static_cast<unsigned char>((i * i + i) & 0xFF);
    std::array<quint64, kMaskPeriod / 8> words{};
    std::memcpy(words.data(), masks.data(), masks.size());
    return words;
}();
} // namespace

void ScrambleBlock(char* block, qsizetype length, unsigned char key)
{
    const quint64 keys = quint64(key) * 0x0101010101010101ULL;
    qsizetype i = 0;
    for (; i + 8 <= length; i += 8) {
        quint64 word;
        std::memcpy(&word, block + i, 8);
        word ^= kMaskWords[size_t(i % kMaskPeriod) / 8] ^ keys;
        std::memcpy(block + i, &word, 8);
    }
    for (; i < length; ++i) {
        const auto mask = static_cast<unsigned char>((i * i + i) & 0xFF);
        block[i] = static_cast<char>(static_cast<unsigned char>(block[i]) ^ mask ^ key);
    }
}

void ScrambleBlock(QByteArray& block, unsigned char key)
{
    ScrambleBlock(block.data(), block.size(), key);
}

QByteArray scrambleBytes(QByteArray bytes)
{
    QByteArray out = std::move(bytes);
    if (out.isEmpty())
        return out;
    ClassicRandom random;
    random.reset();
    random.seed(static_cast<unsigned char>(out.at(0)) * 3);
    char* data = out.data();
    for (qsizetype pos = 1; pos < out.size(); pos += kBlockSize) {
        const auto key =
            static_cast<unsigned char>(static_cast<int>(random.next() * 256.0f) & 0xFF);
        ScrambleBlock(data + pos, std::min(kBlockSize, out.size() - pos), key);
    }
    return out;
}

bool FileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

bool ScrambleFile(const QString& source, const QString& target, Dialogs& dialogs)
{
    if (!FileExists(source)) {
        dialogs.message({source, QStringLiteral("ファイルが在りません"), MessageIcon::Exclamation,
                         MessageButtons::Ok});
        return false;
    }
    const ReadResult read = readWholeFile(source);
    if (!read.ok || read.bytes.isEmpty())
        return false;
    return writeFileAtomically(target, scrambleBytes(read.bytes)).isEmpty();
}

#include "ReadFloor.h"

#include "core/ClassicRandom.h"
#include "core/Scramble.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iconv.h>
#include <sodium.h>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace {

// The stored transform on a plain byte string, with the core's own block transform: the floor
// must not be slower at it than the diary.
void unscramble(std::string& bytes)
{
    if (bytes.empty())
        return;
    ClassicRandom random;
    random.reset();
    random.seed(static_cast<unsigned char>(bytes[0]) * 3);
    constexpr std::size_t kBlock = 1024;
    for (std::size_t pos = 1; pos < bytes.size(); pos += kBlock) {
        const auto key =
            static_cast<unsigned char>(static_cast<int>(random.next() * 256.0f) & 0xFF);
        const std::size_t end = std::min(bytes.size(), pos + kBlock);
        ScrambleBlock(bytes.data() + pos, qsizetype(end - pos), key);
    }
}

// The encrypted form: a header of nine bytes (also the associated data), the nonce, then the
// text with its tag. False when it does not authenticate.
bool decrypt(std::string& bytes, const unsigned char* key, std::string& plain)
{
    constexpr std::size_t kHeader = 9;
    constexpr std::size_t kNonce = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
    constexpr std::size_t kTag = crypto_aead_xchacha20poly1305_ietf_ABYTES;
    if (bytes.size() < kHeader + kNonce + kTag)
        return false;
    plain.resize(bytes.size() - kHeader - kNonce - kTag);
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    unsigned long long got = 0;
    return crypto_aead_xchacha20poly1305_ietf_decrypt(
               reinterpret_cast<unsigned char*>(plain.data()), &got, nullptr, in + kHeader + kNonce,
               bytes.size() - kHeader - kNonce, in, kHeader, in + kHeader, key) == 0;
}

class Decoder
{
public:
    Decoder() : m_cd(iconv_open("UTF-16LE", "CP932"))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv has no CP932");
    }
    ~Decoder() { iconv_close(m_cd); }
    std::u16string_view decode(std::string& in)
    {
        m_out.resize(in.size() * 2 + 2);
        char* src = in.data();
        std::size_t srcLeft = in.size();
        auto* dst = reinterpret_cast<char*>(m_out.data());
        std::size_t dstLeft = m_out.size() * sizeof(char16_t);
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
        return {m_out.data(), m_out.size() - dstLeft / sizeof(char16_t)};
    }

private:
    iconv_t m_cd;
    std::u16string m_out;
};

// Splits quoted, comma-separated records with CR LF ends into field views; a quoted field
// may hold line breaks.
void split(std::u16string_view text, FloorCount& count, std::vector<std::u16string_view>& fields)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (text.substr(0, 14) == u"StartPassword=") {
        i = text.find(u'\n');
        i = i == std::u16string_view::npos ? n : i + 1;
    }
    while (i < n) {
        fields.clear();
        while (i < n && text[i] == u'"') {
            const std::size_t start = ++i;
            while (i < n && !(text[i] == u'"' &&
                              (i + 1 == n || text[i + 1] == u',' || text[i + 1] == u'\r')))
                ++i;
            fields.emplace_back(text.substr(start, i - start));
            i += 2; // the closing quote and the comma or CR
            if (i <= n && text[i - 1] == u'\r') {
                ++i; // LF
                break;
            }
        }
        if (fields.empty())
            break;
        ++count.records;
        count.fields += static_cast<std::int64_t>(fields.size());
    }
}

} // namespace

FloorCount readDiaryFloor(const std::string& dataFolder, const unsigned char* key)
{
    namespace fs = std::filesystem;
    FloorCount count;
    Decoder decoder;
    std::string bytes;
    std::string plain;
    std::vector<std::u16string_view> fields;
    fields.reserve(17);
    std::vector<fs::path> files;
    for (const auto& year : fs::directory_iterator(dataFolder)) {
        const std::string name = year.path().filename().string();
        if (!year.is_directory() || name.size() != 4 || name == "0000" || name == "ini")
            continue;
        for (const auto& month : fs::directory_iterator(year.path())) {
            if (month.path().extension() == ".log")
                files.push_back(month.path());
        }
    }
    for (const auto& path : files) {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ++count.files;
        count.bytes += static_cast<std::int64_t>(bytes.size());
        if (!key) {
            unscramble(bytes);
            split(decoder.decode(bytes), count, fields);
        } else if (decrypt(bytes, key, plain)) {
            split(decoder.decode(plain), count, fields);
        }
    }
    return count;
}

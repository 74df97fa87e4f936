#include "core/Cp932.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>

#include <array>
#include <iterator>
#include <vector>

namespace cp932 {
namespace {
constexpr const char* kCodecName = "windows-31j";

// Single bytes the platform converter gets wrong: it swaps the control bytes 0x1A, 0x1C
// and 0x7F and refuses the bytes Windows maps into the private use area.
constexpr struct
{
    unsigned char byte;
    char16_t unicode;
} kSingleBytes[] = {
    {0x1A, 0x001A}, {0x1C, 0x001C}, {0x7F, 0x007F}, {0x80, 0x0080},
    {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3},
};

// The converter also writes U+F86F as "№", which Windows does not hold.
constexpr char16_t kRefused = 0xF86F;

int singleByteIndex(unsigned char byte)
{
    for (int i = 0; i < int(std::size(kSingleBytes)); ++i) {
        if (kSingleBytes[i].byte == byte)
            return i;
    }
    return -1;
}

char16_t foldChar(char16_t c)
{
    switch (c) {
    case 0x301C:
        return 0xFF5E; // WAVE DASH -> FULLWIDTH TILDE
    case 0x2212:
        return 0xFF0D; // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
    case 0x2016:
        return 0x2225; // DOUBLE VERTICAL LINE -> PARALLEL TO
    case 0x2014:
        return 0x2015; // EM DASH -> HORIZONTAL BAR
    case 0x00A2:
        return 0xFFE0; // CENT SIGN
    case 0x00A3:
        return 0xFFE1; // POUND SIGN
    case 0x00AC:
        return 0xFFE2; // NOT SIGN
    case 0x00A5:
        return 0xFFE5; // YEN SIGN
    default:
        return c;
    }
}

bool isLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Decodes through the platform converter, run by run between the single bytes it gets wrong.
bool decodeThroughConverter(const QByteArray& bytes, QString& out)
{
    out.clear();
    out.reserve(bytes.size());
    bool ok = true;
    qsizetype runStart = 0;
    const auto flushRun = [&](qsizetype end) {
        if (end <= runStart)
            return true;
        QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
        QString part = decoder.decode(QByteArrayView(bytes).sliced(runStart, end - runStart));
        // The converter may put SUB (U+001A) for a broken pair without an error; a real 0x1A
        // never reaches it.
        const bool clean = !decoder.hasError() && !part.contains(QChar(0x1A));
        out += part.replace(QChar(0x1A), QChar::ReplacementCharacter);
        return clean;
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        if (isLeadByte(byte)) {
            ++i; // the trail byte, whatever it is, belongs to the pair
            continue;
        }
        const int special = singleByteIndex(byte);
        if (special < 0)
            continue;
        ok = flushRun(i) && ok;
        out += QChar(kSingleBytes[special].unicode);
        runStart = i + 1;
    }
    return flushRun(bytes.size()) && ok;
}

// Per-character tables taken once from the converter (a call per run of text costs far
// more than the text itself). Text the tables do not cover goes through the converter, so
// both paths give the same characters and the same verdicts.
constexpr char16_t kNoCharacter = 0xFFFF; // never a character of code page 932
constexpr quint16 kNoBytes = 0xFFFF;      // never a byte sequence of code page 932

struct Tables
{
    std::array<char16_t, 256> single{}; // bytes that are not lead bytes
    std::vector<char16_t> pairs;        // indexed by lead << 8 | trail
    std::vector<quint16> bytes;         // indexed by UTF-16 unit, folded in: a single
                                        // byte as is, a pair as lead << 8 | trail
};

// Decodes `lead` followed by each trail byte, all in one converter call with a line feed
// between pairs (never part of a pair); falls back to one call per pair if the parts do not
// line up.
void readPairsOf(unsigned char lead, Tables& t)
{
    QByteArray bytes;
    for (int trail = 0x40; trail <= 0xFC; ++trail)
        bytes.append(char(lead)).append(char(trail)).append('\n');
    QString text;
    decodeThroughConverter(bytes, text);
    const QStringList parts = text.split(u'\n');
    const bool lined = parts.size() == 0xFC - 0x40 + 2;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
        QString one;
        if (lined) {
            one = parts.at(trail - 0x40);
        } else if (!decodeThroughConverter(QByteArray{char(lead), char(trail)}, one)) {
            continue;
        }
        if (one.size() == 1 && one.at(0) != QChar::ReplacementCharacter && one.at(0) != u'\x1a')
            t.pairs[lead << 8 | trail] = one.at(0).unicode();
    }
}

// Encodes 256 units in one call, each followed by a line feed; an unencodable unit comes
// out as a zero byte, which no other unit of these ever encodes to.
void writeBlock(int first, Tables& t)
{
    // NUL and the line feed are set by the caller; surrogates alone are never encodable.
    const auto asked = [](int u) {
        return u != 0 && u != '\n' && !QChar::isSurrogate(char32_t(u));
    };
    QString text;
    for (int u = first; u < first + 256; ++u) {
        if (!asked(u))
            continue;
        text.append(QChar(char16_t(u))).append(u'\n');
    }
    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless |
                                           QStringConverter::Flag::ConvertInvalidToNull);
    const QByteArray bytes = encoder.encode(text);
    const QList<QByteArray> parts = bytes.split('\n');
    qsizetype part = 0;
    for (int u = first; u < first + 256; ++u) {
        if (!asked(u))
            continue;
        const QByteArray one = parts.value(part++);
        if (one.size() == 1 && one.at(0) != 0)
            t.bytes[u] = quint8(one.at(0));
        else if (one.size() == 2 && one.at(0) != 0 && one.at(1) != 0)
            t.bytes[u] = quint16(quint8(one.at(0)) << 8 | quint8(one.at(1)));
    }
}

Tables buildTables()
{
    Tables t;
    t.single.fill(kNoCharacter);
    t.pairs.assign(0x10000, kNoCharacter);
    t.bytes.assign(0x10000, kNoBytes);
    for (int byte = 0; byte < 256; ++byte) {
        QString one;
        if (isLeadByte(byte))
            readPairsOf(byte, t);
        else if (decodeThroughConverter(QByteArray(1, char(byte)), one) && one.size() == 1)
            t.single[byte] = one.at(0).unicode();
    }
    for (int first = 0; first < 0x10000; first += 256)
        writeBlock(first, t);
    t.bytes[0] = 0x00;
    t.bytes['\n'] = '\n';
    for (const auto& special : kSingleBytes)
        t.bytes[special.unicode] = special.byte;
    t.bytes[kRefused] = kNoBytes;
    // Each unit takes the bytes of what it folds to, so the encoders look up once per unit.
    // Folding twice changes nothing, so a folded unit finds its own bytes either way.
    for (int u = 0; u < 0x10000; ++u)
        t.bytes[u] = t.bytes[foldChar(char16_t(u))];
    return t;
}

const Tables& tables()
{
    static const Tables t = buildTables();
    return t;
}

} // namespace

bool isAvailable()
{
    return QStringEncoder(kCodecName).isValid() && QStringDecoder(kCodecName).isValid();
}

QString fold(const QString& text)
{
    QString result = text;
    for (QChar& c : result)
        c = QChar(foldChar(c.unicode()));
    return result;
}

QChar firstUnencodable(const QString& text)
{
    const Tables& t = tables();
    for (const QChar c : text) {
        if (t.bytes[c.unicode()] == kNoBytes)
            return QChar(foldChar(c.unicode()));
    }
    return QChar();
}

bool encode(const QString& text, QByteArray& out)
{
    out.clear();
    return appendEncoded(text, out);
}

bool appendEncoded(QStringView text, QByteArray& out)
{
    const qsizetype start = out.size();
    out.resize(start + text.size() * 2);
    char* to = out.data() + start;
    if (!encodeInto(text, to))
        return false;
    out.truncate(to - out.constData());
    return true;
}

namespace {

template <bool refuseQuoteMark> bool encodeUnits(QStringView text, char*& to)
{
    const quint16* bytesOf = tables().bytes.data();
    char* out = to;
    for (const QChar c : text) {
        const quint16 bytes = bytesOf[c.unicode()];
        if (bytes > 0xFF) {
            if (bytes == kNoBytes)
                return false;
            *out++ = char(bytes >> 8);
        } else if (refuseQuoteMark && bytes == '"') {
            return false;
        }
        *out++ = char(bytes & 0xFF);
    }
    to = out;
    return true;
}

} // namespace

bool encodeInto(QStringView text, char*& to)
{
    return encodeUnits<false>(text, to);
}

bool encodeFieldInto(QStringView text, char*& to)
{
    return encodeUnits<true>(text, to);
}

bool decode(const QByteArray& bytes, QString& out)
{
    const Tables& t = tables();
    out.resize(bytes.size());
    QChar* to = out.data();
    const auto* from = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* end = from + bytes.size();
    while (from < end) {
        char16_t c;
        if (isLeadByte(*from)) {
            c = from + 1 < end ? t.pairs[*from << 8 | from[1]] : kNoCharacter;
            from += 2;
        } else {
            c = t.single[*from++];
        }
        if (c == kNoCharacter) // not code page 932: the converter says how it reads
            return decodeThroughConverter(bytes, out);
        *to++ = QChar(c);
    }
    out.truncate(to - out.constData());
    return true;
}

} // namespace cp932

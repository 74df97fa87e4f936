#include "core/Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <iterator>

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

int unicodeIndex(char16_t unicode)
{
    for (int i = 0; i < int(std::size(kSingleBytes)); ++i) {
        if (kSingleBytes[i].unicode == unicode)
            return i;
    }
    return -1;
}

bool isLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool encodeFolded(const QString& folded, QByteArray& out)
{
    out.clear();
    out.reserve(folded.size() * 2);
    qsizetype runStart = 0;
    const auto flushRun = [&](qsizetype end) {
        if (end <= runStart)
            return true;
        QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
        out += encoder.encode(QStringView(folded).sliced(runStart, end - runStart));
        return !encoder.hasError();
    };
    for (qsizetype i = 0; i < folded.size(); ++i) {
        const char16_t c = folded.at(i).unicode();
        if (c == kRefused)
            return false;
        const int special = unicodeIndex(c);
        if (special < 0)
            continue;
        if (!flushRun(i))
            return false;
        out += char(kSingleBytes[special].byte);
        runStart = i + 1;
    }
    return flushRun(folded.size());
}

} // namespace

bool isAvailable()
{
    return QStringEncoder(kCodecName).isValid() && QStringDecoder(kCodecName).isValid();
}

QString fold(const QString& text)
{
    QString result = text;
    for (QChar& c : result) {
        switch (c.unicode()) {
        case 0x301C:
            c = QChar(0xFF5E);
            break; // WAVE DASH -> FULLWIDTH TILDE
        case 0x2212:
            c = QChar(0xFF0D);
            break; // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
        case 0x2016:
            c = QChar(0x2225);
            break; // DOUBLE VERTICAL LINE -> PARALLEL TO
        case 0x2014:
            c = QChar(0x2015);
            break; // EM DASH -> HORIZONTAL BAR
        case 0x00A2:
            c = QChar(0xFFE0);
            break; // CENT SIGN
        case 0x00A3:
            c = QChar(0xFFE1);
            break; // POUND SIGN
        case 0x00AC:
            c = QChar(0xFFE2);
            break; // NOT SIGN
        case 0x00A5:
            c = QChar(0xFFE5);
            break; // YEN SIGN
        default:
            break;
        }
    }
    return result;
}

QChar firstUnencodable(const QString& text)
{
    const QString folded = fold(text);
    QByteArray bytes;
    if (encodeFolded(folded, bytes))
        return QChar();
    // Slow path only on failure: find the offending character for the message.
    for (qsizetype i = 0; i < folded.size(); ++i) {
        const qsizetype len = folded.at(i).isHighSurrogate() && i + 1 < folded.size() ? 2 : 1;
        if (!encodeFolded(folded.mid(i, len), bytes))
            return folded.at(i);
        i += len - 1;
    }
    return QChar(0xFFFD);
}

bool encode(const QString& text, QByteArray& out)
{
    return encodeFolded(fold(text), out);
}

bool decode(const QByteArray& bytes, QString& out)
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

} // namespace cp932

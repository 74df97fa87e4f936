#include "core/Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace cp932 {
namespace {
constexpr const char* kCodecName = "windows-31j";
}

bool isAvailable()
{
    return QStringEncoder(kCodecName).isValid() && QStringDecoder(kCodecName).isValid();
}

QString fold(const QString& text)
{
    QString result = text;
    for (QChar& c : result) {
        switch (c.unicode()) {
        case 0x301C: c = QChar(0xFF5E); break; // WAVE DASH -> FULLWIDTH TILDE
        case 0x2212: c = QChar(0xFF0D); break; // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
        case 0x2016: c = QChar(0x2225); break; // DOUBLE VERTICAL LINE -> PARALLEL TO
        case 0x2014: c = QChar(0x2015); break; // EM DASH -> HORIZONTAL BAR
        case 0x00A2: c = QChar(0xFFE0); break; // CENT SIGN
        case 0x00A3: c = QChar(0xFFE1); break; // POUND SIGN
        case 0x00AC: c = QChar(0xFFE2); break; // NOT SIGN
        case 0x00A5: c = QChar(0xFFE5); break; // YEN SIGN
        default: break;
        }
    }
    return result;
}

QChar firstUnencodable(const QString& text)
{
    const QString folded = fold(text);
    QByteArray bytes;
    if (encode(folded, bytes))
        return QChar();
    // Slow path only on failure: find the offending character for the message.
    for (qsizetype i = 0; i < folded.size(); ++i) {
        const qsizetype len = folded.at(i).isHighSurrogate() && i + 1 < folded.size() ? 2 : 1;
        QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
        const QByteArray one = encoder.encode(folded.mid(i, len));
        if (encoder.hasError())
            return folded.at(i);
        i += len - 1;
    }
    return QChar(0xFFFD);
}

bool encode(const QString& text, QByteArray& out)
{
    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    out = encoder.encode(fold(text));
    return !encoder.hasError();
}

bool decode(const QByteArray& bytes, QString& out)
{
    QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
    out = decoder.decode(bytes);
    return !decoder.hasError();
}

} // namespace cp932

#include "core/Currency.h"

#include <limits>

std::optional<Currency> Currency::parse(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (t[i] == u'-' || t[i] == u'+') {
        negative = t[i] == u'-';
        ++i;
    }
    constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / 10;
    std::int64_t whole = 0;
    int digits = 0;
    for (; i < t.size() && t[i].isDigit() && t[i].unicode() < 128; ++i, ++digits) {
        if (whole > kLimit / kScale)
            return std::nullopt;
        whole = whole * 10 + (t[i].unicode() - u'0');
    }
    std::int64_t fraction = 0;
    int fractionDigits = 0;
    if (i < t.size() && t[i] == u'.') {
        for (++i; i < t.size() && t[i].isDigit() && t[i].unicode() < 128; ++i, ++digits) {
            // Beyond four places the value is rounded half away from zero.
            if (fractionDigits < 4) {
                fraction = fraction * 10 + (t[i].unicode() - u'0');
                ++fractionDigits;
            } else if (fractionDigits == 4) {
                if (t[i].unicode() >= u'5')
                    fraction += 1;
                ++fractionDigits;
            }
        }
    }
    if (i != t.size() || digits == 0)
        return std::nullopt;
    for (int k = std::min(fractionDigits, 4); k < 4; ++k)
        fraction *= 10;
    const std::int64_t raw = whole * kScale + fraction;
    return Currency(negative ? -raw : raw);
}

Currency Currency::parseOrZero(const QString& text)
{
    return parse(text).value_or(Currency());
}

QString Currency::toText() const
{
    const bool negative = m_raw < 0;
    const std::uint64_t magnitude =
        negative ? static_cast<std::uint64_t>(-(m_raw + 1)) + 1 : static_cast<std::uint64_t>(m_raw);
    QString text = QString::number(magnitude / kScale);
    std::uint64_t fraction = magnitude % kScale;
    if (fraction != 0) {
        QString decimals = QString::number(fraction).rightJustified(4, u'0');
        while (decimals.endsWith(u'0'))
            decimals.chop(1);
        text += u'.' + decimals;
    }
    return negative ? u'-' + text : text;
}

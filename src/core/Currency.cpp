#include "core/Currency.h"

std::optional<Currency> Currency::parse(const QString& text, bool* outOfRange)
{
    if (outOfRange)
        *outOfRange = false;
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (t[i] == u'-' || t[i] == u'+') {
        negative = t[i] == u'-';
        ++i;
    }
    const auto isDigit = [&](qsizetype at) {
        return at < t.size() && t[at] >= u'0' && t[at] <= u'9';
    };
    // Digits are added with checks; an overflow is remembered, and reported only once the
    // text has proved to be a number.
    bool overflow = false;
    std::int64_t raw = 0;
    int digits = 0;
    const auto addDigit = [&](std::int64_t scale, int digit) {
        std::int64_t part = 0;
        overflow = overflow || __builtin_mul_overflow(std::int64_t(digit), scale, &part) ||
                   __builtin_add_overflow(raw, part, &raw);
    };
    for (; isDigit(i); ++i, ++digits) {
        overflow = overflow || __builtin_mul_overflow(raw, std::int64_t(10), &raw);
        addDigit(kScale, t[i].unicode() - u'0');
    }
    if (i < t.size() && t[i] == u'.') {
        std::int64_t place = kScale;
        int places = 0;
        for (++i; isDigit(i); ++i, ++digits) {
            const int digit = t[i].unicode() - u'0';
            if (++places <= 4)
                addDigit(place /= 10, digit);
            else if (places == 5 && digit >= 5) // beyond four places: half away from zero
                addDigit(1, 1);
        }
    }
    if (i != t.size() || digits == 0)
        return std::nullopt;
    if (overflow) {
        if (outOfRange)
            *outOfRange = true;
        return std::nullopt;
    }
    return Currency(negative ? -raw : raw);
}

Currency Currency::parseOrZero(const QString& text)
{
    return parse(text).value_or(Currency());
}

std::optional<Currency> Currency::checkedSum(Currency a, Currency b)
{
    std::int64_t raw = 0;
    if (__builtin_add_overflow(a.m_raw, b.m_raw, &raw))
        return std::nullopt;
    return Currency(raw);
}

std::optional<Currency> Currency::checkedDifference(Currency a, Currency b)
{
    std::int64_t raw = 0;
    if (__builtin_sub_overflow(a.m_raw, b.m_raw, &raw))
        return std::nullopt;
    return Currency(raw);
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

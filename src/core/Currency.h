#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// A currency value: a 64-bit count of ten-thousandths, like the Windows currency type.
// Amounts of yen are whole numbers; the four decimals keep sums exact anyway.
class Currency
{
public:
    constexpr Currency() = default;
    static constexpr Currency fromUnits(std::int64_t units) { return Currency(units * kScale); }
    static constexpr Currency fromRaw(std::int64_t raw) { return Currency(raw); }

    // Parses plain decimal text ("1200", "-300", "12.5"); blanks around it are ignored.
    // Grouping separators and anything else are refused, and so is a number beyond the
    // range of the type (`outOfRange` then tells it apart from text that is no number).
    static std::optional<Currency> parse(const QString& text, bool* outOfRange = nullptr);
    // Like parse, but text that is not a number counts as 0.
    static Currency parseOrZero(const QString& text);

    // The shortest decimal text: no grouping, no trailing zeros, no decimal point for
    // whole amounts ("1000000", "-12.5", "0").
    QString toText() const;

    std::int64_t raw() const { return m_raw; }
    bool isZero() const { return m_raw == 0; }

    // Sums that report an overflow instead of wrapping round.
    static std::optional<Currency> checkedSum(Currency a, Currency b);
    static std::optional<Currency> checkedDifference(Currency a, Currency b);

    // For values whose sums were checked when they were read (see checkedSum).
    friend constexpr Currency operator+(Currency a, Currency b)
    {
        return Currency(a.m_raw + b.m_raw);
    }
    friend constexpr Currency operator-(Currency a, Currency b)
    {
        return Currency(a.m_raw - b.m_raw);
    }
    Currency& operator+=(Currency other)
    {
        m_raw += other.m_raw;
        return *this;
    }
    Currency& operator-=(Currency other)
    {
        m_raw -= other.m_raw;
        return *this;
    }
    friend constexpr auto operator<=>(Currency, Currency) = default;

    static constexpr std::int64_t kScale = 10000;

private:
    constexpr explicit Currency(std::int64_t raw) : m_raw(raw) {}
    std::int64_t m_raw = 0;
};

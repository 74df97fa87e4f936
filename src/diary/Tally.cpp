#include "diary/Tally.h"

namespace {

const QString kWon = QStringLiteral("当選");
const QString kSmall = QStringLiteral("小物当選");
const QString kMedium = QStringLiteral("中物当選");
const QString kLarge = QStringLiteral("大物当選");

} // namespace

QString winRateText(std::int64_t wins, std::int64_t entries)
{
    if (wins < 1 || entries < 1)
        return QStringLiteral("0.00");
    // Hundredths of a percent, rounded half up on the exact fraction, so a rate such as
    // 1 ÷ 800 gives "0.13" whatever binary doubles would make of it.
    const std::int64_t numerator = wins * 10000;
    std::int64_t hundredths = numerator / entries;
    if ((numerator % entries) * 2 >= entries)
        ++hundredths;
    return QStringLiteral("%1.%2").arg(hundredths / 100).arg(hundredths % 100, 2, 10, QChar(u'0'));
}

QString Tally::winRateText() const
{
    return ::winRateText(wins, entries);
}

Tally& Tally::operator+=(const Tally& other)
{
    Tally sum;
    const std::optional<Currency> won = Currency::checkedSum(wonAmount, other.wonAmount);
    const std::optional<Currency> spent = Currency::checkedSum(expenses, other.expenses);
    const bool fits = !overflowed && !other.overflowed &&
                      !__builtin_add_overflow(wins, other.wins, &sum.wins) &&
                      !__builtin_add_overflow(entries, other.entries, &sum.entries) &&
                      !__builtin_add_overflow(small, other.small, &sum.small) &&
                      !__builtin_add_overflow(medium, other.medium, &sum.medium) &&
                      !__builtin_add_overflow(large, other.large, &sum.large) && won && spent &&
                      Currency::checkedDifference(*won, *spent);
    if (!fits) {
        overflowed = true;
        return *this;
    }
    sum.wonAmount = *won;
    sum.expenses = *spent;
    return *this = sum;
}

bool Tally::sound() const
{
    return !overflowed && wins >= 0 && entries >= 0 && small >= 0 && medium >= 0 && large >= 0 &&
           Currency::checkedDifference(wonAmount, expenses).has_value();
}

PrizeClass prizeClassOf(const QString& kekka)
{
    if (kekka == kSmall)
        return PrizeClass::Small;
    if (kekka == kMedium)
        return PrizeClass::Medium;
    if (kekka == kLarge)
        return PrizeClass::Large;
    return PrizeClass::None;
}

void countEntry(Tally& tally, const EntryRecord& entry)
{
    Tally one;
    one.entries = 1;
    if (entry[Kekka].contains(kWon)) {
        one.wins = 1;
        bool outOfRange = false;
        one.wonAmount = Currency::parse(entry[HappyMoney], &outOfRange).value_or(Currency());
        one.overflowed = outOfRange;
        switch (prizeClassOf(entry[Kekka])) {
        case PrizeClass::Small:
            one.small = 1;
            break;
        case PrizeClass::Medium:
            one.medium = 1;
            break;
        case PrizeClass::Large:
            one.large = 1;
            break;
        case PrizeClass::None:
            break;
        }
    }
    tally += one;
}

Rgb rgbOf(RowColour colour)
{
    switch (colour) {
    case RowColour::Plain:
        return {0, 0, 0};
    case RowColour::WinDay:
        return {191, 159, 63};
    case RowColour::Small:
        return {168, 0, 0};
    case RowColour::Medium:
        return {0, 168, 0};
    case RowColour::Large:
        return {0, 0, 168};
    }
    return {};
}

RowColour entryRowColour(const EntryRecord& entry, const QString& pickedDay)
{
    if (entry[Kekka].contains(kWon)) {
        switch (prizeClassOf(entry[Kekka])) {
        case PrizeClass::Small:
            return RowColour::Small;
        case PrizeClass::Medium:
            return RowColour::Medium;
        case PrizeClass::Large:
            return RowColour::Large;
        case PrizeClass::None:
            break;
        }
    }
    return entry[HappyDay] == pickedDay ? RowColour::WinDay : RowColour::Plain;
}

Tally tallyEntries(const QList<EntryRecord>& rows, Currency expenses)
{
    Tally tally;
    tally.expenses = expenses;
    for (const EntryRecord& row : rows)
        countEntry(tally, row);
    return tally;
}

PanelTexts panelTexts(const Tally& tally)
{
    return {QString::number(tally.wins), QString::number(tally.entries), tally.winRateText(),
            tally.wonAmount.toText(),    tally.expenses.toText(),        tally.balance().toText()};
}

PanelTexts emptyPanelTexts()
{
    const QString zero = QStringLiteral("0");
    return {zero, zero, QStringLiteral("0.00"), zero, zero, zero};
}

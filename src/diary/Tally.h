#pragma once

#include "core/Currency.h"
#include "diary/EntryRecord.h"

#include <QList>
#include <QString>
#include <cstdint>

// Statistics of a list of entries, a month, a year or all years: the figures that the
// panel "自動集計" and the summary files show.
struct Tally
{
    std::int32_t wins = 0;
    std::int32_t entries = 0;
    std::int32_t small = 0;
    std::int32_t medium = 0;
    std::int32_t large = 0;
    Currency wonAmount;
    Currency expenses;
    // Set when a sum or the balance would not fit; the figures then stay at the last sum
    // that did, and must not be shown or stored as totals.
    bool overflowed = false;

    Currency balance() const { return wonAmount - expenses; }
    QString winRateText() const;
    // Adds every figure of `other`, classes and amounts included, with checks.
    Tally& operator+=(const Tally& other);
    // No overflow, counts not negative, and the balance fits.
    bool sound() const;
    bool operator==(const Tally&) const = default;
};

// "0.00" without a win (or without entries), else wins ÷ entries × 100 as "##0.00".
// The rate is rounded exactly, half away from zero.
QString winRateText(std::int64_t wins, std::int64_t entries);

// Prize classes are recognised by the exact result text; any other result that
// contains "当選" is a win of no class.
enum class PrizeClass { None, Small, Medium, Large };
PrizeClass prizeClassOf(const QString& kekka);

// Adds one entry: a win when its result contains "当選", then its class and amount. An amount
// that is a number too large to hold sets `overflowed`.
void countEntry(Tally& tally, const EntryRecord& entry);

// A plain colour, so this code stays free of the GUI module.
struct Rgb
{
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

// The fore colour of an entry row in the month and search lists. It applies to every
// visible column of the row; the prize column (賞品名) is always bold.
enum class RowColour : std::uint8_t { Plain, WinDay, Small, Medium, Large };
Rgb rgbOf(RowColour colour);

// A class colour wins over the win-day colour; a classless win on the picked day keeps
// the win-day colour. `pickedDay` is the date picker's day as "yyyy/MM/dd".
RowColour entryRowColour(const EntryRecord& entry, const QString& pickedDay);

// The figures of a list of entries, with `expenses` carried in unchanged: the month's
// booked amount for the month list, 0 for the search list.
Tally tallyEntries(const QList<EntryRecord>& rows, Currency expenses = Currency());

// The texts of the six boxes of the panel, in the order 当選総数, 応募総数, 当選率,
// 当選総額, 支出総額, 収支総額.
struct PanelTexts
{
    QString happyCount;
    QString totalCount;
    QString percent;
    QString happyMoney;
    QString unhappyMoney;
    QString totalMoney;
};
PanelTexts panelTexts(const Tally& tally);
// What a tab switch shows before the tab's own figures arrive.
PanelTexts emptyPanelTexts();

#pragma once

#include "diary/Tally.h"

// The figures of a tally as the summary tests write them: entries, wins, won and spent yen.
inline Tally figures(int entries, int wins, qint64 won, qint64 spent)
{
    Tally t;
    t.entries = entries;
    t.wins = wins;
    t.wonAmount = Currency::fromUnits(won);
    t.expenses = Currency::fromUnits(spent);
    return t;
}

#pragma once

#include "store/EntryRecord.h"

#include <QList>

// Sorts entry rows by one column (0 = key date). The ID and amount columns compare as
// numbers; whole-number values lose their leading zeros, other texts stay as they are and
// sort after the numbers. Other columns compare as text without regard to case. Stable.
void sortEntriesByColumn(QList<EntryRecord>& rows, int column, bool descending);

// The list's sort toggle: the first click sorts descending, the next ascending, and so on.
class SortToggle
{
public:
    bool nextIsDescending()
    {
        m_descending = !m_descending;
        return m_descending;
    }

private:
    bool m_descending = false;
};

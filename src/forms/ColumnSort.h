#pragma once

#include "diary/KeySort.h"

// A list's column-click toggle: the first click sorts descending, the next ascending, and
// so on (the rows are sorted with sortByColumn).
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

#include "diary/Commands.h"

CommandState commandStateFor(const CommandInputs& in)
{
    CommandState c;
    if (in.searchRunning)
        return c;
    const bool entryTab = in.tab == Tab::Month || in.tab == Tab::Search;
    const bool listTab = entryTab || in.tab == Tab::Year || in.tab == Tab::Total;
    const bool writable = in.tab != Tab::Month || in.monthReadable;

    c.newInput = in.tab == Tab::Month;
    c.input = in.tab == Tab::Month;
    c.monthSteps = in.tab == Tab::Month;
    c.yearSteps = in.tab == Tab::Month || in.tab == Tab::Year;
    c.datePicker = in.tab == Tab::Month;
    c.expenseFrame = in.tab == Tab::Year;
    c.settingFrame = in.tab == Tab::Setting;
    c.setting = c.settingFrame && in.settingsEdited;

    if (entryTab && in.picked && writable) {
        c.del = in.selectedRows > 0;
        c.hensyu = in.selectedRows == 1;
        c.url = in.selectedRows == 1 && in.selectedHasPage;
    }
    if (in.tab == Tab::Year) {
        c.del = in.picked && in.focusMonthEntries > 0;
        c.unhappyMoneyIn = !in.expenseEnded && in.focusMonthEntries > 0;
    }
    if (in.tab == Tab::Total)
        c.del = in.picked;

    const bool shown = listTab && in.shownEntries != 0;
    c.allDelete = shown && in.tab != Tab::Search && writable;
    c.save = shown;
    c.print = c.save; // printing offers what saving offers
    return c;
}

// The entry form's finished edits: an entry updated in place, moved to another month or
// added, on the month or the search tab.
#include "forms/frmMain.h"

#include "core/Dialogs.h"
#include "diary/DuplicateCheck.h"
#include "diary/Expenses.h"
#include "diary/KeySort.h"
#include "diary/SummaryUnits.h"
#include "forms/EntryTableModel.h"
#include "forms/UnreadableDataFile.h"

#include <QDateEdit>

namespace {

const QString kDateFormat = QStringLiteral("yyyy/MM/dd");

// Entries equal but for leading zeros of the ID, which the key sort removes.
int rowAfterSort(const QList<EntryRecord>& rows, const EntryRecord& written)
{
    EntryRecord expected = written;
    if (const auto number = normalizedNumber(written[ID]))
        expected[ID] = *number;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows.at(i) == expected || rows.at(i) == written)
            return static_cast<int>(i);
    }
    return -1;
}

bool sameMonth(const QDate& a, const QDate& b)
{
    return a.year() == b.year() && a.month() == b.month();
}

} // namespace

int frmMain::entryCount() const
{
    return currentTab() == Tab::Search ? m_searchModel->rowCount() : m_month->rowCount();
}

EntryRecord frmMain::entryAt(int row) const
{
    return currentTab() == Tab::Search ? m_searchModel->entry(row) : m_month->entries().at(row);
}

void frmMain::entryFormClosed()
{
    m_state.selectedMonthRow.reset();
    m_state.selectedSearchRow.reset();
    updateCommands();
}

bool frmMain::monthWritable()
{
    if (m_month->readable())
        return true;
    SaveMonthFile(); // refuses, and tells the user why
    return false;
}

bool frmMain::commitMonth()
{
    SortMonthList();
    return SaveMonthFile();
}

EditOutcome frmMain::finishEdit(const EntryRecord& entry, int row)
{
    const bool onSearch = currentTab() == Tab::Search;
    int monthRow = onSearch ? -1 : row;
    if (onSearch && row >= 0 && row < m_searchModel->rowCount()) {
        // The month row the search row was copied from: all seventeen columns equal, in the
        // month its own key date names.
        const EntryRecord old = m_searchModel->entry(row);
        const QDate keyDay = QDate::fromString(old[KeyDate], kDateFormat);
        if (keyDay.isValid())
            showMonthOf(keyDay);
        else
            LoadMonthFile();
        monthRow = static_cast<int>(m_month->entries().indexOf(old));
    }

    EditOutcome outcome;
    if (monthRow >= 0) {
        const bool inPlace =
            m_state.settings.keyIsEndDay ||
            sameMonth(QDate::fromString(entry[KeyDate], kDateFormat), m_month->month());
        outcome = inPlace ? updateInPlace(entry, monthRow) : moveToOtherMonth(entry, monthRow);
    } else {
        outcome = appendEntry(entry);
    }
    if (onSearch && outcome.done && row >= 0) {
        // The search row shows the entry only once its month holds it.
        m_searchModel->replace(row, entry);
        RefreshTotals();
        // The form stays on its search row; after a move it shows that row afresh.
        const bool moved =
            outcome.next == EditOutcome::Next::Reshow || outcome.next == EditOutcome::Next::Close;
        outcome = {true, moved ? EditOutcome::Next::Reshow : EditOutcome::Next::Stay, row};
    }
    return outcome;
}

EditOutcome frmMain::updateInPlace(const EntryRecord& entry, int row)
{
    if (!monthWritable() || !m_month->replace(row, entry) || !commitMonth())
        return {};
    // The key sort may have moved the entry.
    const int sorted = rowAfterSort(m_month->entries(), entry);
    return {true, sorted >= 0 ? EditOutcome::Next::Follow : EditOutcome::Next::Stay, sorted};
}

EditOutcome frmMain::moveToOtherMonth(const EntryRecord& entry, int row)
{
    if (!monthWritable())
        return {};
    // Both months are save units until their total rows are written.
    const QDate target = QDate::fromString(entry[KeyDate], kDateFormat);
    const YearMonth other{target.toString(QStringLiteral("yyyy")), target.month()};
    for (const YearMonth& unit : {other, YearMonth{m_month->year(), m_month->month().month()}}) {
        if (const QString error = beginSummaryUnit(m_context.paths, unit); !error.isEmpty()) {
            m_context.dialogs.message({QStringLiteral("保存を始められませんでした。\r\n") + error,
                                       QStringLiteral("保存エラー"), MessageIcon::Critical,
                                       MessageButtons::Ok});
            return {};
        }
    }
    const bool sortOn = m_state.settings.sortOn;
    const ShownMonth::Move move =
        m_month->moveRow(row, entry, m_state.settings.passwordInForce(),
                         [sortOn](QList<EntryRecord>& rows) { ::SortMonthList(rows, sortOn); });
    if (move.otherUnreadable) {
        if (!move.other.path.isEmpty()) {
            reportUnreadableDataFile(m_context.dialogs, move.other.path, move.otherState);
            reportFailedSave(move.other); // and that the change is refused
        }
        return {};
    }
    if (reportFailedSave(move.other))
        return {};
    // The other month's summary row follows its new file.
    Tally otherTally = tallyEntries(move.otherEntries, Currency());
    otherTally.expenses = loadMonthExpense(
        m_context.paths, move.otherMonth.toString(QStringLiteral("yyyy")), move.otherMonth.month());
    if (UpdateYearSummary(move.otherMonth, otherTally))
        endSummaryUnit(m_context.paths, other);
    if (reportFailedSave(move.own)) {
        m_month->reload(m_state.settings.passwordInForce());
        afterMonthRead();
        return {};
    }
    afterRowsRemoved();
    if (m_month->rowCount() == 0)
        return {true, EditOutcome::Next::Close, -1};
    return {true, EditOutcome::Next::Reshow, std::min(row, m_month->rowCount() - 1)};
}

EditOutcome frmMain::appendEntry(const EntryRecord& entry)
{
    // Compared with the month on show, before the entry's own month is loaded.
    if (!mayRegisterEntry(m_month->entries(), entry, m_state.settings, m_context.dialogs))
        return {};
    const QDate keyDay = QDate::fromString(entry[KeyDate], kDateFormat);
    if (!sameMonth(keyDay, m_month->month())) {
        // The day on show stays where the new month has it (31 becomes 30 in June).
        const int day = std::min(dtpDate->date().day(), keyDay.daysInMonth());
        showMonthOf(QDate(keyDay.year(), keyDay.month(), day));
    }
    if (!monthWritable() || !m_month->append({entry}))
        return {};
    return {commitMonth(), EditOutcome::Next::Stay, -1};
}

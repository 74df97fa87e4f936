#pragma once

#include "diary/ShownMonth.h"
#include "forms/EntryFormHost.h"
#include "forms/EntryListPage.h"

#include <QPointer>

class frmDataInput;
class QFrame;
class QLabel;

// The month tab: the month on show and its list, registration by hand (the entry form's
// host, also for the search list), editing, deleting and the month's saves.
class MonthPage : public EntryListPage, public EntryFormHost
{
public:
    explicit MonthPage(MainParts& parts);

    void enter() override;
    std::optional<Tally> refreshTotals() override;
    void removePicked(bool picked) override;
    void removeAll() override;

    // The entry form's view of the main window.
    const AppContext& context() const override { return m_parts.context; }
    const Settings& settings() const override { return m_parts.state.settings; }
    int entryCount() const override;
    EntryRecord entryAt(int row) const override;
    QDate shownDate() const override { return m_parts.date(); }
    EditOutcome finishEdit(const EntryRecord& entry, int row) override;
    void entryFormClosed() override;
    void OpenSiteUrl(const QString& url, const QString& id) override;
    void OpenDocument(const QString& path) override;
    void showHelp(HelpTopic topic) override;
    QWidget* mainWidget() override;

    // The month on show; the month list mirrors it.
    ShownMonth& shownMonth() { return *m_month; }
    // Makes `day` the day on show and loads its month.
    void showMonthOf(const QDate& day);
    // Loads the month of the date picker's day. A file that cannot be read is told at once,
    // unless the caller lists it in its own box.
    void LoadMonthFile(bool reportUnreadable = true);
    // Writes the month on show to its own file. False (with a message to the user) when it
    // was not written; the list then shows again what the file holds.
    bool SaveMonthFile();
    // Sorts the month on show by key date and ID when that option is on, and saves it.
    bool commitMonth();
    // Appends `rows` to the month on show and saves it, in the key order when that is on.
    bool commitAppended(const QList<EntryRecord>& rows);
    // The figures of the month without its colours, while another tab is on show;
    // `expenses` is kept as booked unless given.
    void recount(std::optional<Currency> expenses = std::nullopt);
    // An expense booked on the year tab for `month`; the month on show takes it.
    void bookedExpense(const QDate& month, Currency expense);
    // Removes rows (0-based) of the month on show and saves or tidies the month.
    void removeMonthRows(QList<int> rows);
    void cmdNewInput_Click();
    // Opens the entry form on `row` of the list on show.
    void editEntry(int row);

protected:
    void showSorted(const QList<EntryRecord>& rows) override;
    void deleteKey() override;
    void listPicked(std::optional<int> row) override;

private:
    void connectShownMonth();
    void afterMonthRead(bool reportUnreadable = true);
    // Tells the user why a save failed; false when it did not fail.
    bool reportFailedSave(const MonthSave& save);
    // A refused change of a month that could not be read; says why.
    bool monthWritable();
    frmDataInput* entryForm();
    // The edits of the entry form: in place, to another month, or as a new entry.
    EditOutcome updateInPlace(const EntryRecord& entry, int row);
    EditOutcome moveToOtherMonth(const EntryRecord& entry, int row);
    EditOutcome appendEntry(const EntryRecord& entry);
    // After rows left the month on show and it was saved: the summaries, or the tidy-up of a
    // month that became empty.
    void afterRowsRemoved();
    void emptiedMonth();

    ShownMonth* m_month = nullptr;
    Tally m_monthTally;
    QPointer<frmDataInput> m_entryForm;
    QFrame* fraLabel = nullptr;
};

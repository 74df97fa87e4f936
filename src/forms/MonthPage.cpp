#include "forms/MonthPage.h"

#include "core/Dialogs.h"
#include "diary/DeleteData.h"
#include "diary/DuplicateCheck.h"
#include "diary/Expenses.h"
#include "diary/KeySort.h"
#include "diary/SummaryUnits.h"
#include "forms/BusyCursor.h"
#include "forms/EntryTableModel.h"
#include "forms/FormHelpers.h"
#include "forms/SearchPage.h"
#include "forms/SettingsPage.h"
#include "forms/TotalPage.h"
#include "forms/UnreadableDataFile.h"
#include "forms/YearPage.h"
#include "forms/frmDataInput.h"
#include "forms/frmMain.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

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

QList<int> allRows(int count)
{
    QList<int> rows;
    for (int row = 0; row < count; ++row)
        rows.append(row);
    return rows;
}

MessageBoxSpec saveError(const QString& text)
{
    return {text, QStringLiteral("保存エラー"), MessageIcon::Critical, MessageButtons::Ok};
}

} // namespace

MonthPage::MonthPage(MainParts& parts)
    : EntryListPage(parts, "lvwMonth", QStringLiteral("月間")),
      m_month(new ShownMonth(parts.context.paths, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view());
    fraLabel = named(new QFrame, "fraLabel");
    auto* legend = new QHBoxLayout(fraLabel);
    legend->setContentsMargins(4, 0, 4, 0);
    const struct
    {
        const char* name;
        const char16_t* text;
        int r, g, b;
    } marks[] = {{"lblSyo", u"　小物当選", 168, 0, 0},
                 {"lblTyu", u"　中物当選", 0, 168, 0},
                 {"lblDai", u"　大物当選", 0, 0, 168},
                 {"lblDay", u"　当選日", 191, 159, 63}};
    for (const auto& mark : marks) {
        auto* label =
            named(new QLabel(QStringLiteral("■") + QString::fromUtf16(mark.text)), mark.name);
        label->setStyleSheet(
            QStringLiteral("color: rgb(%1,%2,%3);").arg(mark.r).arg(mark.g).arg(mark.b));
        legend->addWidget(label);
    }
    legend->addStretch();
    layout->addWidget(fraLabel);
    connectShownMonth();
}

void MonthPage::connectShownMonth()
{
    // The month list shows the month's rows; every change reaches it from the month.
    connect(m_month, &ShownMonth::aboutToReset, this, [this] { model()->beginMirrorReset(); });
    connect(m_month, &ShownMonth::reset, this,
            [this] { model()->endMirrorReset(m_month->entries()); });
    connect(m_month, &ShownMonth::appended, this, [this](int first, int count) {
        model()->append(m_month->entries().mid(first, count));
    });
    connect(m_month, &ShownMonth::replaced, this,
            [this](int row) { model()->replace(row, m_month->entries().at(row)); });
    connect(m_month, &ShownMonth::removed, this,
            [this](const QList<int>& rows) { model()->removeRowsAt(rows); });
}

void MonthPage::enter()
{
    BuildEntryColumns();
    LoadMonthFile();
}

std::optional<Tally> MonthPage::refreshTotals()
{
    m_monthTally = colourRows(m_monthTally.expenses);
    return m_monthTally;
}

void MonthPage::recount(std::optional<Currency> expenses)
{
    m_monthTally = model()->tallyWith(expenses.value_or(m_monthTally.expenses));
}

void MonthPage::bookedExpense(const QDate& month, Currency expense)
{
    if (sameMonth(month, m_month->month()))
        m_monthTally.expenses = expense;
}

void MonthPage::showMonthOf(const QDate& day)
{
    m_parts.setCurrentDate(day);
    LoadMonthFile();
}

void MonthPage::LoadMonthFile(bool reportUnreadable)
{
    const BusyCursor busy;
    m_month->load(m_parts.date(), m_parts.state.settings.passwordInForce());
    afterMonthRead(reportUnreadable);
}

void MonthPage::afterMonthRead(bool reportUnreadable)
{
    if (reportUnreadable && !m_month->readable())
        reportUnreadableDataFile(m_parts.context.dialogs, m_month->path(), m_month->fileState());
    m_parts.prgShinko->setMaximum(std::max(1, m_month->rowCount()));
    m_parts.prgShinko->setValue(0);
    // The booked expense lives in the year row; it is taken even before the month has a
    // file, so the first entry of a month never wipes an amount booked for it.
    m_monthTally = Tally();
    m_monthTally.expenses =
        loadMonthExpense(m_parts.context.paths, m_month->year(), m_month->month().month());
    m_parts.window.RefreshTotals();
}

bool MonthPage::reportFailedSave(const MonthSave& save)
{
    Dialogs& dialogs = m_parts.context.dialogs;
    switch (save.outcome) {
    case MonthSave::Outcome::Saved:
        return false;
    case MonthSave::Outcome::Unreadable:
        // What the list holds is not what the file holds: writing it would lose entries.
        dialogs.message(saveError(
            QStringLiteral(
                "データファイル「%1」を読み込めなかったため、この月の変更は保存できません。")
                .arg(QDir::toNativeSeparators(save.path))));
        break;
    case MonthSave::Outcome::Unstorable: {
        const MonthTextBuild& build = save.build;
        const QString what =
            build.badPassword ? QStringLiteral("記帳者認証のパスワード")
                              : QStringLiteral("%1件目の「%2」")
                                    .arg(build.badEntry + 1)
                                    .arg(entryColumnHeading(build.badField,
                                                            m_parts.settings->keyIsEndDayShown()));
        dialogs.message(saveError(QStringLiteral("%1に保存できない文字「%2」が含まれています。")
                                      .arg(what, QString(build.badCharacter))));
        break;
    }
    case MonthSave::Outcome::WriteFailed:
        dialogs.message(
            saveError(QStringLiteral("データファイル「%1」を保存できませんでした。\r\n%2")
                          .arg(QDir::toNativeSeparators(save.path), save.error)));
        break;
    }
    return true;
}

bool MonthPage::SaveMonthFile()
{
    // The month file, its year row and its total row are one unit: a record of it stays
    // in the work folder until the total row is written, and start-up finishes it. The record
    // lasts before the month file takes its new name.
    const AppPaths& paths = m_parts.context.paths;
    const YearMonth unit{m_month->year(), m_month->month().month()};
    MonthSave save;
    {
        const BusyCursor busy;
        save = m_month->save(m_parts.state.settings.passwordInForce(),
                             [&] { return beginSummaryUnit(paths, unit); });
    }
    if (reportFailedSave(save)) {
        // The list goes back to what the file holds, so the failed change is never carried
        // anywhere else (a later save, another month).
        if (m_month->readable() && m_month->dirty()) {
            m_month->reload(m_parts.state.settings.passwordInForce());
            afterMonthRead();
        }
        return false;
    }
    m_parts.window.RefreshTotals();
    if (m_parts.year->UpdateYearSummary(m_month->month(), m_monthTally))
        endSummaryUnit(paths, unit);
    return true;
}

namespace {
void keyOrder(QList<EntryRecord>& rows)
{
    ::SortMonthList(rows, true);
}
} // namespace

bool MonthPage::commitMonth()
{
    if (m_parts.state.settings.sortOn)
        m_month->arrange(keyOrder);
    return SaveMonthFile();
}

bool MonthPage::commitAppended(const QList<EntryRecord>& rows)
{
    // In the key order the rows go to their places in the same change of the list.
    const bool added = m_parts.state.settings.sortOn ? m_month->appendArranged(rows, keyOrder)
                                                     : m_month->append(rows);
    if (!added)
        return monthWritable(); // the month is not readable: says so, and refuses
    return SaveMonthFile();
}

bool MonthPage::monthWritable()
{
    if (m_month->readable())
        return true;
    SaveMonthFile(); // refuses, and tells the user why
    return false;
}

void MonthPage::showSorted(const QList<EntryRecord>& rows)
{
    // The month is written in its new order.
    if (m_month->reorder(rows))
        SaveMonthFile();
}

void MonthPage::deleteKey()
{
    const int selected = static_cast<int>(selectedRows().size());
    if (selected > 0 && selected == model()->rowCount())
        m_parts.window.cmdAllDelete_Click();
    else
        m_parts.window.DeleteSelectedEntries();
    m_parts.state.selectedMonthRow.reset();
}

void MonthPage::listPicked(std::optional<int> row)
{
    m_parts.state.selectedMonthRow = row;
}

int MonthPage::entryCount() const
{
    return m_parts.currentTab() == Tab::Search ? m_parts.search->model()->rowCount()
                                               : m_month->rowCount();
}

EntryRecord MonthPage::entryAt(int row) const
{
    return m_parts.currentTab() == Tab::Search ? m_parts.search->model()->entry(row)
                                               : m_month->entries().at(row);
}

void MonthPage::entryFormClosed()
{
    m_parts.state.selectedMonthRow.reset();
    m_parts.state.selectedSearchRow.reset();
    m_parts.window.updateCommands();
}

void MonthPage::OpenSiteUrl(const QString& url, const QString& id)
{
    OpenAddress(m_parts.context.dialogs, siteAddressFor(url, id));
}

void MonthPage::OpenDocument(const QString& path)
{
    ::OpenDocument(m_parts.context.dialogs, path);
}

void MonthPage::showHelp(HelpTopic topic)
{
    ShowHelp(m_parts.context.dialogs, m_parts.context.paths, topic);
}

QWidget* MonthPage::mainWidget()
{
    return &m_parts.window;
}

frmDataInput* MonthPage::entryForm()
{
    // A closed form is only waiting to be deleted; each opening loads a fresh one.
    if (!m_entryForm || !m_entryForm->isVisible())
        m_entryForm = new frmDataInput(*this);
    return m_entryForm;
}

void MonthPage::cmdNewInput_Click()
{
    // A form left from before starts afresh with its defaults.
    if (m_entryForm)
        m_entryForm->close();
    m_entryForm = nullptr;
    m_parts.state.selectedMonthRow.reset();
    m_parts.disableEntryCommands();
    entryForm()->OpenForNewEntry();
}

void MonthPage::editEntry(int row)
{
    entryForm()->OpenEntryForEdit(row);
}

EditOutcome MonthPage::finishEdit(const EntryRecord& entry, int row)
{
    EntryTableModel* results = m_parts.search->model();
    const bool onSearch = m_parts.currentTab() == Tab::Search;
    int monthRow = onSearch ? -1 : row;
    if (onSearch && row >= 0 && row < results->rowCount()) {
        // The month row the search row was copied from: all seventeen columns equal, in the
        // month its own key date names.
        const EntryRecord old = results->entry(row);
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
            m_parts.state.settings.keyIsEndDay ||
            sameMonth(QDate::fromString(entry[KeyDate], kDateFormat), m_month->month());
        outcome = inPlace ? updateInPlace(entry, monthRow) : moveToOtherMonth(entry, monthRow);
    } else {
        outcome = appendEntry(entry);
    }
    if (onSearch && outcome.done && row >= 0) {
        // The search row shows the entry only once its month holds it.
        results->replace(row, entry);
        m_parts.window.RefreshTotals();
        // The form stays on its search row; after a move it shows that row afresh.
        const bool moved =
            outcome.next == EditOutcome::Next::Reshow || outcome.next == EditOutcome::Next::Close;
        outcome = {true, moved ? EditOutcome::Next::Reshow : EditOutcome::Next::Stay, row};
    }
    return outcome;
}

EditOutcome MonthPage::updateInPlace(const EntryRecord& entry, int row)
{
    if (!monthWritable() || !m_month->replace(row, entry) || !commitMonth())
        return {};
    // The key sort may have moved the entry.
    const int sorted = rowAfterSort(m_month->entries(), entry);
    return {true, sorted >= 0 ? EditOutcome::Next::Follow : EditOutcome::Next::Stay, sorted};
}

EditOutcome MonthPage::moveToOtherMonth(const EntryRecord& entry, int row)
{
    if (!monthWritable())
        return {};
    const AppPaths& paths = m_parts.context.paths;
    const Settings& settings = m_parts.state.settings;
    // Both months are save units until their total rows are written.
    const QDate target = QDate::fromString(entry[KeyDate], kDateFormat);
    const YearMonth other{target.toString(QStringLiteral("yyyy")), target.month()};
    for (const YearMonth& unit : {other, YearMonth{m_month->year(), m_month->month().month()}}) {
        if (const QString error = beginSummaryUnit(paths, unit); !error.isEmpty()) {
            m_parts.context.dialogs.message(
                saveError(QStringLiteral("保存を始められませんでした。\r\n") + error));
            return {};
        }
    }
    const bool sortOn = settings.sortOn;
    const ShownMonth::Move move =
        m_month->moveRow(row, entry, settings.passwordInForce(),
                         [sortOn](QList<EntryRecord>& rows) { ::SortMonthList(rows, sortOn); });
    if (move.otherUnreadable) {
        if (!move.other.path.isEmpty()) {
            reportUnreadableDataFile(m_parts.context.dialogs, move.other.path, move.otherState);
            reportFailedSave(move.other); // and that the change is refused
        }
        return {};
    }
    if (reportFailedSave(move.other))
        return {};
    // The other month's summary row follows its new file.
    Tally otherTally = tallyEntries(move.otherEntries, Currency());
    otherTally.expenses = loadMonthExpense(paths, move.otherMonth.toString(QStringLiteral("yyyy")),
                                           move.otherMonth.month());
    if (m_parts.year->UpdateYearSummary(move.otherMonth, otherTally))
        endSummaryUnit(paths, other);
    if (reportFailedSave(move.own)) {
        m_month->reload(settings.passwordInForce());
        afterMonthRead();
        return {};
    }
    afterRowsRemoved();
    if (m_month->rowCount() == 0)
        return {true, EditOutcome::Next::Close, -1};
    return {true, EditOutcome::Next::Reshow, std::min(row, m_month->rowCount() - 1)};
}

EditOutcome MonthPage::appendEntry(const EntryRecord& entry)
{
    // Compared with the month on show, before the entry's own month is loaded.
    if (!mayRegisterEntry(m_month->entries(), entry, m_parts.state.settings,
                          m_parts.context.dialogs))
        return {};
    const QDate keyDay = QDate::fromString(entry[KeyDate], kDateFormat);
    if (!sameMonth(keyDay, m_month->month())) {
        // The day on show stays where the new month has it (31 becomes 30 in June).
        const int day = std::min(m_parts.date().day(), keyDay.daysInMonth());
        showMonthOf(QDate(keyDay.year(), keyDay.month(), day));
    }
    if (!monthWritable())
        return {};
    return {commitAppended({entry}), EditOutcome::Next::Stay, -1};
}

void MonthPage::removePicked(bool)
{
    const QList<int> rows = selectedRows();
    if (!rows.isEmpty())
        removeMonthRows(rows);
}

void MonthPage::removeAll()
{
    if (!monthWritable())
        return;
    m_month->remove(allRows(m_month->rowCount()));
    if (SaveMonthFile())
        emptiedMonth();
}

void MonthPage::removeMonthRows(QList<int> rows)
{
    if (!monthWritable())
        return;
    m_month->remove(rows);
    if (m_month->rowCount() == 0) {
        // An empty month leaves no file; the save removes it.
        if (SaveMonthFile())
            emptiedMonth();
    } else {
        SaveMonthFile();
    }
}

void MonthPage::afterRowsRemoved()
{
    if (m_month->rowCount() == 0) {
        emptiedMonth();
    } else {
        m_parts.window.RefreshTotals();
        if (m_parts.year->UpdateYearSummary(m_month->month(), m_monthTally))
            endSummaryUnit(m_parts.context.paths, {m_month->year(), m_month->month().month()});
    }
}

void MonthPage::emptiedMonth()
{
    const AppPaths& paths = m_parts.context.paths;
    m_monthTally = Tally(); // its expense goes too
    // Removing the month's file and folders changes its year and total rows: one unit again.
    const YearMonth unit{m_month->year(), m_month->month().month()};
    if (const QString error = beginSummaryUnit(paths, unit); !error.isEmpty()) {
        // The month is saved empty and its rows say so; only the tidy-up waits for a next time.
        m_parts.context.dialogs.message(
            {QStringLiteral("空になった月のフォルダと集計を整理できませんでした。\r\n") + error,
             QStringLiteral("削除エラー"), MessageIcon::Critical, MessageButtons::Ok});
        return;
    }
    QString notRemoved;
    const EmptiedMonth tidied =
        tidyEmptiedMonth(paths, m_month->year(), m_month->monthDigits(), notRemoved);
    m_parts.reportNotRemoved(notRemoved);
    const bool summed = tidied == EmptiedMonth::YearKept
                            ? m_parts.year->UpdateYearSummary(m_month->month(), Tally())
                            : m_parts.total->removeYearFromTotal(m_month->year());
    removeSummaryFolderIfEmpty(paths);
    if (summed)
        endSummaryUnit(paths, unit);
}

#include "diary/Summaries.h"

#include "core/AtomicFile.h"
#include "diary/Expenses.h"

namespace {

const Rgb kBlack{0, 0, 0};
const Rgb kSmallColour{168, 0, 0};
const Rgb kMediumColour{0, 168, 0};
const Rgb kLargeColour{0, 0, 168};
const Rgb kBlue{0, 0, 255};
const Rgb kRed{255, 0, 0};

bool aboveZero(const QString& text)
{
    return QString::compare(text, QStringLiteral("0")) > 0;
}

// Reads total.log; false (with the error set) when it exists but cannot be read.
bool readTotalRows(const AppPaths& paths, TotalUpdate& update, bool* existed = nullptr)
{
    SummaryReadStatus status;
    update.rows = readTotalSummary(paths.totalSummaryPath(), &status, paths.dataKey());
    update.error = status.error;
    if (existed)
        *existed = status.existed;
    return status.ok();
}

// Fills in the target column, decides on the message and writes total.log.
void finishTotalRows(const AppPaths& paths, TotalUpdate& update, const TargetState& target)
{
    if (!applyTargetColumn(update.rows, target.target)) {
        update.error = QStringLiteral("集計の金額が大きすぎるため、「%1」を更新できません。")
                           .arg(paths.totalSummaryPath());
        return;
    }
    update.showTargetMessage = CheckTargetBalance(update.rows, target);
    update.error = writeTotalSummary(paths.totalSummaryPath(), update.rows, paths.dataKey());
}

} // namespace

QList<CellStyle> summaryRowStyles(const QStringList& texts)
{
    QList<CellStyle> styles(texts.size());
    const auto mark = [&](int field, Rgb colour) {
        if (field - 1 < texts.size())
            styles[field - 1] = {colour, true};
    };
    const auto text = [&](int field) { return texts.value(field - 1); };
    if (aboveZero(text(2)))
        mark(2, kSmallColour);
    if (aboveZero(text(3)))
        mark(3, kMediumColour);
    if (aboveZero(text(4)))
        mark(4, kLargeColour);
    if (aboveZero(text(5)))
        mark(5, kBlack);
    if (aboveZero(text(6)))
        mark(6, kBlack);
    if (QString::compare(text(7), QStringLiteral("0.00")) > 0)
        mark(7, kBlack);
    if (aboveZero(text(8)))
        mark(8, kBlue);
    if (aboveZero(text(9)))
        mark(9, kRed);
    const Currency balance = Currency::parseOrZero(text(10));
    if (balance > Currency())
        mark(10, kBlue);
    else if (balance < Currency())
        mark(10, kRed);
    if (texts.size() >= 11 && text(11) != u"0")
        mark(11, kBlack);
    return styles;
}

YearUpdate UpdateYearSummary(const AppPaths& paths, const QString& year, int month,
                             const Tally& monthTally, const TargetState& target)
{
    YearUpdate update;
    if (month < 1 || month > 12) {
        update.error = QStringLiteral("no month %1 in a year").arg(month);
        return update;
    }
    const QString path = paths.yearSummaryPath(year);
    SummaryReadStatus status;
    update.summary = readYearSummary(path, &status, paths.dataKey());
    if (!status.ok()) {
        // Expenses live only in this file: never overwrite what could not be read.
        update.error = status.error;
        return update;
    }
    update.summary.months[month - 1] = monthTally;
    update.yearTally = update.summary.yearTally();
    if (!monthTally.sound() || !update.yearTally.sound()) {
        update.error =
            QStringLiteral("集計の金額が大きすぎるため、「%1」を更新できません。").arg(path);
        return update;
    }
    // The year file and the total file are put in place together: the disk syncs both in one
    // wait, and their shared folder once.
    JointCommit commit;
    update.error = writeYearSummary(path, update.summary, paths.dataKey());
    update.total = UpdateTotalSummary(paths, year, update.yearTally, target);
    const QString failure = commit.finish();
    if (update.error.isEmpty())
        update.error = commit.fileError(path);
    if (update.total.error.isEmpty())
        update.total.error = commit.fileError(paths.totalSummaryPath());
    if (update.error.isEmpty() && update.total.error.isEmpty())
        update.error = failure; // both are in place, but their folder could not be synced
    return update;
}

TotalUpdate UpdateTotalSummary(const AppPaths& paths, const QString& year,
                               const std::optional<Tally>& yearTally, const TargetState& target)
{
    TotalUpdate update;
    if (!readTotalRows(paths, update))
        return update;
    qsizetype index = -1;
    for (qsizetype i = 0; i < update.rows.size(); ++i) {
        if (update.rows.at(i).year == year) {
            index = i;
            break;
        }
    }
    if (yearTally) {
        if (index < 0) {
            update.rows.append(TotalRow{year, {}, {}});
            index = update.rows.size() - 1;
        }
        update.rows[index].figures = *yearTally;
    } else if (index >= 0) {
        update.rows.removeAt(index);
    }
    finishTotalRows(paths, update, target);
    return update;
}

TotalUpdate RecomputeTargetColumn(const AppPaths& paths, const TargetState& target)
{
    TotalUpdate update;
    bool existed = false;
    if (readTotalRows(paths, update, &existed) && existed)
        finishTotalRows(paths, update, target);
    return update;
}

YearList readYearList(const AppPaths& paths, const QString& year)
{
    YearList list;
    list.summary = readYearSummary(paths.yearSummaryPath(year), &list.status, paths.dataKey());
    list.rows.reserve(12);
    for (int m = 0; m < 12; ++m) {
        SummaryListRow row;
        row.texts = yearRowTexts(m + 1, list.summary.months[m]);
        row.styles = summaryRowStyles(row.texts);
        list.rows.append(row);
    }
    list.yearTally = list.summary.yearTally();
    return list;
}

TotalList readTotalList(const AppPaths& paths)
{
    TotalList list;
    list.totalRows = readTotalSummary(paths.totalSummaryPath(), &list.status, paths.dataKey());
    list.rows.reserve(list.totalRows.size());
    for (const TotalRow& totalRow : list.totalRows) {
        SummaryListRow row;
        row.texts = totalRowTexts(totalRow);
        row.styles = summaryRowStyles(row.texts);
        list.rows.append(row);
    }
    for (const TotalRow& row : list.totalRows)
        list.totalTally += row.figures;
    return list;
}

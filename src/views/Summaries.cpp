#include "Summaries.h"

#include "Expenses.h"

namespace {

const Rgb kBlack{0, 0, 0};
const Rgb kSmallColour{168, 0, 0};
const Rgb kMediumColour{0, 168, 0};
const Rgb kLargeColour{0, 0, 168};
const Rgb kBlue{0, 0, 255};
const Rgb kRed{255, 0, 0};

bool aboveZero(const QString& text) { return QString::compare(text, QStringLiteral("0")) > 0; }

Tally sumOf(const QList<TotalRow>& rows)
{
    Tally sum;
    for (const TotalRow& row : rows) {
        sum.small += row.figures.small;
        sum.medium += row.figures.medium;
        sum.large += row.figures.large;
        sum.wins += row.figures.wins;
        sum.entries += row.figures.entries;
        sum.wonAmount += row.figures.wonAmount;
        sum.expenses += row.figures.expenses;
    }
    return sum;
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
    update.summary = readYearSummary(path, &status);
    if (!status.ok()) {
        // Expenses live only in this file: never overwrite what could not be read.
        update.error = status.error;
        return update;
    }
    update.summary.months[month - 1] = SummaryFigures::fromTally(monthTally);
    update.error = writeYearSummary(path, update.summary);
    update.yearTally = update.summary.yearTally();
    update.total = UpdateTotalSummary(paths, year, update.yearTally, target);
    return update;
}

TotalUpdate UpdateTotalSummary(const AppPaths& paths, const QString& year,
                               const std::optional<Tally>& yearTally, const TargetState& target)
{
    TotalUpdate update;
    const QString path = paths.totalSummaryPath();
    SummaryReadStatus status;
    update.rows = readTotalSummary(path, &status);
    if (!status.ok()) {
        update.error = status.error;
        return update;
    }
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
        update.rows[index].figures = SummaryFigures::fromTally(*yearTally);
    } else if (index >= 0) {
        update.rows.removeAt(index);
    }
    applyTargetColumn(update.rows, target.target);
    update.showTargetMessage = CheckTargetBalance(update.rows, target);
    update.error = writeTotalSummary(path, update.rows);
    return update;
}

TotalUpdate RecomputeTargetColumn(const AppPaths& paths, const TargetState& target)
{
    TotalUpdate update;
    const QString path = paths.totalSummaryPath();
    SummaryReadStatus status;
    update.rows = readTotalSummary(path, &status);
    if (!status.existed || !status.ok()) {
        update.error = status.error;
        return update;
    }
    applyTargetColumn(update.rows, target.target);
    update.showTargetMessage = CheckTargetBalance(update.rows, target);
    update.error = writeTotalSummary(path, update.rows);
    return update;
}

YearList ShowYearList(const AppPaths& paths, const QString& year)
{
    YearList list;
    list.summary = readYearSummary(paths.yearSummaryPath(year), &list.status);
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

TotalList ShowTotalList(const AppPaths& paths)
{
    TotalList list;
    list.totalRows = readTotalSummary(paths.totalSummaryPath(), &list.status);
    list.rows.reserve(list.totalRows.size());
    for (const TotalRow& totalRow : list.totalRows) {
        SummaryListRow row;
        row.texts = totalRowTexts(totalRow);
        row.styles = summaryRowStyles(row.texts);
        list.rows.append(row);
    }
    list.totalTally = sumOf(list.totalRows);
    return list;
}

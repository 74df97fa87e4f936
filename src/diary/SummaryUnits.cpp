#include "diary/SummaryUnits.h"

#include "core/AtomicFile.h"
#include "diary/DataFolders.h"
#include "diary/MonthFile.h"

#include <QDir>
#include <QMap>
#include <QRegularExpression>

namespace {

QString monthName(int month)
{
    return QString::number(month).rightJustified(2, u'0');
}

QString recordPath(const AppPaths& paths, const YearMonth& month)
{
    return workFolderOf(paths.dataFolder()) +
           QStringLiteral("/recount-%1-%2").arg(month.year, monthName(month.month));
}

std::optional<Tally> totalRowOf(const QList<TotalRow>& rows, const QString& year)
{
    for (const TotalRow& row : rows) {
        if (row.year == year)
            return row.figures;
    }
    return std::nullopt;
}

} // namespace

Recount& Recount::operator+=(const Recount& other)
{
    changes += other.changes;
    unreadable += other.unreadable;
    errors += other.errors;
    showTargetMessage = showTargetMessage || other.showTargetMessage;
    return *this;
}

QString beginSummaryUnit(const AppPaths& paths, const YearMonth& month)
{
    // The record's name says which month; an empty file is enough, and one sync of the work
    // folder makes it last.
    return createFileDurably(recordPath(paths, month));
}

void endSummaryUnit(const AppPaths& paths, const YearMonth& month)
{
    // A record left behind, or back after a power failure, only costs a recount at the next
    // start, so its removal is not worth a sync of the work folder.
    removeFileUnsynced(recordPath(paths, month));
}

QList<YearMonth> unfinishedSummaryUnits(const AppPaths& paths)
{
    static const QRegularExpression name(QStringLiteral("^recount-(\\d{4})-(0[1-9]|1[0-2])$"));
    QList<YearMonth> units;
    for (const QString& file :
         QDir(workFolderOf(paths.dataFolder())).entryList(QDir::Files, QDir::Name)) {
        const auto match = name.match(file);
        if (match.hasMatch())
            units.append({match.captured(1), match.captured(2).toInt()});
    }
    return units;
}

Recount recountMonths(const AppPaths& paths, const QString& year, const QList<int>& months,
                      const QString& password, const TargetState& target)
{
    Recount result;
    const QString yearPath = paths.yearSummaryPath(year);
    SummaryReadStatus status;
    const YearSummary before = readYearSummary(yearPath, &status, paths.dataKey());
    if (!status.ok()) {
        // Expenses live only in this file: it is never written over unread.
        result.unreadable.append(yearPath);
        return result;
    }
    YearSummary after = before;
    bool anyMonthFile = false;
    for (int month : months) {
        const QString path = paths.monthFilePath(year, monthName(month));
        const MonthRead read = readMonthFile(path, {password, paths.dataKey()});
        if (!read.readable()) {
            result.unreadable.append(path);
            continue;
        }
        anyMonthFile = anyMonthFile || read.status == MonthRead::Status::Loaded;
        after.months[month - 1] = tallyEntries(read.entries, before.months[month - 1].expenses);
    }
    if (!status.existed && !anyMonthFile)
        return result; // nothing of this year was ever summarised
    for (int m = 0; m < 12; ++m) {
        if (!(after.months[m] == before.months[m]))
            result.changes.append({year, m + 1, before.months[m], after.months[m]});
    }
    if (!status.existed || !(after == before)) {
        if (const QString error = writeYearSummary(yearPath, after, paths.dataKey());
            !error.isEmpty()) {
            result.errors.append(error);
            return result;
        }
    }
    SummaryReadStatus totalStatus;
    const std::optional<Tally> totalBefore =
        totalRowOf(readTotalSummary(paths.totalSummaryPath(), &totalStatus, paths.dataKey()), year);
    const TotalUpdate total = UpdateTotalSummary(paths, year, after.yearTally(), target);
    if (!totalStatus.ok()) {
        result.unreadable.append(paths.totalSummaryPath());
    } else if (!total.error.isEmpty()) {
        result.errors.append(total.error);
    } else {
        if (!totalBefore || !(*totalBefore == after.yearTally()))
            result.changes.append({year, 0, totalBefore.value_or(Tally()), after.yearTally()});
        result.showTargetMessage = total.showTargetMessage;
    }
    return result;
}

Recount recountAll(const AppPaths& paths, const QString& password, const TargetState& target)
{
    static const QRegularExpression yearFile(QStringLiteral("^(\\d{4})\\.log$"));
    QStringList years = listYearFolders(paths.dataFolder());
    for (const QString& file : QDir(paths.summaryFolder()).entryList(QDir::Files)) {
        const auto match = yearFile.match(file);
        if (match.hasMatch() && match.captured(1) != u"0000" && !years.contains(match.captured(1)))
            years.append(match.captured(1));
    }
    years.sort();
    const QList<int> allMonths{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    Recount result;
    for (const QString& year : years)
        result += recountMonths(paths, year, allMonths, password, target);
    return result;
}

Recount finishSummaryUnits(const AppPaths& paths, const QString& password,
                           const TargetState& target)
{
    QMap<QString, QList<int>> byYear;
    for (const YearMonth& unit : unfinishedSummaryUnits(paths))
        byYear[unit.year].append(unit.month);
    Recount result;
    for (auto it = byYear.cbegin(); it != byYear.cend(); ++it) {
        const Recount year = recountMonths(paths, it.key(), it.value(), password, target);
        if (year.ok()) {
            for (int month : it.value())
                endSummaryUnit(paths, {it.key(), month});
        }
        result += year;
    }
    return result;
}

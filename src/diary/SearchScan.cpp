#include "diary/SearchScan.h"

#include "core/FreedMemory.h"
#include "diary/DataFolders.h"
#include "diary/MonthPrefetch.h"

#include <QElapsedTimer>
#include <QFileInfo>

namespace {

// The fewest bytes an entry takes in a month file as the diary writes it: seventeen empty
// quoted fields, their commas and the line end.
constexpr qint64 kSmallestEntryBytes = kEntryFieldCount * 2 + (kEntryFieldCount - 1) + 2;

} // namespace

QList<SearchStep> planSearchSteps(const AppPaths& paths, const SearchCriteria& raw)
{
    const SearchCriteria criteria = normalizedCriteria(raw);
    QList<SearchStep> steps;
    if (criteria.keyDate) {
        if (!criteria.keyDate->from.isValid() || !criteria.keyDate->to.isValid())
            return steps;
        const QDate last(criteria.keyDate->to.year(), criteria.keyDate->to.month(), 1);
        for (QDate m(criteria.keyDate->from.year(), criteria.keyDate->from.month(), 1); m <= last;
             m = m.addMonths(1)) {
            steps.append(
                {{paths.monthFilePath(QString::number(m.year()).rightJustified(4, u'0'),
                                      QString::number(m.month()).rightJustified(2, u'0'))}});
        }
        return steps;
    }
    for (const QString& year : listYearFolders(paths.dataFolder())) {
        SearchStep step;
        for (int month = 1; month <= 12; ++month)
            step.monthFiles.append(
                paths.monthFilePath(year, QString::number(month).rightJustified(2, u'0')));
        steps.append(step);
    }
    return steps;
}

SearchOutcome runSearch(const AppPaths& paths, const SearchCriteria& criteria,
                        const QString& startPassword, const SearchScanHooks& hooks)
{
    SearchOutcome outcome;
    const SearchMatcher matcher(criteria);
    const QList<SearchStep> steps = planSearchSteps(paths, criteria);
    SearchProgress progress;
    progress.stepCount = int(steps.size());

    QElapsedTimer sinceProgress;
    sinceProgress.start();
    const qint64 interval = hooks.progressInterval.count();
    // With an interval the clock is read once every few hundred entries: a read costs more
    // than testing an entry, and a few hundred entries take far less than any interval.
    const int clockEvery = interval > 0 ? 256 : 0;
    int untilClock = 0;
    auto stop = [&]() {
        if (hooks.progress && --untilClock < 0 && sinceProgress.elapsed() >= interval) {
            progress.testedEntries = outcome.testedEntries;
            hooks.progress(progress);
            sinceProgress.restart();
        }
        if (untilClock < 0)
            untilClock = clockEvery;
        return hooks.stopRequested && hooks.stopRequested();
    };

    QStringList allFiles;
    for (const SearchStep& step : steps)
        allFiles += step.monthFiles;
    // Room for every entry the files could hold: only what the results fill is ever touched
    // (and counted as memory in use).
    qint64 bytes = 0;
    for (const QString& path : allFiles)
        bytes += qMin(QFileInfo(path).size(), kMonthFileSizeMax); // larger ones are refused
    QList<EntryRecord>& results = outcome.results;
    // Handed to the caller one by one, the results need room for one month only.
    const bool keep = !hooks.matched;
    if (keep)
        results.reserve(qsizetype(bytes / kSmallestEntryBytes) + 1);
    // And room for the entries' texts: at most twice the bytes of the files.
    const HeapRoom textRoom(std::size_t(bytes) * 2);
    MonthPrefetch prefetch(allFiles, {startPassword, paths.dataKey()});
    for (const SearchStep& step : steps) {
        for (const QString& path : step.monthFiles) {
            if (stop()) {
                outcome.interrupted = true;
                break;
            }
            // The month's entries go straight to the end of the results; those that do not
            // match are dropped again.
            const qsizetype first = results.size();
            const MonthRead::Status status =
                appendEntriesOf(*prefetch.nextFields(), prefetch.texts(), results,
                                keep ? kAllEntryFields : hooks.matchedFields);
            if (status != MonthRead::Status::Loaded && status != MonthRead::Status::Missing) {
                const UnreadableMonthFile bad{path, status};
                outcome.unreadable.append(bad);
                if (hooks.unreadableFile)
                    hooks.unreadableFile(bad);
                continue;
            }
            qsizetype kept = first;
            for (qsizetype i = first; i < results.size(); ++i) {
                if (matcher.matches(results.at(i))) {
                    if (!keep) {
                        hooks.matched(results.at(i));
                    } else {
                        // Counted now, while the entry is at hand: a count over the results
                        // afterwards would fetch every one of them from memory again.
                        countEntry(outcome.tally, results.at(i));
                        if (kept != i)
                            results[kept] = std::move(results[i]);
                    }
                    ++kept;
                }
                ++outcome.testedEntries;
                if (stop()) {
                    outcome.interrupted = true;
                    break;
                }
            }
            results.resize(keep ? kept : first);
            if (outcome.interrupted)
                break;
        }
        if (outcome.interrupted)
            break;
        ++progress.stepsDone;
    }

    if (outcome.interrupted) {
        outcome.results = {};
        outcome.tally = {};
    }
    if (hooks.progress) {
        progress.testedEntries = outcome.testedEntries;
        hooks.progress(progress);
    }
    return outcome;
}

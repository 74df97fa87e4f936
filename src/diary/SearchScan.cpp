#include "diary/SearchScan.h"

#include "diary/DataFolders.h"
#include "diary/MonthPrefetch.h"

#include <QElapsedTimer>

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

QString SearchStatistics::winRateText() const
{
    if (wins < 1)
        return QStringLiteral("0.00");
    return QString::number(double(wins) / double(entries) * 100.0, 'f', 2);
}

SearchStatistics statisticsOf(const QList<EntryRecord>& entries)
{
    SearchStatistics s;
    s.entries = int(entries.size());
    for (const EntryRecord& e : entries) {
        if (e.isWon()) {
            ++s.wins;
            s.wonAmount += Currency::parseOrZero(e[HappyMoney]);
        }
    }
    return s;
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
    auto stop = [&]() {
        if (hooks.progress && sinceProgress.elapsed() >= interval) {
            progress.testedEntries = outcome.testedEntries;
            hooks.progress(progress);
            sinceProgress.restart();
        }
        return hooks.stopRequested && hooks.stopRequested();
    };

    QStringList allFiles;
    for (const SearchStep& step : steps)
        allFiles += step.monthFiles;
    MonthPrefetch prefetch(allFiles, startPassword);
    for (const SearchStep& step : steps) {
        for (const QString& path : step.monthFiles) {
            if (stop()) {
                outcome.interrupted = true;
                break;
            }
            MonthRead month = *prefetch.next();
            if (month.status == MonthRead::Status::Refused ||
                month.status == MonthRead::Status::Damaged) {
                const UnreadableMonthFile bad{path, month.status};
                outcome.unreadable.append(bad);
                if (hooks.unreadableFile)
                    hooks.unreadableFile(bad);
                continue;
            }
            for (EntryRecord& entry : month.entries) {
                if (matcher.matches(entry))
                    outcome.results.append(std::move(entry));
                ++outcome.testedEntries;
                if (stop()) {
                    outcome.interrupted = true;
                    break;
                }
            }
            if (outcome.interrupted)
                break;
        }
        if (outcome.interrupted)
            break;
        ++progress.stepsDone;
    }

    if (outcome.interrupted)
        outcome.results.clear();
    outcome.statistics = statisticsOf(outcome.results);
    if (hooks.progress) {
        progress.testedEntries = outcome.testedEntries;
        hooks.progress(progress);
    }
    return outcome;
}

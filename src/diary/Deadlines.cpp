#include "diary/Deadlines.h"

#include "diary/DataFolders.h"
#include "diary/MonthPrefetch.h"

#include <algorithm>

namespace {

QString twoDigits(int n)
{
    return QString::number(n).rightJustified(2, u'0');
}
QString fourDigits(int n)
{
    return QString::number(n).rightJustified(4, u'0');
}

} // namespace

bool isOpenEntry(const EntryRecord& entry, bool keyIsEndDay, const QDate& today, int days)
{
    const QString& kekka = entry[Kekka];
    if (kekka != u"未応募" && kekka != u"不明")
        return false;
    // Stored dates are "yyyy/MM/dd", so text order is date order; anything else is no date.
    const QDate deadline =
        QDate::fromString(deadlineOf(entry, keyIsEndDay), QStringLiteral("yyyy/MM/dd"));
    return deadline.isValid() && deadline >= today && deadline <= today.addDays(days);
}

QStringList deadlineMonthFiles(const AppPaths& paths, bool keyIsEndDay, const QDate& today,
                               int days)
{
    const QDate last = today.addDays(days);
    const QDate lastMonth(last.year(), last.month(), 1);
    QStringList files;
    if (keyIsEndDay) {
        for (QDate m(today.year(), today.month(), 1); m <= lastMonth; m = m.addMonths(1))
            files.append(paths.monthFilePath(fourDigits(m.year()), twoDigits(m.month())));
        return files;
    }
    for (const QString& year : listYearFolders(paths.dataFolder())) {
        const int y = year.toInt();
        if (y > last.year())
            break;
        const int lastInYear = y == last.year() ? last.month() : 12;
        for (int month = 1; month <= lastInYear; ++month)
            files.append(paths.monthFilePath(year, twoDigits(month)));
    }
    return files;
}

DeadlineScan findOpenEntries(const AppPaths& paths, bool keyIsEndDay, const QString& startPassword,
                             const QDate& today, int days)
{
    DeadlineScan scan;
    const QStringList files = deadlineMonthFiles(paths, keyIsEndDay, today, days);
    MonthPrefetch prefetch(files, {startPassword, paths.dataKey()});
    for (const QString& path : files) {
        MonthRead month = *prefetch.next(); // a missing file reads as an empty month
        if (!month.readable()) {
            scan.unreadableFiles.append({path, month.status});
            continue;
        }
        for (EntryRecord& entry : month.entries) {
            if (isOpenEntry(entry, keyIsEndDay, today, days))
                scan.entries.append(std::move(entry));
        }
    }
    std::stable_sort(scan.entries.begin(), scan.entries.end(),
                     [keyIsEndDay](const EntryRecord& a, const EntryRecord& b) {
                         return deadlineOf(a, keyIsEndDay) < deadlineOf(b, keyIsEndDay);
                     });
    return scan;
}

QString deadlineQuestionText(qsizetype count, int days)
{
    return QStringLiteral("締切日が今日から%1日以内の未応募・不明の懸賞が%"
                          "2件あります。\r\n一覧を表示しますか？")
        .arg(days)
        .arg(count);
}

QString deadlineNoticeText(const QList<EntryRecord>& entries, int days, bool keyIsEndDay)
{
    constexpr qsizetype kShown = 5;
    QStringList lines{QStringLiteral("締切日が今日から%1日以内の未応募・不明の懸賞が%2件あります。")
                          .arg(days)
                          .arg(entries.size())};
    for (qsizetype i = 0; i < std::min(kShown, entries.size()); ++i) {
        const EntryRecord& e = entries[i];
        // "yyyy/MM/dd" shown as "MM/dd".
        lines.append(deadlineOf(e, keyIsEndDay).mid(5) + u' ' + e[Present] +
                     (e[Site].isEmpty() ? QString() : QStringLiteral("（%1）").arg(e[Site])));
    }
    if (entries.size() > kShown)
        lines.append(QStringLiteral("ほか%1件").arg(entries.size() - kShown));
    return lines.join(u'\n');
}

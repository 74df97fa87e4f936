#include "diary/ImportRegistration.h"

#include <QDir>
#include <QSet>

QList<ImportMonth> groupImportByMonth(const QList<EntryRecord>& rows)
{
    QList<ImportMonth> runs;
    for (const EntryRecord& row : rows) {
        const QString year = row[KeyDate].left(4);
        const QString month = row[KeyDate].mid(5, 2);
        if (runs.isEmpty() || runs.last().year != year || runs.last().month != month)
            runs.append(ImportMonth{year, month, {}});
        runs.last().rows.append(row);
    }
    return runs;
}

QList<EntryRecord> acceptImportedRows(const QList<EntryRecord>& run,
                                      const QList<EntryRecord>& monthEntries,
                                      const std::function<bool(const EntryRecord&)>& confirm)
{
    QSet<QString> registered;
    for (const EntryRecord& entry : monthEntries)
        registered.insert(entry[ID]);
    QList<EntryRecord> accepted;
    for (const EntryRecord& row : run) {
        if (!registered.contains(row[ID]) || (confirm && confirm(row)))
            accepted.append(row);
    }
    return accepted;
}

ImportOutcome registerImportedRows(const QList<EntryRecord>& rows, bool duplicateCheck,
                                   const ImportHooks& hooks)
{
    ImportOutcome outcome;
    int done = 0;
    for (const ImportMonth& run : groupImportByMonth(rows)) {
        if (!outcome.unsavedMonth.isEmpty()) {
            outcome.notRegistered += run.rows;
            continue;
        }
        const auto loaded = hooks.loadMonth(run.year, run.month);
        if (const auto* unreadable = std::get_if<UnreadableMonth>(&loaded)) {
            // Saving now would overwrite entries that could not be read.
            outcome.unreadableMonths.append(*unreadable);
            outcome.notRegistered += run.rows;
        } else {
            const QList<EntryRecord>& existing = std::get<QList<EntryRecord>>(loaded);
            const QList<EntryRecord> accepted =
                duplicateCheck ? acceptImportedRows(run.rows, existing, hooks.confirmDuplicate)
                               : run.rows;
            outcome.declined += int(run.rows.size() - accepted.size());
            if (!accepted.isEmpty() && !hooks.appendAndSave(run.year, run.month, accepted)) {
                // Later months are left alone: their saves would most likely fail the same way.
                outcome.unsavedMonth = run.year + u'/' + run.month;
                outcome.notRegistered += accepted;
            } else {
                outcome.registered += int(accepted.size());
            }
        }
        done += int(run.rows.size());
        if (hooks.progress)
            hooks.progress(done, int(rows.size()));
    }
    return outcome;
}

QString notRegisteredMessage(const ImportOutcome& outcome)
{
    QStringList parts;
    if (!outcome.unreadableMonths.isEmpty()) {
        QStringList files;
        for (const UnreadableMonth& month : outcome.unreadableMonths)
            files.append(
                QStringLiteral("「%1」（%2）")
                    .arg(QDir::toNativeSeparators(month.path), monthReadProblem(month.status)));
        parts.append(QStringLiteral("次のデータファイルを読み込めないため、%1件を登録していませ"
                                    "ん。ファイルはそのままにしてあります。\r\n%2")
                         .arg(outcome.notRegistered.size())
                         .arg(files.join(QStringLiteral("\r\n"))));
    }
    if (!outcome.unsavedMonth.isEmpty()) {
        parts.append(
            QStringLiteral(
                "%1のデータファイルを保存できなかったため、%1以降の%2件を登録していません。")
                .arg(outcome.unsavedMonth)
                .arg(outcome.notRegistered.size()));
    }
    return parts.join(QStringLiteral("\r\n\r\n"));
}

#include "diary/ShownMonth.h"

#include "core/AtomicFile.h"

#include <algorithm>

namespace {

// Room for the rows a registration or an import adds, so that the list is not moved to new
// memory for them.
constexpr qsizetype kRoomToGrow = 32;

QDate firstOfMonth(const QDate& day)
{
    return QDate(day.year(), day.month(), 1);
}

} // namespace

ShownMonth::ShownMonth(AppPaths paths, QObject* parent) : QObject(parent), m_paths(std::move(paths))
{}

QString ShownMonth::path() const
{
    return m_paths.monthFilePath(year(), monthDigits());
}

void ShownMonth::load(const QDate& day, const QString& password)
{
    m_month = firstOfMonth(day);
    MonthRead read = readMonthFile(path(), {password, m_paths.dataKey()});
    emit aboutToReset();
    m_state = read.status;
    m_entries = std::move(read.entries);
    m_entries.reserve(m_entries.size() + kRoomToGrow);
    m_dirty = false;
    emit reset();
}

MonthSave ShownMonth::write(const QDate& month, const QList<EntryRecord>& rows,
                            const QString& password, const std::function<QString()>& record) const
{
    MonthSave result;
    result.path = m_paths.monthFilePath(month.toString(QStringLiteral("yyyy")),
                                        month.toString(QStringLiteral("MM")));
    result.build = formatMonthText(rows, password);
    if (!result.build.ok()) {
        result.outcome = MonthSave::Outcome::Unstorable;
        return result;
    }
    // The record and the new file are synced in one wait for the disk; a month emptied is
    // removed only once the record lasts.
    const bool removes = result.build.plain.isEmpty();
    JointCommit together;
    QString error = record ? record() : QString();
    if (error.isEmpty() && removes)
        error = together.finish();
    // The text is scrambled where it is: a month of a thousand entries is not copied again.
    if (error.isEmpty())
        error = writeMonthFile(result.path, std::move(result.build.plain), m_paths.dataKey());
    const QString failure = together.finish();
    if (error.isEmpty())
        error = together.fileError(result.path);
    result.error = error.isEmpty() ? failure : error;
    if (!result.error.isEmpty())
        result.outcome = MonthSave::Outcome::WriteFailed;
    return result;
}

MonthSave ShownMonth::save(const QString& password, const std::function<QString()>& record)
{
    if (!readable()) {
        MonthSave refused;
        refused.outcome = MonthSave::Outcome::Unreadable;
        refused.path = path();
        return refused;
    }
    const MonthSave result = write(m_month, m_entries, password, record);
    if (result.ok()) {
        m_dirty = false;
        m_state = m_entries.isEmpty() ? MonthRead::Status::Missing : MonthRead::Status::Loaded;
    }
    return result;
}

bool ShownMonth::append(const QList<EntryRecord>& rows)
{
    if (!readable())
        return false;
    const int first = rowCount();
    m_entries.append(rows);
    m_dirty = true;
    emit appended(first, static_cast<int>(rows.size()));
    return true;
}

bool ShownMonth::replace(int row, const EntryRecord& entry)
{
    if (!readable() || row < 0 || row >= rowCount())
        return false;
    m_entries[row] = entry;
    m_dirty = true;
    emit replaced(row);
    return true;
}

bool ShownMonth::remove(QList<int> rows)
{
    if (!readable())
        return false;
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.removeIf([this](int row) { return row < 0 || row >= rowCount(); });
    for (int row : rows)
        m_entries.removeAt(row);
    m_dirty = true;
    emit removed(rows);
    return true;
}

bool ShownMonth::reorder(const QList<EntryRecord>& rows)
{
    if (!readable())
        return false;
    emit aboutToReset();
    m_entries = rows;
    m_dirty = true;
    emit reset();
    return true;
}

bool ShownMonth::arrange(const std::function<void(QList<EntryRecord>&)>& order)
{
    return appendArranged({}, order);
}

bool ShownMonth::appendArranged(const QList<EntryRecord>& rows,
                                const std::function<void(QList<EntryRecord>&)>& order)
{
    if (!readable())
        return false;
    emit aboutToReset();
    m_entries.append(rows);
    order(m_entries);
    m_dirty = true;
    emit reset();
    return true;
}

ShownMonth::Move ShownMonth::moveRow(int row, const EntryRecord& entry, const QString& password,
                                     const std::function<void(QList<EntryRecord>&)>& arrange)
{
    Move move;
    move.otherMonth = firstOfMonth(QDate::fromString(entry[KeyDate], QStringLiteral("yyyy/MM/dd")));
    if (!readable() || row < 0 || row >= rowCount() || !move.otherMonth.isValid() ||
        move.otherMonth == m_month) {
        move.otherUnreadable = true;
        return move;
    }
    const MonthRead other =
        readMonthFile(m_paths.monthFilePath(move.otherMonth.toString(QStringLiteral("yyyy")),
                                            move.otherMonth.toString(QStringLiteral("MM"))),
                      {password, m_paths.dataKey()});
    move.otherState = other.status;
    if (!other.readable()) {
        move.otherUnreadable = true;
        move.other.path = m_paths.monthFilePath(move.otherMonth.toString(QStringLiteral("yyyy")),
                                                move.otherMonth.toString(QStringLiteral("MM")));
        move.other.outcome = MonthSave::Outcome::Unreadable;
        return move;
    }
    move.otherEntries = other.entries;
    move.otherEntries.append(entry);
    if (arrange)
        arrange(move.otherEntries);
    move.other = write(move.otherMonth, move.otherEntries, password);
    if (!move.other.ok())
        return move;
    remove({row});
    move.own = save(password);
    return move;
}

#pragma once

#include "core/AppPaths.h"
#include "diary/EntryRecord.h"
#include "diary/MonthFile.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

// The outcome of writing a month file.
struct MonthSave
{
    enum class Outcome {
        Saved,
        Unreadable,  // the file could not be read, so what the list holds is not what it holds
        Unstorable,  // a text cannot be held in the file (see build)
        WriteFailed, // the disk refused (see error)
    };
    Outcome outcome = Outcome::Saved;
    QString path;
    MonthTextBuild build; // for Unstorable; its plain form went to the file
    QString error;
    bool ok() const { return outcome == Outcome::Saved; }
};

// The month on show: its entries, how its file was read and whether it holds changes its
// file does not. It reads and writes only its own month file, named by its month. Rows are
// 0-based.
class ShownMonth : public QObject
{
    Q_OBJECT

public:
    explicit ShownMonth(AppPaths paths, QObject* parent = nullptr);

    // The first day of the month on show.
    QDate month() const { return m_month; }
    QString year() const { return m_month.toString(QStringLiteral("yyyy")); }
    QString monthDigits() const { return m_month.toString(QStringLiteral("MM")); }
    QString path() const;
    const QList<EntryRecord>& entries() const { return m_entries; }
    int rowCount() const { return static_cast<int>(m_entries.size()); }
    MonthRead::Status fileState() const { return m_state; }
    // A month whose file was refused or damaged takes no changes.
    bool readable() const
    {
        return m_state == MonthRead::Status::Missing || m_state == MonthRead::Status::Loaded;
    }
    bool dirty() const { return m_dirty; }

    // Reads the month of `day` (any day of it); `password` is the start password in force.
    void load(const QDate& day, const QString& password);
    // Reads the month on show again, dropping unsaved changes.
    void reload(const QString& password) { load(m_month, password); }
    // Writes the month to its own file; an empty month leaves no file.
    // `record`, when given, writes what must last before the file takes its new name (the
    // record of a save unit); it is synced together with the new file. Its failure fails the
    // save, with the file untouched.
    MonthSave save(const QString& password, const std::function<QString()>& record = {});

    // Changes of the list; each returns false, changing nothing, when the month is not readable.
    bool append(const QList<EntryRecord>& rows);
    bool replace(int row, const EntryRecord& entry);
    bool remove(QList<int> rows);
    // A new order (or set) of all rows, as a sort gives it.
    bool reorder(const QList<EntryRecord>& rows);
    // The same, with the rows put in order where they are (no copy of the list).
    bool arrange(const std::function<void(QList<EntryRecord>&)>& order);
    // Appends `rows` and puts the whole list in order, as one change of the whole list.
    bool appendArranged(const QList<EntryRecord>& rows,
                        const std::function<void(QList<EntryRecord>&)>& order);
    // Moves row `row` into the month of `entry`'s key date, where it is stored as `entry`:
    // the other month's file gets it first, so a month that cannot be written never costs
    // the entry; then it leaves this month, which is saved. `arrange` orders the other
    // month's rows before they are written (the key sort).
    struct Move
    {
        MonthSave other; // the other month's save
        MonthSave own;   // this month's save once the row left it
        QDate otherMonth;
        QList<EntryRecord> otherEntries;
        bool otherUnreadable = false;
        MonthRead::Status otherState = MonthRead::Status::Missing; // how its file was read
        bool ok() const { return !otherUnreadable && other.ok() && own.ok(); }
    };
    Move moveRow(int row, const EntryRecord& entry, const QString& password,
                 const std::function<void(QList<EntryRecord>&)>& arrange);

signals:
    // The whole list is about to change: a view that shares its rows lets go of them, so
    // that they are changed where they are rather than copied for the view's sake.
    void aboutToReset();
    // The whole list changed (a load or a new order).
    void reset();
    void appended(int first, int count);
    void replaced(int row);
    // Rows that left the list, highest first.
    void removed(const QList<int>& rows);

private:
    MonthSave write(const QDate& month, const QList<EntryRecord>& rows, const QString& password,
                    const std::function<QString()>& record = {}) const;

    AppPaths m_paths;
    QDate m_month;
    QList<EntryRecord> m_entries;
    MonthRead::Status m_state = MonthRead::Status::Missing;
    bool m_dirty = false;
};

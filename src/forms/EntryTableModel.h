#pragma once

#include "diary/EntryRecord.h"
#include "diary/Tally.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <optional>

// The rows of an entry list (month, search results): seventeen columns per entry, each row
// with one text colour for its first sixteen cells and the prize column in bold. Colours are
// worked out as rows are drawn, and the figures once per change of the rows, so a list of
// any length costs nothing per row until it is shown.
class EntryTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit EntryTableModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The first and tenth headings follow the key date.
    void setKeyIsEndDay(bool keyIsEndDay);

    const QList<EntryRecord>& entries() const { return m_rows; }
    const EntryRecord& entry(int row) const { return m_rows.at(row); }
    // `tally`, when given, is what tallyEntries(entries) gives, counted by the caller while
    // it had the entries at hand.
    void setEntries(QList<EntryRecord> entries, std::optional<Tally> tally = std::nullopt);
    void clear() { setEntries({}); }
    // Empties the list and hands its rows to the caller, who frees them with release() when
    // that costs the user nothing.
    QList<EntryRecord> takeEntries();
    // Drops rows; a long list on a pool thread, since freeing it takes longer than a click.
    static void release(QList<EntryRecord> rows);
    // For a list that mirrors another one's rows: lets go of them before their owner changes
    // them (which then copies nothing), and shows them again afterwards. The list is being
    // reset in between.
    void beginMirrorReset();
    void endMirrorReset(QList<EntryRecord> entries);
    void append(const QList<EntryRecord>& entries);
    void replace(int row, const EntryRecord& entry);
    // Removes the given rows (any order, duplicates allowed).
    void removeRowsAt(QList<int> rows);

    // The day whose entries take the win-day colour, as "yyyy/MM/dd".
    void setPickedDay(const QString& day);
    // A row's colour (entryRowColour); invalid for rows drawn in the list's text colour.
    QColor rowColour(int row) const;
    // The figures of the rows, without expenses, and with `expenses` added (checked as a
    // tally of the rows from those expenses on would be).
    const Tally& tally() const;
    Tally tallyWith(Currency expenses) const;

private:
    QList<EntryRecord> m_rows;
    QString m_pickedDay;
    mutable std::optional<Tally> m_tally; // until the rows change
    bool m_keyIsEndDay = false;
};

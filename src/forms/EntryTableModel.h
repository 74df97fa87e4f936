#pragma once

#include "diary/EntryRecord.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QList>

// The rows of an entry list (month, search results): seventeen columns per entry, each row
// with one text colour for its first sixteen cells and the prize column in bold.
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
    void setEntries(QList<EntryRecord> entries);
    void clear() { setEntries({}); }
    void append(const QList<EntryRecord>& entries);
    void replace(int row, const EntryRecord& entry);
    // Removes the given rows (any order, duplicates allowed).
    void removeRowsAt(QList<int> rows);

    // Row colours; rows without one are drawn in the list's text colour.
    void setRowColours(const QList<QColor>& colours);
    void setRowColour(int row, const QColor& colour);
    QColor rowColour(int row) const;

private:
    QList<EntryRecord> m_rows;
    QList<QColor> m_colours;
    bool m_keyIsEndDay = false;
};

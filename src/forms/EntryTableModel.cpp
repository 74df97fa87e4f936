#include "forms/EntryTableModel.h"

#include "core/FreedMemory.h"

#include <QFont>
#include <algorithm>
#include <utility>

EntryTableModel::EntryTableModel(QObject* parent) : QAbstractTableModel(parent) {}

int EntryTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int EntryTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kEntryFieldCount;
}

QVariant EntryTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return m_rows.at(index.row())[column];
    case Qt::ForegroundRole: {
        // The picture path never shows a colour; every other cell follows its row.
        if (column == Pic)
            return QVariant();
        const QColor colour = rowColour(index.row());
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    case Qt::FontRole:
        if (column == Present) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return QVariant();
    case Qt::TextAlignmentRole:
        if (column == ID || column == HappyMoney || column == Number)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return QVariant();
    }
}

QVariant EntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < kEntryFieldCount)
        return entryColumnHeading(section, m_keyIsEndDay);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void EntryTableModel::setKeyIsEndDay(bool keyIsEndDay)
{
    if (m_keyIsEndDay == keyIsEndDay)
        return;
    m_keyIsEndDay = keyIsEndDay;
    emit headerDataChanged(Qt::Horizontal, 0, kEntryFieldCount - 1);
}

namespace {

// Rows above which dropping a list is worth handing its memory back.
constexpr qsizetype kLargeList = 10000;

} // namespace

void EntryTableModel::setEntries(QList<EntryRecord> entries, std::optional<Tally> tally)
{
    beginResetModel();
    QList<EntryRecord> old = std::exchange(m_rows, std::move(entries));
    m_tally = tally;
    endResetModel();
    release(std::move(old));
}

QList<EntryRecord> EntryTableModel::takeEntries()
{
    beginResetModel();
    QList<EntryRecord> old = std::exchange(m_rows, {});
    m_tally.reset();
    endResetModel();
    return old;
}

void EntryTableModel::release(QList<EntryRecord> rows)
{
    if (rows.size() > kLargeList)
        releaseInBackground(std::move(rows));
}

void EntryTableModel::beginMirrorReset()
{
    beginResetModel();
    release(std::exchange(m_rows, {}));
    m_tally.reset();
}

void EntryTableModel::endMirrorReset(QList<EntryRecord> entries)
{
    m_rows = std::move(entries);
    endResetModel();
}

void EntryTableModel::append(const QList<EntryRecord>& entries)
{
    if (entries.isEmpty())
        return;
    const int first = static_cast<int>(m_rows.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(entries.size()) - 1);
    m_rows.append(entries);
    m_tally.reset();
    endInsertRows();
}

void EntryTableModel::replace(int row, const EntryRecord& entry)
{
    m_rows[row] = entry;
    m_tally.reset();
    emit dataChanged(index(row, 0), index(row, kEntryFieldCount - 1));
}

void EntryTableModel::removeRowsAt(QList<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int row : rows) {
        if (row < 0 || row >= m_rows.size())
            continue;
        beginRemoveRows(QModelIndex(), row, row);
        m_rows.removeAt(row);
        m_tally.reset();
        endRemoveRows();
    }
}

void EntryTableModel::setPickedDay(const QString& day)
{
    if (day == m_pickedDay)
        return;
    m_pickedDay = day;
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, kEntryFieldCount - 1),
                         {Qt::ForegroundRole});
}

QColor EntryTableModel::rowColour(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return QColor();
    const RowColour colour = entryRowColour(m_rows.at(row), m_pickedDay);
    if (colour == RowColour::Plain)
        return QColor();
    const Rgb rgb = rgbOf(colour);
    return QColor(rgb.r, rgb.g, rgb.b);
}

const Tally& EntryTableModel::tally() const
{
    if (!m_tally)
        m_tally = tallyEntries(m_rows);
    return *m_tally;
}

Tally EntryTableModel::tallyWith(Currency expenses) const
{
    Tally sum;
    sum.expenses = expenses;
    sum += tally();
    return sum;
}

#include "forms/AnalysisModel.h"

namespace {

enum Column { Label, Entries, Wins, Small, Medium, Large, Rate, Won, Postage, ColumnCount };

} // namespace

AnalysisModel::AnalysisModel(QString dimensionTitle, QObject* parent)
    : QAbstractTableModel(parent), m_title(std::move(dimensionTitle))
{}

void AnalysisModel::setRows(QList<AnalysisRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

QStringList AnalysisModel::headerTexts() const
{
    return {m_title,
            QStringLiteral("応募数"),
            QStringLiteral("当選数"),
            QStringLiteral("小物"),
            QStringLiteral("中物"),
            QStringLiteral("大物"),
            QStringLiteral("当選率"),
            QStringLiteral("当選額"),
            QStringLiteral("郵送料")};
}

QStringList AnalysisModel::rowTexts(int row) const
{
    QStringList texts;
    for (int column = 0; column < ColumnCount; ++column)
        texts.append(data(index(row, column), Qt::DisplayRole).toString());
    return texts;
}

int AnalysisModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int AnalysisModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant AnalysisModel::sortValue(const AnalysisRow& row, int column) const
{
    const Tally& t = row.tally;
    switch (column) {
    case Label:
        return row.label;
    case Entries:
        return t.entries;
    case Wins:
        return t.wins;
    case Small:
        return t.small;
    case Medium:
        return t.medium;
    case Large:
        return t.large;
    case Rate:
        return t.entries == 0 ? 0.0 : double(t.wins) / t.entries;
    case Won:
        return qint64(t.wonAmount.raw());
    case Postage:
        return row.postage;
    }
    return {};
}

QVariant AnalysisModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const AnalysisRow& row = m_rows[index.row()];
    if (role == Qt::UserRole)
        return sortValue(row, index.column());
    if (role == Qt::TextAlignmentRole && index.column() != Label)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Label:
        return row.label.isEmpty() ? QStringLiteral("（なし）") : row.label;
    case Rate:
        return row.tally.winRateText();
    case Won:
        return row.tally.wonAmount.toText();
    default:
        return sortValue(row, index.column()).toString();
    }
}

QVariant AnalysisModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return headerTexts().value(section);
}

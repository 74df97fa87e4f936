#pragma once

#include "diary/Analysis.h"

#include <QAbstractTableModel>

// The rows of one dimension of "分析". Numbers sort by value (Qt::UserRole).
class AnalysisModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    AnalysisModel(QString dimensionTitle, QObject* parent);

    void setRows(QList<AnalysisRow> rows);
    const QList<AnalysisRow>& rows() const { return m_rows; }
    // Header and cells as shown, for saving as CSV.
    QStringList headerTexts() const;
    QStringList rowTexts(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QVariant sortValue(const AnalysisRow& row, int column) const;

    QString m_title;
    QList<AnalysisRow> m_rows;
};

#include "forms/PageLists.h"

#include "forms/ColumnWidths.h"
#include "forms/FormHelpers.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>

QTableView* makeList(const char* name, QAbstractItemModel* model, const QString& accessibleName,
                     bool multiSelect)
{
    auto* view = named(new QTableView, name);
    view->setModel(model);
    view->setAccessibleName(accessibleName);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection
                                       : QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setShowGrid(false);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setSectionsClickable(true);
    return view;
}

void setSummaryColumns(QStandardItemModel* model, QTableView* view,
                       const QList<QPair<const char16_t*, int>>& columns)
{
    model->clear();
    QStringList labels;
    for (const auto& column : columns)
        labels.append(QString::fromUtf16(column.first));
    model->setHorizontalHeaderLabels(labels);
    for (int c = 0; c < columns.size(); ++c)
        view->setColumnWidth(c, columnPixels(columns[c].second, view->fontMetrics()));
}

void fillSummaryList(QStandardItemModel* model, const QList<SummaryListRow>& rows)
{
    model->setRowCount(0);
    for (const SummaryListRow& row : rows) {
        QList<QStandardItem*> items;
        for (int c = 0; c < row.texts.size(); ++c) {
            auto* item = new QStandardItem(row.texts[c]);
            item->setEditable(false);
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                          : Qt::AlignRight | Qt::AlignVCenter);
            const CellStyle style = row.styles.value(c);
            if (style.colour != Rgb())
                item->setForeground(QColor(style.colour.r, style.colour.g, style.colour.b));
            if (style.bold) {
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
            }
            items.append(item);
        }
        model->appendRow(items);
    }
}

QList<QStringList> summaryRows(const QStandardItemModel* model)
{
    QList<QStringList> rows;
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < model->columnCount(); ++c) {
            const QStandardItem* item = model->item(r, c);
            row.append(item ? item->text() : QString());
        }
        rows.append(row);
    }
    return rows;
}

MonthRead::Status summaryProblem(const SummaryReadStatus& status)
{
    return status.unreadable ? MonthRead::Status::Unreadable : MonthRead::Status::Damaged;
}

#include "forms/SummaryPage.h"

#include "forms/frmMain.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QTableView>

void SummaryPage::watchList(QTableView* list, std::optional<int>& picked,
                            std::function<void(int row)> itemClick)
{
    m_list = list;
    m_picked = &picked;
    connect(list, &QTableView::clicked, this,
            [itemClick](const QModelIndex& index) { itemClick(index.row()); });
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [itemClick](const QItemSelection& selected) {
                if (!selected.isEmpty())
                    itemClick(selected.indexes().first().row());
            });
    list->installEventFilter(this);
}

bool SummaryPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Delete || !*m_picked)
            return false;
        m_parts.window.DeleteSelectedEntries();
        return true;
    }
    return MainPage::eventFilter(watched, event);
}

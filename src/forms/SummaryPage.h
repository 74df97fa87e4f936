#pragma once

#include "forms/MainPage.h"

#include <functional>

class QTableView;

// A page whose list holds summary rows (the year and total tabs): a click or the arrow keys
// pick a row, and Delete on a picked row deletes its data, as 削除 does.
class SummaryPage : public MainPage
{
public:
    using MainPage::MainPage;

protected:
    // Wires `list`: a pick calls `itemClick` with the row; `picked` is the row of it the
    // window's state keeps.
    void watchList(QTableView* list, std::optional<int>& picked,
                   std::function<void(int row)> itemClick);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableView* m_list = nullptr;
    std::optional<int>* m_picked = nullptr;
};

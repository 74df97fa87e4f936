#pragma once

#include <QLayout>
#include <QList>

// Lays its items out in a row and starts a new row where the next one no longer fits, so that
// a row of commands wraps on a narrow or high-DPI screen instead of running off its edge.
// Each item keeps its preferred width; what is left of a row goes to the items in it that
// expand horizontally.
class FlowLayout : public QLayout
{
public:
    explicit FlowLayout(QWidget* parent = nullptr);
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;

    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    int gap() const;
    int arrange(const QRect& rect, bool apply) const;

    QList<QLayoutItem*> m_items;
};

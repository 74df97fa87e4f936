#include "forms/FlowLayout.h"

#include <QApplication>
#include <QStyle>
#include <QWidget>

#include <algorithm>

FlowLayout::FlowLayout(QWidget* parent) : QLayout(parent) {}

int FlowLayout::gap() const
{
    if (spacing() >= 0)
        return spacing();
    const QWidget* owner = parentWidget();
    const QStyle* style = owner ? owner->style() : QApplication::style();
    return std::max(0, style->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, owner));
}

FlowLayout::~FlowLayout()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void FlowLayout::addItem(QLayoutItem* item)
{
    m_items.append(item);
}

int FlowLayout::count() const
{
    return static_cast<int>(m_items.size());
}

QLayoutItem* FlowLayout::itemAt(int index) const
{
    return m_items.value(index);
}

QLayoutItem* FlowLayout::takeAt(int index)
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    return m_items.takeAt(index);
}

Qt::Orientations FlowLayout::expandingDirections() const
{
    return Qt::Horizontal;
}

bool FlowLayout::hasHeightForWidth() const
{
    return true;
}

int FlowLayout::heightForWidth(int width) const
{
    return arrange(QRect(0, 0, width, 0), false);
}

QSize FlowLayout::minimumSize() const
{
    // As narrow as the widest item; heightForWidth gives the height that takes.
    QSize least;
    for (const QLayoutItem* item : m_items)
        least = least.expandedTo(item->minimumSize());
    const QMargins m = contentsMargins();
    return least + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize FlowLayout::sizeHint() const
{
    // Everything on one row.
    int width = 0;
    int height = 0;
    for (const QLayoutItem* item : m_items) {
        if (item->isEmpty())
            continue;
        width += (width > 0 ? gap() : 0) + item->sizeHint().width();
        height = std::max(height, item->sizeHint().height());
    }
    const QMargins m = contentsMargins();
    return QSize(width + m.left() + m.right(), height + m.top() + m.bottom());
}

void FlowLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

// Places the items row by row within `rect` (when `apply`) and returns the height used.
int FlowLayout::arrange(const QRect& rect, bool apply) const
{
    const QRect area = rect.marginsRemoved(contentsMargins());
    const int gap = this->gap();
    int y = area.y();
    qsizetype first = 0;
    while (first < m_items.size()) {
        // Take as many items as fit on this row; a row always holds at least one.
        qsizetype end = first;
        int used = 0;
        int height = 0;
        int expanding = 0;
        for (; end < m_items.size(); ++end) {
            const QLayoutItem* item = m_items[end];
            if (item->isEmpty())
                continue;
            const int width = std::min(item->sizeHint().width(), area.width());
            const int needed = used + (used > 0 ? gap : 0) + width;
            if (used > 0 && needed > area.width())
                break;
            used = needed;
            height = std::max(height, item->sizeHint().height());
            if (item->expandingDirections() & Qt::Horizontal)
                ++expanding;
        }
        if (apply) {
            int spare = std::max(0, area.width() - used);
            int x = area.x();
            for (qsizetype i = first; i < end; ++i) {
                QLayoutItem* item = m_items[i];
                if (item->isEmpty())
                    continue;
                int width = std::min(item->sizeHint().width(), area.width());
                if (expanding > 0 && (item->expandingDirections() & Qt::Horizontal)) {
                    const int share = spare / expanding--;
                    width += share;
                    spare -= share;
                }
                item->setGeometry(QRect(x, y, width, height));
                x += width + gap;
            }
        }
        y += height + gap;
        first = end;
    }
    const QMargins m = contentsMargins();
    return y - (y > area.y() ? gap : 0) - area.y() + m.top() + m.bottom();
}

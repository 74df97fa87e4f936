#include "forms/ScreenFit.h"

#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

namespace {

class FittingScrollArea : public QScrollArea
{
public:
    // The page's own size, not the few lines QScrollArea settles for; the window keeps it
    // within the screen.
    QSize sizeHint() const override
    {
        if (!widget())
            return QScrollArea::sizeHint();
        const int edge = 2 * frameWidth();
        QSize size = widget()->sizeHint() + QSize(edge, edge);
        if (const QScreen* s = screen()) {
            const QSize room = s->availableGeometry().size();
            // Scrolling one way takes room for the bar of that way.
            if (size.height() > room.height())
                size.rwidth() += verticalScrollBar()->sizeHint().width();
            if (size.width() > room.width())
                size.rheight() += horizontalScrollBar()->sizeHint().height();
        }
        return size;
    }
};

class ScreenFitter : public QObject
{
public:
    ScreenFitter(QWidget* window, const QWidget* owner) : QObject(window), m_owner(owner) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            auto* window = static_cast<QWidget*>(watched);
            // A first showing takes the whole size the window asks for, where Qt would
            // stop at two thirds of the screen; fitOnScreen then bounds it to the screen.
            if (!m_shown)
                window->resize(window->size().expandedTo(window->sizeHint()));
            m_shown = true;
            fitOnScreen(window, m_owner);
        }
        return false;
    }

private:
    QPointer<const QWidget> m_owner;
    bool m_shown = false;
};

} // namespace

QScrollArea* scrollingPage(QWidget* page)
{
    auto* area = new FittingScrollArea;
    area->setWidget(page);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    return area;
}

void keepOnOwnersScreen(QWidget* window, const QWidget* owner)
{
    window->installEventFilter(new ScreenFitter(window, owner));
}

void fitOnScreen(QWidget* window, const QWidget* owner)
{
    const QScreen* screen = owner && owner->screen() ? owner->screen() : window->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // The title bar and borders, where the window system has told them.
    const QRect inner = window->geometry();
    const QRect outer = window->frameGeometry();
    QSize frame = outer.size() - inner.size();
    // Before the window system has framed it, a title bar of about two lines is assumed.
    if (frame.isNull())
        frame = QSize(0, 2 * window->fontMetrics().height());
    const QSize room = area.size() - frame;
    if (inner.width() > room.width() || inner.height() > room.height())
        window->resize(inner.size().boundedTo(room).expandedTo(window->minimumSize()));
    const QSize whole = window->size() + frame;
    const int x = std::max(area.left(), std::min(outer.left(), area.right() + 1 - whole.width()));
    const int y = std::max(area.top(), std::min(outer.top(), area.bottom() + 1 - whole.height()));
    if (QPoint(x, y) != outer.topLeft())
        window->move(x, y);
}

#pragma once

#include <QElapsedTimer>
#include <QProgressBar>

// Paces progress bars and event processing by time: due() is true at most once per interval,
// so a long step repaints a few times a second, not once per entry.
class ProgressPacer
{
public:
    explicit ProgressPacer(qint64 intervalMs = 50) : m_interval(intervalMs) { m_timer.start(); }

    bool due()
    {
        if (m_timer.elapsed() < m_interval)
            return false;
        m_timer.restart();
        return true;
    }

private:
    QElapsedTimer m_timer;
    qint64 m_interval;
};

// Sets a bar that only reports a figure (not a step in progress) without painting it at once:
// QProgressBar repaints synchronously when it reaches its maximum, which would paint the
// window around it on every save. The bar is painted with the next event-loop pass instead.
inline void setProgressQuietly(QProgressBar* bar, int maximum, int value)
{
    bar->setUpdatesEnabled(false);
    bar->setMaximum(maximum);
    bar->setValue(value);
    bar->setUpdatesEnabled(true); // schedules an ordinary update
}

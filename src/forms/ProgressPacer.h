#pragma once

#include <QElapsedTimer>

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

#pragma once

#include <functional>
#include <utility>

// Keeps a window alive under its own handlers. A box or file dialog that a handler shows
// runs an event loop of its own, and that loop still delivers the window's other events: a
// screen reader can press the window's buttons or close it while the box is up. A window
// that deletes itself on close would then be deleted under the box and under the handler
// that waits for it. So while a handler runs, the window's other commands are ignored and a
// close waits until the handler has ended.
class RunningHandlers
{
public:
    class Scope
    {
    public:
        explicit Scope(RunningHandlers& handlers) : m_handlers(handlers) { ++m_handlers.m_depth; }
        ~Scope()
        {
            if (--m_handlers.m_depth == 0 && m_handlers.m_closeLater)
                std::exchange(m_handlers.m_closeLater, nullptr)();
        }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        RunningHandlers& m_handlers;
    };

    bool running() const { return m_depth > 0; }
    // For a step the window's owner asks for: runs even inside another handler.
    [[nodiscard]] Scope enter() { return Scope(*this); }
    // For a command of the window itself: ignored while another handler runs.
    template <typename Handler> void run(Handler&& handler)
    {
        if (running())
            return;
        const Scope scope(*this);
        std::forward<Handler>(handler)();
    }
    // Keeps `close` for the moment the last running handler ends; false when none runs, and
    // the caller closes now.
    bool closeLater(std::function<void()> close)
    {
        if (!running())
            return false;
        m_closeLater = std::move(close);
        return true;
    }

private:
    int m_depth = 0;
    std::function<void()> m_closeLater;
};

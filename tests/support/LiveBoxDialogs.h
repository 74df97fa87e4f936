#pragma once

#include "support/ScriptedDialogs.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <utility>

// Scripted dialogs whose next box or save dialog, like a real one, runs an event loop of
// its own while it is up, and runs `during` in it: what a screen reader can do to the
// windows meanwhile. Then the box is answered from the queue as usual.
class LiveBoxDialogs : public ScriptedDialogs
{
public:
    std::function<void()> during;

    MessageAnswer message(const MessageBoxSpec& box) override
    {
        runDuring();
        return ScriptedDialogs::message(box);
    }
    QString saveFileName(const FileDialogSpec& spec) override
    {
        runDuring();
        return ScriptedDialogs::saveFileName(spec);
    }

private:
    void runDuring()
    {
        std::function<void()> action = std::exchange(during, nullptr);
        if (!action)
            return;
        QEventLoop loop;
        QTimer::singleShot(0, &loop, action);
        // As the box's own loop does between events: what was deleted later goes now.
        QTimer::singleShot(0, &loop, [&loop] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            loop.quit();
        });
        loop.exec();
    }
};

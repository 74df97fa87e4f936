#pragma once

#include "platform/KeyStroke.h"

#include <QtGlobal>

#include <memory>

// The windows of other programs, as the input assistant needs them: which one is active,
// bringing one back to the front and typing keys into it.
class ForeignWindows
{
public:
    virtual ~ForeignWindows() = default;
    // False where other programs' windows cannot be seen or typed into (Wayland).
    virtual bool available() const = 0;
    // The active top-level window; 0 when none.
    virtual quint64 activeWindow() = 0;
    // Brings the window to the front and waits until it is active; false when that failed.
    virtual bool activate(quint64 window) = 0;
    // The process that owns `window`, where the desktop tells it; 0 otherwise.
    virtual qint64 windowProcess(quint64 window)
    {
        Q_UNUSED(window);
        return 0;
    }
    // Types into the active window; returns once the display has taken the keys.
    virtual bool sendKeys(const QList<KeyStroke>& strokes) = 0;
};

// True when the desktop session is Wayland, where X11 programs cannot reach other windows.
bool isWaylandSession();

// The X11 implementation when this program runs on an X11 display, else one that is not
// available.
std::unique_ptr<ForeignWindows> createForeignWindows();

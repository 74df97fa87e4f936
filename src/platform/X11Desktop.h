#pragma once

// Other programs' windows on an X11 display: which one is active, bringing one to the
// front and typing keys into it. Neither Qt nor X11 headers here, so both sides can use it.

#include <memory>
#include <string>
#include <vector>

namespace x11desktop {

// One key press with modifiers held for it, as keysym names ("Control_L", "v").
struct Stroke
{
    std::vector<std::string> modifiers;
    std::string key;
};

class Session
{
public:
    // A connection of its own to the display named by DISPLAY; null when there is none.
    static std::unique_ptr<Session> open();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The top-level window that has the keyboard now; 0 when none.
    unsigned long activeWindow();
    // Brings `window` to the front and waits until it is active. False when it is gone or
    // did not become active within `timeoutMs`.
    bool activate(unsigned long window, int timeoutMs);
    // The process that says it owns `window` (_NET_WM_PID); 0 when it does not say.
    long windowProcess(unsigned long window);
    // Types the strokes into whatever window has the keyboard and waits until the server
    // has taken them. False when a key has no key code on this keyboard.
    bool sendKeys(const std::vector<Stroke>& strokes);

private:
    struct Impl;
    explicit Session(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};

} // namespace x11desktop

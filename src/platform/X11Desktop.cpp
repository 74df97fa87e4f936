#include "platform/X11Desktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
extern "C" {
#include <xdo.h>
}

#include <chrono>
#include <thread>

namespace x11desktop {
namespace {

// A window may vanish between two requests; Xlib's default handler would end the process.
int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

} // namespace

struct Session::Impl
{
    Display* display = nullptr;
    xdo_t* xdo = nullptr;
    Atom netActiveWindow = None;

    ~Impl()
    {
        if (xdo)
            xdo_free(xdo);
        if (display)
            XCloseDisplay(display);
    }

    Window root() const { return DefaultRootWindow(display); }

    // One window-valued property of `w`; None when it is missing or `w` is gone.
    Window windowProperty(Window w, const char* name) const
    {
        const Atom property = XInternAtom(display, name, True);
        if (property == None)
            return None;
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, w, property, 0, 1, False, XA_WINDOW, &type, &format, &count,
                               &after, &data) != Success ||
            !data)
            return None;
        const Window value =
            count == 1 && format == 32 ? *reinterpret_cast<const Window*>(data) : None;
        XFree(data);
        return value;
    }

    // True when a window manager runs that keeps _NET_ACTIVE_WINDOW. A manager that has
    // ended leaves its properties on the root window, so its check window must still be there.
    bool managerKeepsActiveWindow() const
    {
        const Window check = windowProperty(root(), "_NET_SUPPORTING_WM_CHECK");
        if (check == None || windowProperty(check, "_NET_SUPPORTING_WM_CHECK") != check)
            return false;
        const Atom supported = XInternAtom(display, "_NET_SUPPORTED", True);
        if (supported == None || netActiveWindow == None)
            return false;
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, root(), supported, 0, 4096, False, XA_ATOM, &type, &format,
                               &count, &after, &data) != Success ||
            !data)
            return false;
        bool found = false;
        const Atom* atoms = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count && !found; ++i)
            found = atoms[i] == netActiveWindow;
        XFree(data);
        return found;
    }

    Window netActive() const { return windowProperty(root(), "_NET_ACTIVE_WINDOW"); }

    // The child of the root window that holds `w`.
    Window topLevelOf(Window w) const
    {
        while (w != None && w != root()) {
            Window rootReturn = None;
            Window parent = None;
            Window* children = nullptr;
            unsigned int count = 0;
            if (!XQueryTree(display, w, &rootReturn, &parent, &children, &count))
                return None;
            if (children)
                XFree(children);
            if (parent == root())
                return w;
            w = parent;
        }
        return None;
    }

    // Without a window manager: the window with the input focus, else the one under the pointer.
    Window focusedTopLevel() const
    {
        Window focus = None;
        int revert = 0;
        XGetInputFocus(display, &focus, &revert);
        if (focus == None || focus == PointerRoot) {
            Window rootReturn = None;
            Window child = None;
            int rx = 0, ry = 0, wx = 0, wy = 0;
            unsigned int mask = 0;
            if (!XQueryPointer(display, root(), &rootReturn, &child, &rx, &ry, &wx, &wy, &mask))
                return None;
            return child;
        }
        return topLevelOf(focus);
    }

    Window active() const
    {
        if (managerKeepsActiveWindow())
            return netActive();
        return focusedTopLevel();
    }

    bool isViewable(Window w) const
    {
        XWindowAttributes attributes;
        return XGetWindowAttributes(display, w, &attributes) && attributes.map_state == IsViewable;
    }
};

Session::Session(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}
Session::~Session() = default;

std::unique_ptr<Session> Session::open()
{
    auto impl = std::make_unique<Impl>();
    impl->display = XOpenDisplay(nullptr);
    if (!impl->display)
        return nullptr;
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(impl->display, &event, &error, &major, &minor))
        return nullptr;
    XSetErrorHandler(ignoreErrors);
    impl->xdo = xdo_new_with_opened_display(impl->display, nullptr, 0);
    if (impl->xdo)
        impl->xdo->quiet = 1;
    impl->netActiveWindow = XInternAtom(impl->display, "_NET_ACTIVE_WINDOW", False);
    return std::unique_ptr<Session>(new Session(std::move(impl)));
}

long Session::windowProcess(unsigned long window)
{
    return window == 0 || !d->xdo ? 0 : xdo_get_pid_window(d->xdo, window);
}

unsigned long Session::activeWindow()
{
    return d->active();
}

bool Session::activate(unsigned long window, int timeoutMs)
{
    if (window == None || !d->isViewable(window))
        return false;
    if (d->managerKeepsActiveWindow() && d->xdo) {
        if (xdo_activate_window(d->xdo, window) != XDO_SUCCESS)
            return false;
    } else {
        // No window manager to ask: raise it and give it the keyboard ourselves.
        XRaiseWindow(d->display, window);
        XSetInputFocus(d->display, window, RevertToParent, CurrentTime);
    }
    XSync(d->display, False);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        if (d->active() == window)
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool Session::sendKeys(const std::vector<Stroke>& strokes)
{
    const auto code = [this](const std::string& name) -> KeyCode {
        const KeySym sym = XStringToKeysym(name.c_str());
        return sym == NoSymbol ? 0 : XKeysymToKeycode(d->display, sym);
    };
    bool allSent = true;
    for (const Stroke& stroke : strokes) {
        std::vector<KeyCode> held;
        for (const std::string& modifier : stroke.modifiers) {
            if (const KeyCode c = code(modifier))
                held.push_back(c);
        }
        const KeyCode key = code(stroke.key);
        if (!key || held.size() != stroke.modifiers.size()) {
            allSent = false;
            continue;
        }
        for (KeyCode c : held)
            XTestFakeKeyEvent(d->display, c, True, CurrentTime);
        XTestFakeKeyEvent(d->display, key, True, CurrentTime);
        XTestFakeKeyEvent(d->display, key, False, CurrentTime);
        for (auto it = held.rbegin(); it != held.rend(); ++it)
            XTestFakeKeyEvent(d->display, *it, False, CurrentTime);
    }
    XSync(d->display, False);
    return allSent;
}

} // namespace x11desktop

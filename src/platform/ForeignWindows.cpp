#include "platform/ForeignWindows.h"

#include "platform/X11Desktop.h"

#include <QGuiApplication>

namespace {

class UnavailableWindows : public ForeignWindows
{
public:
    bool available() const override { return false; }
    quint64 activeWindow() override { return 0; }
    bool activate(quint64) override { return false; }
    bool sendKeys(const QList<KeyStroke>&) override { return false; }
};

class X11Windows : public ForeignWindows
{
public:
    explicit X11Windows(std::unique_ptr<x11desktop::Session> session)
        : m_session(std::move(session))
    {}

    bool available() const override { return true; }
    quint64 activeWindow() override { return m_session->activeWindow(); }
    bool activate(quint64 window) override
    {
        return m_session->activate(static_cast<unsigned long>(window), kActivateTimeoutMs);
    }
    qint64 windowProcess(quint64 window) override
    {
        return m_session->windowProcess(static_cast<unsigned long>(window));
    }
    bool sendKeys(const QList<KeyStroke>& strokes) override
    {
        std::vector<x11desktop::Stroke> keys;
        for (const KeyStroke& stroke : strokes) {
            x11desktop::Stroke key;
            for (const QString& modifier : stroke.modifiers)
                key.modifiers.push_back(modifier.toStdString());
            key.key = stroke.key.toStdString();
            keys.push_back(std::move(key));
        }
        return m_session->sendKeys(keys);
    }

private:
    static constexpr int kActivateTimeoutMs = 1000;
    std::unique_ptr<x11desktop::Session> m_session;
};

} // namespace

bool isWaylandSession()
{
    if (QGuiApplication::platformName() == QLatin1String("wayland"))
        return true;
    return qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

std::unique_ptr<ForeignWindows> createForeignWindows()
{
    // Under Wayland an X11 connection sees only the few X11 programs, not the browser.
    if (QGuiApplication::platformName() != QLatin1String("xcb") || isWaylandSession())
        return std::make_unique<UnavailableWindows>();
    auto session = x11desktop::Session::open();
    if (!session)
        return std::make_unique<UnavailableWindows>();
    return std::make_unique<X11Windows>(std::move(session));
}

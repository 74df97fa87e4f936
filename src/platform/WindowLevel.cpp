#include "platform/WindowLevel.h"

#include <QApplication>
#include <QWidget>
#include <cmath>

namespace {

std::function<void(const QString&)>& windowLevelNotice()
{
    static std::function<void(const QString&)> notice;
    return notice;
}

} // namespace

bool platformKeepsWindowsOnTop(const QString& platformName)
{
    return !platformName.startsWith(QLatin1String("wayland"));
}

void setWindowLevelNotice(std::function<void(const QString& text)> notice)
{
    windowLevelNotice() = std::move(notice);
}

void setTopMost(QWidget* window, bool topMost)
{
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topMost)
        return;
    static bool told = false;
    if (topMost && !told && !platformKeepsWindowsOnTop(QGuiApplication::platformName()) &&
        windowLevelNotice()) {
        told = true;
        windowLevelNotice()(QStringLiteral(
            "このデスクトップ (Wayland) では、ウィンドウを常に手前に表示できません。\r\n"
            "ウィンドウはほかのウィンドウと同じように重なります。"));
    }
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
    // Changing the flags hides the window; show it again where it was.
    if (visible)
        window->show();
}

void restoreIfMinimised(QWidget* window)
{
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
}

void bringToFront(QWidget* window)
{
    restoreIfMinimised(window);
    window->show();
    window->raise();
    window->activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != window) {
        modal->raise();
        modal->activateWindow();
    }
}

int pixelsToTwips(int pixels, double logicalDpi)
{
    return static_cast<int>(std::lround(pixels * 1440.0 / logicalDpi));
}

int twipsToPixels(int twips, double logicalDpi)
{
    return static_cast<int>(std::lround(twips * logicalDpi / 1440.0));
}

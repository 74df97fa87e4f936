#pragma once

#include <QString>
#include <functional>

class QWidget;

// Puts a top-level window into the top-most layer or back into the normal one without
// moving or resizing it. Where the window system does not let a program do that (Wayland),
// the first request of a run is told through the notice below instead.
void setTopMost(QWidget* window, bool topMost);

// Whether windows of the platform plugin `platformName` can be kept on top by the program.
bool platformKeepsWindowsOnTop(const QString& platformName);
// What tells the user, once a run, that "always on top" cannot be done here.
void setWindowLevelNotice(std::function<void(const QString& text)> notice);

// Restores a minimised window so that its real position can be read.
void restoreIfMinimised(QWidget* window);

// Brings a window to the front, restored if it was minimised, with the box or dialog it
// waits for (if any) above it.
void bringToFront(QWidget* window);

// Window edges are stored in twips: 15 per pixel at 96 dots per inch.
int pixelsToTwips(int pixels, double logicalDpi = 96.0);
int twipsToPixels(int twips, double logicalDpi = 96.0);

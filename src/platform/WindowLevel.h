#pragma once

class QWidget;

// Puts a top-level window into the top-most layer or back into the normal one without
// moving or resizing it.
void setTopMost(QWidget* window, bool topMost);

// Restores a minimised window so that its real position can be read.
void restoreIfMinimised(QWidget* window);

// Brings a window to the front, restored if it was minimised, with the box or dialog it
// waits for (if any) above it.
void bringToFront(QWidget* window);

// Window edges are stored in twips: 15 per pixel at 96 dots per inch.
int pixelsToTwips(int pixels, double logicalDpi = 96.0);
int twipsToPixels(int twips, double logicalDpi = 96.0);

#pragma once

#include <QScrollArea>
class QWidget;

// Small and high-DPI screens: a window whose contents cannot shrink scrolls them instead,
// and every window opens fully on its owner's screen.

// A scrolling frame for `page`: as large as the page where the screen has room, else as
// large as the screen allows, with scroll bars.
QScrollArea* scrollingPage(QWidget* page);

// Each time `window` is shown, shrinks it to the available area of its owner's screen (its
// own screen without an owner) and moves it fully onto that area.
void keepOnOwnersScreen(QWidget* window, const QWidget* owner);

// The same once, now.
void fitOnScreen(QWidget* window, const QWidget* owner);

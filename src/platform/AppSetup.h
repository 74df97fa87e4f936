#pragma once

#include <QString>

class Dialogs;

// What both programs tell Qt and the desktop before their first window: their name, icon
// and desktop entry (the window class on X11, the app id on Wayland), and Qt's own texts
// (standard buttons, file dialogs, context menus) in Japanese.
// What the window system does not allow (a window kept on top under Wayland) is told in a
// box captioned `caption`.
void setUpApplication(const QString& name, const QString& desktopEntry);
void tellWindowLimits(Dialogs& dialogs, const QString& caption);

// Loads Qt's Japanese translation into the running application; false when Qt's file is
// missing (Debian's qt6-translations-l10n), when its dialogs stay in English.
bool installQtJapanese();

#pragma once

#include <QString>

// What both programs tell Qt and the desktop before their first window: their name, icon
// and desktop entry (the window class on X11, the app id on Wayland), and Qt's own texts
// (standard buttons, file dialogs, context menus) in Japanese.
void setUpApplication(const QString& name, const QString& desktopEntry);

// Loads Qt's Japanese translation into the running application; false when Qt's file is
// missing (Debian's qt6-translations-l10n), when its dialogs stay in English.
bool installQtJapanese();

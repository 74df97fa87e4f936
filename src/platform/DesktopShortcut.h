#pragma once

#include <QString>

// Writes (or replaces) an XDG desktop entry named `name` on the user's desktop that starts
// `program`, with the icon `program`.svg when there is one. Returns an empty string on
// success, else what went wrong.
QString createDesktopShortcut(const QString& desktopFolder, const QString& name,
                              const QString& program, const QString& comment);

// The user's desktop folder.
QString userDesktopFolder();

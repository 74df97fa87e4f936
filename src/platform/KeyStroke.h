#pragma once

#include <QString>
#include <QStringList>

// One key press with the modifiers held for it, as X11 keysym names ("Control_L", "v").
struct KeyStroke
{
    QStringList modifiers;
    QString key;
    bool operator==(const KeyStroke&) const = default;
};

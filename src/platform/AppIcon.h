#pragma once

#include <QIcon>

// The icon of both programs' windows (zumicho.svg, compiled in). Needs Qt's SVG plugins.
QIcon applicationIcon();

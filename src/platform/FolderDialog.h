#pragma once

#include <QString>

class QWidget;

// Lets the user pick a folder. The prompt stands in full above the folder view, however
// many lines it has; the window title is the dialog's own. Empty when cancelled.
QString chooseFolder(QWidget* parent, const QString& prompt, const QString& startFolder);

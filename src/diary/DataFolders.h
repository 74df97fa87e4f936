#pragma once

#include <QString>
#include <QStringList>

// The year folders below the data folder, in ascending order ("0000" and "ini" never count).
QStringList listYearFolders(const QString& dataFolder);

#pragma once

#include <QByteArray>
#include <QString>

// Reads settings files the way the Windows profile reader does: section and key are
// matched without regard to case, the value is trimmed of surrounding blanks and one pair
// of enclosing quotes, at most 255 characters are returned, and anything missing reads as
// the empty string. The text is code page 932.

QString GetIniValue(const QString& section, const QString& key, const QByteArray& plainText);

// Reads a plain file from disk (the old settings file of an earlier layout).
QString GetIniValue(const QString& section, const QString& key, const QString& filePath);

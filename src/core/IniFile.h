#pragma once

#include <QByteArray>
#include <QString>

// Reads settings files the way the Windows profile reader does: section and key are
// matched without regard to case, the value is trimmed of surrounding blanks and one pair
// of enclosing quotes, at most 255 characters are returned, and anything missing reads as
// the empty string. The text is code page 932.

// A value that holds bytes which are not code page 932 reads as empty: such text could
// never be written back.
QString GetIniValue(const QString& section, const QString& key, const QByteArray& plainText);

// True when the text is a settings file as the programs write it: code page 932 without
// NUL bytes, holding the section `section`, its last line ended. Anything else (random
// bytes, a file cut short) is damaged.
bool isSoundIniText(const QByteArray& plainText, const QString& section);

// Reads a plain file from disk (the old settings file of an earlier layout).
QString GetIniValue(const QString& section, const QString& key, const QString& filePath);

#pragma once

#include <QString>
#include <QStringView>

// Blanks are the ASCII space and tab only: a full-width space (U+3000) is text, both in
// settings values and in listings copied from the contest site.
inline bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// `text` without the blanks at either end.
QString trimBlanks(QStringView text);

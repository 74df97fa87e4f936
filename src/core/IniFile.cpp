#include "core/IniFile.h"

#include "core/AtomicFile.h"
#include "core/Blanks.h"
#include "core/Cp932.h"

#include <QStringList>

namespace {

constexpr qsizetype kMaxValueLength = 255;

QString unquote(const QString& value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

} // namespace

QString GetIniValue(const QString& section, const QString& key, const QByteArray& plainText)
{
    QString text;
    cp932::decode(plainText, text); // undecodable bytes still leave readable keys
    const QStringList lines = text.split(QLatin1Char('\n'));
    bool inSection = false;
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = trimBlanks(line);
        if (trimmed.startsWith(QLatin1Char('['))) {
            const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
            const QString name =
                trimBlanks(QStringView(trimmed).mid(1, close < 0 ? -1 : close - 1));
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection || trimmed.startsWith(QLatin1Char(';')))
            continue;
        const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        if (trimBlanks(QStringView(trimmed).left(equals)).compare(key, Qt::CaseInsensitive) != 0)
            continue;
        const QString value = unquote(trimBlanks(QStringView(trimmed).mid(equals + 1)));
        if (value.contains(QChar::ReplacementCharacter))
            return QString();
        // The Windows reader hands back the text up to the first NUL.
        const qsizetype nul = value.indexOf(QChar(0));
        return value.left(std::min(nul < 0 ? value.size() : nul, kMaxValueLength));
    }
    return QString();
}

bool isSoundIniText(const QByteArray& plainText, const QString& section)
{
    QString text;
    if (plainText.contains('\0') || !cp932::decode(plainText, text) || !text.endsWith(u'\n'))
        return false;
    for (const QString& line : text.split(u'\n')) {
        const QString trimmed =
            trimBlanks(line.endsWith(u'\r') ? QStringView(line).chopped(1) : QStringView(line));
        if (trimmed.size() >= 2 && trimmed.front() == u'[' && trimmed.back() == u']' &&
            trimBlanks(QStringView(trimmed).mid(1, trimmed.size() - 2))
                    .compare(section, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString GetIniValue(const QString& section, const QString& key, const QString& filePath)
{
    const ReadResult read = readWholeFile(filePath, 16 * 1024 * 1024);
    if (!read.ok)
        return QString();
    return GetIniValue(section, key, read.bytes);
}

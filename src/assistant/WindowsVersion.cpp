#include "WindowsVersion.h"

#include <QStringList>

void WindowsVersion::correctFromVer(QString output)
{
    output.remove(QStringLiteral("\r\n"));
    if (output.isEmpty())
        return;
    if (!output.back().isDigit())
        output.chop(1); // the closing bracket
    const QString marker = QStringLiteral("version ");
    const qsizetype at = output.toLower().indexOf(marker);
    if (at < 0)
        return;
    const QStringList parts = output.mid(at + marker.size()).split(u'.');
    bool ok = false;
    if (parts.size() > 0) {
        if (const int v = parts[0].trimmed().toInt(&ok); ok)
            major = v;
    }
    if (parts.size() > 1) {
        if (const int v = parts[1].trimmed().toInt(&ok); ok)
            minor = v;
    }
    if (parts.size() > 2) {
        if (const int v = parts[2].trimmed().toInt(&ok); ok)
            build = v;
    }
}

int WindowsVersion::widthAdjustment() const
{
    if (major <= 5)
        return -400;
    if (major == 6 && minor <= 3)
        return 0;
    return 600;
}

#include "diary/DataFolders.h"

#include <QDir>
#include <QRegularExpression>

QStringList listYearFolders(const QString& dataFolder)
{
    static const QRegularExpression year(QStringLiteral("^\\d{4}$"));
    QStringList years;
    for (const QString& name :
         QDir(dataFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (year.match(name).hasMatch() && name != u"0000")
            years.append(name);
    }
    return years;
}

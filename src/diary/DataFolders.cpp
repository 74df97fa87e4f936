#include "diary/DataFolders.h"

#include <QDir>
#include <QRegularExpression>

namespace {

void walk(const QString& folder, bool fullPaths, QStringList& out)
{
    const QFileInfoList children =
        QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& child : children) {
        const QString path = QDir::toNativeSeparators(child.absoluteFilePath());
        if (fullPaths)
            out.append(path);
        else if (path.endsWith(QDir::separator() + QStringLiteral("ini")))
            out.append(QStringLiteral("ini"));
        else
            out.append(path.right(4));
        walk(child.absoluteFilePath(), fullPaths, out);
    }
}

} // namespace

QStringList ListDataFolders(const QString& root, bool fullPaths, bool keepIni)
{
    QStringList out;
    walk(root, fullPaths, out);
    if (!keepIni) {
        out.removeIf([](const QString& entry) {
            return entry.right(3).compare(QStringLiteral("ini"), Qt::CaseInsensitive) == 0;
        });
    }
    return out;
}

QStringList listYearFolders(const QString& dataFolder)
{
    static const QRegularExpression year(QStringLiteral("^\\d{4}$"));
    QStringList years;
    for (const QString& name : QDir(dataFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (year.match(name).hasMatch() && name != u"0000")
            years.append(name);
    }
    return years;
}

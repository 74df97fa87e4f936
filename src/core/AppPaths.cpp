#include "core/AppPaths.h"

#include <QDir>

AppPaths::AppPaths(QString programFolder) : m_program(QDir::cleanPath(std::move(programFolder))) {}

QString AppPaths::dataFolder() const
{
    return m_program + QStringLiteral("/data");
}
QString AppPaths::iniFolder() const
{
    return dataFolder() + QStringLiteral("/ini");
}
QString AppPaths::settingsPath() const
{
    return iniFolder() + QStringLiteral("/zumicho.ini");
}
QString AppPaths::oldSettingsPath() const
{
    return m_program + QStringLiteral("/zumicho.ini");
}
QString AppPaths::yearFolder(const QString& year) const
{
    return dataFolder() + u'/' + year;
}

QString AppPaths::monthFilePath(const QString& year, const QString& month) const
{
    return yearFolder(year) + u'/' + month + QStringLiteral(".log");
}

QString AppPaths::summaryFolder() const
{
    return dataFolder() + QStringLiteral("/0000");
}

QString AppPaths::yearSummaryPath(const QString& year) const
{
    return summaryFolder() + u'/' + year + QStringLiteral(".log");
}

QString AppPaths::totalSummaryPath() const
{
    return summaryFolder() + QStringLiteral("/total.log");
}
QString AppPaths::assistantSettingsPath() const
{
    return iniFolder() + QStringLiteral("/zumikey.ini");
}
QString AppPaths::profilePath() const
{
    return iniFolder() + QStringLiteral("/user.dat");
}

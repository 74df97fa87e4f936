#include "core/AppPaths.h"

#include "core/FileCrypto.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>

const QString AppPaths::kSystemInstallMark = QStringLiteral("system-install");

AppPaths::AppPaths(QString programFolder) : AppPaths(programFolder, programFolder) {}

AppPaths::AppPaths(QString programFolder, QString dataHome)
    : m_program(QDir::cleanPath(std::move(programFolder))),
      m_home(QDir::cleanPath(std::move(dataHome)))
{}

AppPaths AppPaths::forInstall(const QString& programFolder)
{
    if (!QFileInfo::exists(programFolder + u'/' + kSystemInstallMark))
        return AppPaths(programFolder);
    const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                         QStringLiteral("/zumicho");
    // The lock lies beside data/, so this folder must be there before anything else.
    if (!QFileInfo::exists(home) && QDir().mkpath(home))
        ::chmod(QFile::encodeName(home).constData(), 0700);
    return AppPaths(programFolder, home);
}

QString AppPaths::dataFolder() const
{
    return m_home + QStringLiteral("/data");
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
    return m_home + QStringLiteral("/zumicho.ini");
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
QString AppPaths::personChoicePath() const
{
    return iniFolder() + QStringLiteral("/zumikey-person.ini");
}

QString AppPaths::keyRecordPath() const
{
    return iniFolder() + QStringLiteral("/key.txt");
}

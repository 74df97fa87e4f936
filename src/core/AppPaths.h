#pragma once

#include <QString>

// Where the diary and the assistant keep their files, all below the program folder.
class AppPaths
{
public:
    explicit AppPaths(QString programFolder);

    const QString& programFolder() const { return m_program; }
    QString dataFolder() const;
    QString iniFolder() const;
    QString settingsPath() const;    // data/ini/zumicho.ini
    QString oldSettingsPath() const; // zumicho.ini of the older layout, in the program folder
    QString yearFolder(const QString& year) const;
    QString monthFilePath(const QString& year, const QString& month) const;
    QString summaryFolder() const; // data/0000
    QString yearSummaryPath(const QString& year) const;
    QString totalSummaryPath() const;
    QString assistantSettingsPath() const; // data/ini/zumikey.ini
    QString profilePath() const;           // data/ini/user.dat

private:
    QString m_program;
};

#pragma once

#include <QString>

#include <memory>

class DiaryKey;

// Where the diary and the assistant keep their files: data/ below the program folder, or
// below the user's own data folder when the programs are installed system-wide.
class AppPaths
{
public:
    explicit AppPaths(QString programFolder);
    AppPaths(QString programFolder, QString dataHome);
    // The layout of an installed program folder: a system-wide install carries the mark
    // kSystemInstallMark, and its data/ lies in $XDG_DATA_HOME/zumicho (created 0700).
    static AppPaths forInstall(const QString& programFolder);
    static const QString kSystemInstallMark;

    // The programs and the manual.
    const QString& programFolder() const { return m_program; }
    // The folder that holds data/ and the marks of unfinished work beside it.
    const QString& dataHome() const { return m_home; }
    QString dataFolder() const;
    QString iniFolder() const;
    QString settingsPath() const;    // data/ini/zumicho.ini
    QString oldSettingsPath() const; // zumicho.ini of the older layout, beside data/
    QString yearFolder(const QString& year) const;
    QString monthFilePath(const QString& year, const QString& month) const;
    QString summaryFolder() const; // data/0000
    QString yearSummaryPath(const QString& year) const;
    QString totalSummaryPath() const;
    QString assistantSettingsPath() const; // data/ini/zumikey.ini
    QString profilePath() const;           // data/ini/user.dat
    QString personChoicePath() const;      // data/ini/zumikey-person.ini
    QString keyRecordPath() const;         // data/ini/key.txt, only while encrypted

    // The key that opens an encrypted diary's files once the start password was typed, else
    // null. Copies of one AppPaths share it, so the key set at login reaches every window and
    // every reader built from them; it is wiped when the last copy goes.
    const DiaryKey* dataKey() const { return m_key->get(); }
    const std::shared_ptr<const DiaryKey>& sharedDataKey() const { return *m_key; }
    void setDataKey(std::shared_ptr<const DiaryKey> key) const { *m_key = std::move(key); }

private:
    QString m_program;
    QString m_home;
    std::shared_ptr<std::shared_ptr<const DiaryKey>> m_key =
        std::make_shared<std::shared_ptr<const DiaryKey>>();
};

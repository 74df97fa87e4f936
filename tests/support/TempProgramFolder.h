#pragma once

#include "core/AppPaths.h"
#include "diary/EntryRecord.h"

#include <QList>
#include <QTemporaryDir>

// A throw-away program folder with the data layout below it.
class TempProgramFolder
{
public:
    TempProgramFolder();
    QString path() const { return m_dir.path(); }
    AppPaths paths() const { return AppPaths(m_dir.path()); }

    // Writes a plain settings file image scrambled into data/ini/zumicho.ini.
    void writeSettings(const QByteArray& plainText) const;
    // Writes a month file (scrambled) with the given entries and optional password line.
    void writeMonth(const QString& year, const QString& month, const QList<EntryRecord>& entries,
                    const QString& passwordLine = QString()) const;
    // The unscrambled bytes of a file below the program folder ("data/2026/07.log").
    QByteArray plainFile(const QString& relativePath) const;

private:
    QTemporaryDir m_dir;
};

// A complete entry for tests; fields not given are filled with ordinary values.
EntryRecord makeEntry(const QString& keyDate, const QString& id,
                      const QString& present = QStringLiteral("賞品"),
                      const QString& kekka = QStringLiteral("不明"),
                      const QString& happyMoney = QStringLiteral("0"));

#pragma once

#include "core/AppPaths.h"
#include "diary/MonthFile.h"
#include "diary/Settings.h"
#include "diary/SettingsApply.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// Switching the encryption of the data files on or off, or giving an encrypted diary a new
// key (a new start password): every month file and both kinds of summary file are written
// anew under the new lock, as one unit with the settings and the key record.

// What an apply does to the lock of the stored files, from the settings as stored (with the
// key opened at login) to the wanted ones.
struct LockPlan
{
    MonthLock from;
    MonthLock to;
    std::shared_ptr<const DiaryKey> key;  // in force afterwards; null when not encrypted
    KeyRecord record;                     // in force afterwards; invalid when not encrypted
    std::optional<QString> keyRecordText; // key.txt afterwards (empty: none) when it changes
    QString error;                        // why the wanted lock cannot be made
    // The files must be written anew: encryption goes on or off, or the key changes.
    bool reseals() const { return keyRecordText.has_value(); }
};

// `wanted.encryptData` is the wish; `wanted.startPasswordText` the password typed in this run
// (empty when it was not typed again). An encrypted diary keeps its key unless a different
// password was set; a new key is derived here, which takes a moment.
LockPlan planLocks(const Settings& stored, const std::shared_ptr<const DiaryKey>& currentKey,
                   const Settings& wanted);

struct Reseal
{
    // Files that cannot be read under the old lock: the unit is then not started, since it
    // would leave them behind in the old form.
    QStringList refused;
    QStringList damaged;
    int rewritten = 0;
    QString error;          // empty when the unit is done
    bool committed = false; // the new settings are decided; an unfinished unit ends at start-up
};

// `from` opens the files as they are; `to` is what they are written with. `keyRecord` is the
// text of key.txt afterwards (empty: no key.txt). Every new file is staged and read back
// before `writeCommit` decides the unit; until then nothing stored is touched.
Reseal resealDataFiles(const AppPaths& paths, const MonthLock& from, const MonthLock& to,
                       const QString& keyRecord, const CommitWriter& writeCommit,
                       const ApplyProgress& progress = {});

#pragma once

#include "core/AppPaths.h"
#include "diary/ApplyUnit.h"
#include "diary/EntryRecord.h"
#include "diary/MonthFile.h"
#include "diary/Summaries.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Bringing the stored month files into line with applied settings: a new key date moves
// every entry into the month of its new key date; a new start password rewrites the
// password line of every month file. Passwords here are the ones in force (empty when the
// start password is off or has no text).

// Progress of a rewrite: `value` of `maximum` (0 when the maximum is not known yet).
using ApplyProgress = std::function<void(int value, int maximum)>;

struct StoredMonth
{
    QString year;
    int month = 0; // 1-12
    QString path;
    QList<EntryRecord> entries;
};

// Every month file of every year folder, read under the new or the old password.
struct StoredMonths
{
    QList<StoredMonth> months;
    QStringList unreadable;  // refused (a third password) or damaged
    QStringList refused;     // of those, the ones under a third password
    QStringList badKeyDates; // files holding an entry whose other date is no "yyyy/MM/dd"
    int records = 0;
    bool canChangeKey() const { return unreadable.isEmpty() && badKeyDates.isEmpty(); }
};

// A lock is the password line in force and, for an encrypted diary, the key.
StoredMonths readStoredMonths(const AppPaths& paths, const MonthLock& oldLock,
                              const MonthLock& newLock, const ApplyProgress& progress = {});

// Exchanges the key date and the other date of every entry, orders all entries by key date
// and ID number (IDs lose leading zeros) and groups them by the month of the new key date.
QList<StoredMonth> regroupByNewKey(const StoredMonths& stored, const ApplyProgress& progress = {});

// Writes the settings file image that goes with the new month files to `path`; empty on
// success, else what went wrong.
using CommitWriter = std::function<QString(const QString& path)>;

struct KeyRewrite
{
    QString error;                  // empty when the new months are in place
    bool committed = false;         // the swap was decided; an unfinished one ends at start-up
    bool showTargetMessage = false; // the rebuilt totals reach the target
};

// Replaces every year folder and the summary folder with `months` (from regroupByNewKey),
// written with `newPassword`'s line and fresh summaries (no expenses). The new folders are
// built and checked in a staging folder first; `writeCommit` then stores the new settings
// beside them, which decides the swap, and the folders are exchanged by renames. Until the
// commit nothing stored is touched; after it a crash is finished by finishInterruptedApply.
// `keyRecord` is what key.txt becomes with the unit (see stageKeyRecord).
KeyRewrite rewriteKeyDates(const AppPaths& paths, const QList<StoredMonth>& months, int records,
                           const MonthLock& newLock, const TargetState& target,
                           const CommitWriter& writeCommit, const ApplyProgress& progress = {},
                           const std::optional<QString>& keyRecord = std::nullopt);

struct PasswordRewrite
{
    // Left as they are: under neither the old nor the new password, or damaged.
    QStringList refused;
    QStringList damaged;
    int rewritten = 0;      // files that carry the new line once the unit is done
    QString error;          // empty when the unit is done; names the user's file
    bool committed = false; // the new settings are decided; an unfinished unit ends at start-up
};

// Brings every month file that carries the old password's line (or none) to the new one as
// one unit with the settings: the rewritten files are staged and checked first, `writeCommit`
// then stores the new settings beside them, which decides the unit, and the staged files are
// renamed over their originals. Before the commit nothing stored is touched; after it a crash
// is finished by finishInterruptedApply. Files already in line are not touched.
PasswordRewrite rewritePasswordLines(const AppPaths& paths, const MonthLock& oldLock,
                                     const MonthLock& newLock, const CommitWriter& writeCommit,
                                     const ApplyProgress& progress = {});

#pragma once

#include "core/AppPaths.h"
#include "diary/EntryRecord.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

// What the crash driver runs: each operation in a child process over a copy of a small
// diary, killed at a random moment, and the state the next start finds checked.

enum class CrashOp {
    Registration,
    Import,
    Apply,
    Password,
    Backup,
    Restore,
    EncryptOn, // the data files' encryption switched on and off, from off
    EncryptOff // the same, from on
};
// The encryption operations, whose diary has the start password switched on.
inline bool encrypts(CrashOp op)
{
    return op == CrashOp::EncryptOn || op == CrashOp::EncryptOff;
}

QString opName(CrashOp op);
std::optional<CrashOp> opFromName(const QString& name);
QList<CrashOp> allOps();

// The day the child's clock shows.
inline const QDate kCrashToday(2026, 3, 15);

// One run: program/ holds the diary, place/ is where backups go, journal.txt lists what
// the child finished. The journal has one line per finished operation: a tag and the
// prizes ("賞品名", unique in the fixture) of the entries it committed.
struct RunFolder
{
    QString root;
    QString program() const { return root + QStringLiteral("/program"); }
    AppPaths paths() const { return AppPaths(program()); }
    QString place() const { return root + QStringLiteral("/place"); }
    QString journal() const { return root + QStringLiteral("/journal.txt"); }
    // The backup folder of the day inside place/.
    QString dayBackup() const;
    // For a restore: the backup the child restores from (another diary than program/).
    QString restoreSource() const { return place() + QStringLiteral("/20260301_zumicho_backup"); }
};

// One entry of the base diary, with both dates, so its key date can be checked under
// either key.
struct BaseEntry
{
    EntryRecord record; // key date is the entry date
    QDate nowDay;
    QDate endDay;
};

QList<BaseEntry> baseEntries();

// Expenses booked in the year rows of the base diary, by "yyyy/MM".
QMap<QString, qint64> baseExpenses();

// The entries the child registers (registration) or imports (import), in order; the
// prizes identify them.
struct PlannedEntry
{
    QString present;
    QDate nowDay;
    QDate endDay;
};
QList<PlannedEntry> registrationPlan();
QList<QList<PlannedEntry>> importPlan();
// The clipboard text of one import, as copied from the contest-information site.
QString importClipboard(const QList<PlannedEntry>& listings, int firstId);
// How many times the child applies a key change (or switches the start password on or off),
// and how many backups it makes.
constexpr int kApplyRounds = 4;
// The start password the fixture of the password operation stores, still switched off.
inline const QString kCrashPassword = QStringLiteral("pw");
// What apply rounds switch (the deadline key, the start password): round r (from 0) switches
// it on when r is even, so after `rounds` finished rounds it is on when `rounds` is odd.
inline bool switchedOnAfter(int rounds)
{
    return rounds % 2 == 1;
}
constexpr int kBackupRounds = 3;

// User files that live in the day's backup folder and must survive every backup.
QMap<QString, QByteArray> userFilesInBackup();

// Builds the template of a run for `op` below `root` (program/, place/); returns an error
// text or an empty string.
QString buildFixture(CrashOp op, const RunFolder& run);

// Every file below `folder` by relative path with its bytes (hidden ones included).
QMap<QString, QByteArray> filesBelow(const QString& folder);

// Copies a folder tree; false on any failure.
bool copyFolder(const QString& from, const QString& to);

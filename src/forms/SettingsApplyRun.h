#pragma once

#include "diary/DataReseal.h"
#include "diary/Settings.h"
#include "diary/SettingsApply.h"
#include "forms/ProgressPacer.h"

#include <QStringList>

struct MainParts;
class SettingsPage;

// One run of the settings tab's 適用: the key date's rewrite of every month file, the
// password lines' rewrite (which stores the settings with them) and the total's target
// column. Everything that failed goes into one box at the end: what was not applied, then why.
class SettingsApplyRun
{
public:
    SettingsApplyRun(MainParts& parts, SettingsPage& page);
    void run();

private:
    enum class KeyApply { Rewritten, Kept, Ended };

    // The settings the run stores: the controls, and the encryption the box asks for.
    Settings wantedSettings() const;
    // Settles the lock of the files; false when the user stopped the run (nothing changed).
    bool planLock();
    bool confirmEncryption();
    KeyApply applyKeyChange();
    // False when the run had to end the program.
    bool applyPassword();
    bool applyReseal();
    // Once a unit with a new lock is decided: the settings and the key in memory follow it.
    void takeNewLock(const Settings& wanted);
    void applyTargetColumn();
    void showProgress(int value, int maximum);
    CommitWriter commitWriter(const Settings& wanted) const;
    // A committed rewrite that could not finish: running on would read and write a mix.
    // The program ends; the next start finishes it, or says why it cannot.
    void endUnfinished(const QString& error);
    void rebuildEntryColumns();

    MainParts& m_parts;
    SettingsPage& m_page;
    Settings m_stored;
    LockPlan m_lock;
    int m_top = 0;
    int m_left = 0;
    ProgressPacer m_pacer;
    ApplyProgress m_progress;
    QStringList m_notApplied;
    QStringList m_problems;
};

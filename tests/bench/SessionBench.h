#pragma once

#include <QList>
#include <QString>

class QApplication;

// The steps as a user meets them: the diary started afresh in its own process on a real X
// display, the first, second and third search of that process, and one registration as the
// first action of a fresh window and after a search; each once as desktops start it and once
// with the accessibility bus on (as with a screen reader).
struct SessionTiming
{
    QString step;
    double ms = 0;
};

// Runs the child processes over a copy of the diary in `programFolder` and returns their
// timings; empty when no X server or no session bus could be started (the reason is printed).
QList<SessionTiming> measureSessions(const QString& programFolder, const QString& label);

// The child's side: `zumibench --fresh-process PROGRAM_FOLDER searches|register` prints one line
// "ms<TAB>step" per step. Returns the exit code.
int runSessionChild(QApplication& app, const QString& programFolder, const QString& mode);

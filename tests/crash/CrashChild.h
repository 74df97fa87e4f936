#pragma once

#include "CrashFixture.h"

// Runs `op` through the main window over the run's program folder: prints "ready" once the
// window is loaded and "done" when every round has returned, journaling each round that
// finished without an error box. Needs a QApplication.
int runChild(CrashOp op, const RunFolder& run);

// Runs the start-up path of the diary over the run's program folder, as the next start
// after the kill would, and checks what it leaves against the journal and the template
// the run was copied from. Returns one line per failed check ("check: detail").
QStringList recoverAndCheck(CrashOp op, const RunFolder& run, const RunFolder& fixture);

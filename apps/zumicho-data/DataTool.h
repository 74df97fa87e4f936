#pragma once

#include <QStringList>
#include <QTextStream>

// The data tool's commands, kept apart from main() so tests can run them in-process.
// Returns the process exit status: 0 done, 1 the file could not be used, 2 a usage error.
int runDataTool(const QStringList& arguments, QIODevice& out, QTextStream& err);

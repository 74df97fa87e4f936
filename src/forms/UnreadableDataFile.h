#pragma once

#include "diary/MonthFile.h"

class Dialogs;
class QString;

// Tells the user that a data file could not be read, and why: a password that does not match
// is an authentication error; a damaged file, or one that cannot be opened, is a file error,
// and the file is left untouched.
void reportUnreadableDataFile(Dialogs& dialogs, const QString& path, MonthRead::Status why);
// The same for a month file that no password the caller holds could read: it is looked at
// again to tell damage from a password that does not match.
void reportUnreadableDataFile(Dialogs& dialogs, const QString& path);
// One box for the files one step could not read: each named with why.
void reportUnreadableDataFiles(Dialogs& dialogs, const QList<UnreadableMonth>& files);

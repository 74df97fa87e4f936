#pragma once

class Dialogs;
class QString;

// Tells the user that a data file could not be read (damaged, or carrying another password).
void reportUnreadableDataFile(Dialogs& dialogs, const QString& path);

#pragma once

#include "core/Dialogs.h"
#include "diary/EntryRecord.h"
#include "diary/Settings.h"

#include <QList>
#include <QString>

// Asking before an entry that is already registered in the month on show is registered
// again. Only while "登録前に重複確認する" (Settings::noTyohuku) is on.

// Eleven labelled lines joined by CR LF, no line break after the last: ID, deadline, site,
// URL, genre, prize, winners, entry format, selection method, cycle, entry method. The
// deadline is the key date or the other date, whichever the key setting makes it.
QString DuplicateCheckText(const EntryRecord& entry, bool keyIsEndDay);

// "以下の内容は登録済みですが登録しますか？", a blank line and the described entry.
MessageBoxSpec duplicateQuestion(const QString& duplicateText);

// Index of the first row described exactly like `candidate`, or -1.
qsizetype findDuplicateRow(const QList<EntryRecord>& monthRows, const EntryRecord& candidate,
                           bool keyIsEndDay);

// Entry form: `candidate` is the entry as it will be stored (quote marks already replaced).
// True when it may be registered: no equal row, the check is off, or the user said Yes.
bool mayRegisterEntry(const QList<EntryRecord>& monthRows, const EntryRecord& candidate,
                      const Settings& settings, Dialogs& dialogs);

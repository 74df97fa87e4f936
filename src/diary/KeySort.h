#pragma once

#include "diary/EntryRecord.h"

#include <QList>
#include <QString>
#include <optional>

// Ordering the month list by key date and ID number after a registration, edit or import,
// while "登録・編集後に構成キーでソートする" (Settings::sortOn) is on. The order of the
// list is the order in which the month file is written.

// The digits of a whole-number ID without leading zeros ("007" gives "7", "000" gives
// "0"); nothing when the text is not made of ASCII digits only.
std::optional<QString> normalizedNumber(const QString& text);

// Stable sort by (key date, ID as a number); equal pairs keep their order. A non-numeric
// ID sorts after the numeric ones of its day and is kept as it is; numeric IDs lose their
// leading zeros. Does nothing when `sortOn` is false.
void SortMonthList(QList<EntryRecord>& rows, bool sortOn);

// Column-header sort of the month and search lists: stable, by `field`, ascending or
// descending. ＩＤ番号 and 当選額 compare as numbers (non-numeric text after numbers, in
// text order) and their numeric values lose leading zeros; other columns compare as text.
void sortByColumn(QList<EntryRecord>& rows, int field, bool descending);

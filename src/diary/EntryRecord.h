#pragma once

#include <QString>
#include <QStringList>
#include <array>

// Positions of the seventeen fields, in list and file order. Position 0 is the key date
// and position 9 the other date; which of the two is the deadline depends on the key.
enum EntryField : int {
    KeyDate = 0,
    ID = 1,
    Site = 2,
    URL = 3,
    Genre = 4,
    Present = 5,
    Kekka = 6,
    HappyMoney = 7,
    Number = 8,
    OtherDate = 9,
    HappyDay = 10,
    OboKeishiki = 11,
    SenkoWay = 12,
    Cycle = 13,
    OboWay = 14,
    Msg = 15,
    Pic = 16,
};
constexpr int kEntryFieldCount = 17;

// A missing win date.
inline const QString kNoHappyDay = QStringLiteral("----/--/--");

// One contest entry: seventeen strings in a fixed order.
struct EntryRecord
{
    std::array<QString, kEntryFieldCount> fields;

    QString& operator[](int field) { return fields[field]; }
    const QString& operator[](int field) const { return fields[field]; }
    bool operator==(const EntryRecord&) const = default;

    // An entry counts as won when its result contains "当選".
    bool isWon() const;
    bool hasHappyDay() const
    {
        return fields[HappyDay] != kNoHappyDay && !fields[HappyDay].isEmpty();
    }

    QStringList toStringList() const;
    static EntryRecord fromStringList(const QStringList& list);
};

Q_DECLARE_TYPEINFO(EntryRecord, Q_RELOCATABLE_TYPE);

// Column headings of the seventeen fields; the first and tenth follow the key date.
QString entryColumnHeading(int field, bool keyIsEndDay);

// Replaces, one for one, ASCII double quotes by a space and the curly double quotation
// marks by an ideographic space, so no stored field holds a quote mark.
void ReplaceQuoteMarks(QString& text);

// Folds every field to the forms code page 932 holds (〜 to ～, ¢ to ￠...), so that an entry in
// memory, and every comparison with it, is the entry a save writes and a load reads back.
void FoldToStoredForms(EntryRecord& entry);

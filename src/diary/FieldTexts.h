#pragma once

#include "diary/EntryRecord.h"

#include <QHash>
#include <QString>
#include <QStringView>
#include <array>

// Equal field texts that repeat across many entries (dates, choice texts, amounts) share one
// string buffer, so a search result of a whole diary holds each of them once.
class FieldTexts
{
public:
    // The shared string equal to `text`; texts longer than a short field are copied as they are.
    QString intern(QStringView text);

private:
    // The key views the buffer of their value, which is never changed while it is held here.
    QHash<QStringView, QString> m_texts;
};

// The fields whose texts are each entry's own: the ID, the free texts and the URL.
inline constexpr std::array<int, 5> kOwnTextFields = {ID, Site, URL, Present, Msg};

// Whether a field's texts repeat often enough to share: every field but those above.
bool isSharedField(int field);

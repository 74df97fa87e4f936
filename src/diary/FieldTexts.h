#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

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

// Whether a field's texts repeat often enough to share: not the ID, the free texts or the URL.
bool isSharedField(int field);

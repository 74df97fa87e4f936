#include "diary/EntryRecord.h"

#include "core/Cp932.h"

bool EntryRecord::isWon() const
{
    return fields[Kekka].contains(QStringLiteral("当選"));
}

QStringList EntryRecord::toStringList() const
{
    return QStringList(fields.begin(), fields.end());
}

EntryRecord EntryRecord::fromStringList(const QStringList& list)
{
    EntryRecord record;
    for (int i = 0; i < kEntryFieldCount && i < list.size(); ++i)
        record.fields[i] = list.at(i);
    return record;
}

QString entryColumnHeading(int field, bool keyIsEndDay)
{
    static const char16_t* const kHeadings[kEntryFieldCount] = {
        nullptr,     u"ＩＤ番号", u"応募先",   u"ＵＲＬ",   u"ジャンル", u"賞品名",
        u"結果",     u"当選額",   u"当選数",   nullptr,     u"当選日",   u"応募形式",
        u"選考方法", u"サイクル", u"応募方法", u"コメント", u"画像"};
    if (field == KeyDate)
        return keyIsEndDay ? QStringLiteral("締切日") : QStringLiteral("応募日");
    if (field == OtherDate)
        return keyIsEndDay ? QStringLiteral("応募日") : QStringLiteral("締切日");
    return QString::fromUtf16(kHeadings[field]);
}

void FoldToStoredForms(EntryRecord& entry)
{
    for (QString& field : entry.fields)
        field = cp932::fold(field);
}

void ReplaceQuoteMarks(QString& text)
{
    for (QChar& c : text) {
        if (c == u'"')
            c = u' ';
        else if (c == QChar(0x201C) || c == QChar(0x201D))
            c = QChar(0x3000);
    }
}

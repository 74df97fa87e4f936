#include "diary/DuplicateCheck.h"

namespace {

constexpr int kDeadline = -1; // the key date or the other date, as the key setting makes it

// The described fields in order, with their labels.
constexpr struct
{
    const char16_t* label;
    int field;
} kDescribed[] = {
    {u"ＩＤ番号 ＝ ", ID},    {u"締切日 ＝ ", kDeadline},     {u"応募先 ＝ ", Site},
    {u"ＵＲＬ ＝ ", URL},     {u"ジャンル ＝ ", Genre},       {u"賞品名 ＝ ", Present},
    {u"当選数 ＝ ", Number},  {u"応募形式 ＝ ", OboKeishiki}, {u"選考方法 ＝ ", SenkoWay},
    {u"サイクル ＝ ", Cycle}, {u"応募方法 ＝ ", OboWay},
};

const QString& describedText(const EntryRecord& e, int field, bool keyIsEndDay)
{
    if (field == kDeadline)
        return keyIsEndDay ? e[KeyDate] : e[OtherDate];
    return e[field];
}

// The length of DuplicateCheckText without its labels, which every entry shares: texts of
// different lengths cannot be equal, so most rows are passed over without building theirs.
qsizetype describedLength(const EntryRecord& e, bool keyIsEndDay)
{
    qsizetype length = 0;
    for (const auto& described : kDescribed)
        length += describedText(e, described.field, keyIsEndDay).size();
    return length;
}

} // namespace

QString DuplicateCheckText(const EntryRecord& e, bool keyIsEndDay)
{
    QStringList lines;
    for (const auto& described : kDescribed)
        lines.append(QString::fromUtf16(described.label) +
                     describedText(e, described.field, keyIsEndDay));
    return lines.join(QStringLiteral("\r\n"));
}

MessageBoxSpec duplicateQuestion(const QString& duplicateText)
{
    MessageBoxSpec box;
    box.text = QStringLiteral("以下の内容は登録済みですが登録しますか？\r\n\r\n") + duplicateText;
    box.caption = QStringLiteral("懸賞情報重複の確認");
    box.icon = MessageIcon::Question;
    box.buttons = MessageButtons::YesNo;
    box.defaultButton = MessageAnswer::Yes;
    return box;
}

qsizetype findDuplicateRow(const QList<EntryRecord>& monthRows, const EntryRecord& candidate,
                           bool keyIsEndDay)
{
    const qsizetype wantedLength = describedLength(candidate, keyIsEndDay);
    QString wanted;
    for (qsizetype i = 0; i < monthRows.size(); ++i) {
        if (describedLength(monthRows.at(i), keyIsEndDay) != wantedLength)
            continue;
        if (wanted.isNull())
            wanted = DuplicateCheckText(candidate, keyIsEndDay);
        if (DuplicateCheckText(monthRows.at(i), keyIsEndDay) == wanted)
            return i;
    }
    return -1;
}

bool mayRegisterEntry(const QList<EntryRecord>& monthRows, const EntryRecord& candidate,
                      const Settings& settings, Dialogs& dialogs)
{
    if (!settings.noTyohuku)
        return true;
    const qsizetype row = findDuplicateRow(monthRows, candidate, settings.keyIsEndDay);
    if (row < 0)
        return true;
    const QString text = DuplicateCheckText(monthRows.at(row), settings.keyIsEndDay);
    return dialogs.message(duplicateQuestion(text)) == MessageAnswer::Yes;
}

#include "diary/DuplicateCheck.h"

QString DuplicateCheckText(const EntryRecord& e, bool keyIsEndDay)
{
    const QString& deadline = keyIsEndDay ? e[KeyDate] : e[OtherDate];
    const QStringList lines = {
        QStringLiteral("ＩＤ番号 ＝ ") + e[ID],
        QStringLiteral("締切日 ＝ ") + deadline,
        QStringLiteral("応募先 ＝ ") + e[Site],
        QStringLiteral("ＵＲＬ ＝ ") + e[URL],
        QStringLiteral("ジャンル ＝ ") + e[Genre],
        QStringLiteral("賞品名 ＝ ") + e[Present],
        QStringLiteral("当選数 ＝ ") + e[Number],
        QStringLiteral("応募形式 ＝ ") + e[OboKeishiki],
        QStringLiteral("選考方法 ＝ ") + e[SenkoWay],
        QStringLiteral("サイクル ＝ ") + e[Cycle],
        QStringLiteral("応募方法 ＝ ") + e[OboWay],
    };
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

namespace {

// The length of DuplicateCheckText without its labels, which every entry shares: texts of
// different lengths cannot be equal, so most rows are passed over without building theirs.
qsizetype describedLength(const EntryRecord& e, bool keyIsEndDay)
{
    qsizetype length = (keyIsEndDay ? e[KeyDate] : e[OtherDate]).size();
    for (int field : {ID, Site, URL, Genre, Present, Number, OboKeishiki, SenkoWay, Cycle, OboWay})
        length += e[field].size();
    return length;
}

} // namespace

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

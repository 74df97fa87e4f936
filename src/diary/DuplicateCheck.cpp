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

qsizetype findDuplicateRow(const QList<EntryRecord>& monthRows, const EntryRecord& candidate,
                           bool keyIsEndDay)
{
    const QString wanted = DuplicateCheckText(candidate, keyIsEndDay);
    for (qsizetype i = 0; i < monthRows.size(); ++i) {
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

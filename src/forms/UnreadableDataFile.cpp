#include "forms/UnreadableDataFile.h"

#include "core/Dialogs.h"

#include <QDir>
#include <QStringList>

void reportUnreadableDataFile(Dialogs& dialogs, const QString& path, MonthRead::Status why)
{
    const QString file = QDir::toNativeSeparators(path);
    if (why == MonthRead::Status::Refused) {
        dialogs.message(
            {QStringLiteral("データファイル「") + file + QStringLiteral("」を読み込めません。"),
             QStringLiteral("認証エラー"), MessageIcon::Critical, MessageButtons::Ok});
        return;
    }
    const QString text =
        why == MonthRead::Status::Unreadable
            ? QStringLiteral("データファイル「%1」を開けないため、読み込めません。\r\n"
                             "ファイルの読み取りの権限を確かめて下さい。")
            : QStringLiteral("データファイル「%1」は壊れているため、読み込めません。");
    dialogs.message({text.arg(file) + QStringLiteral("\r\nこのファイルは変更せず、そのままにして"
                                                     "あります。"),
                     QStringLiteral("ファイルエラー"), MessageIcon::Critical, MessageButtons::Ok});
}

void reportUnreadableDataFile(Dialogs& dialogs, const QString& path)
{
    // The caller knows only that no password it holds reads the file: a look without one
    // tells a damaged file, or one that cannot be opened, from a password that does not match.
    const MonthRead::Status why = readMonthFields(path, QString()).status;
    reportUnreadableDataFile(dialogs, path,
                             why == MonthRead::Status::Damaged ||
                                     why == MonthRead::Status::Unreadable
                                 ? why
                                 : MonthRead::Status::Refused);
}

void reportUnreadableDataFiles(Dialogs& dialogs, const QList<UnreadableMonth>& files)
{
    if (files.size() == 1)
        reportUnreadableDataFile(dialogs, files.first().path, files.first().status);
    if (files.size() <= 1)
        return;
    QStringList lines{QStringLiteral("次のデータファイルを読み込めません。ファイルは変更せず、その"
                                     "ままにしてあります。")};
    bool onlyPasswords = true;
    for (const UnreadableMonth& file : files) {
        lines.append(QStringLiteral("「%1」（%2）")
                         .arg(QDir::toNativeSeparators(file.path), monthReadProblem(file.status)));
        onlyPasswords = onlyPasswords && file.status == MonthRead::Status::Refused;
    }
    dialogs.message(
        {lines.join(QStringLiteral("\r\n")),
         onlyPasswords ? QStringLiteral("認証エラー") : QStringLiteral("ファイルエラー"),
         MessageIcon::Critical, MessageButtons::Ok});
}

// Backup of the data folder and restore from a backup.
#include "forms/frmMain.h"

#include "core/Clock.h"
#include "core/Dialogs.h"
#include "diary/Backup.h"
#include "forms/BusyCursor.h"
#include "forms/SettingsPage.h"

#include <QCoreApplication>
#include <QPushButton>

namespace {

// What the folder picker handed back, cut at a NUL as the old text box did.
QString pickedFolder(Dialogs& dialogs, const QString& prompt)
{
    const QString picked = dialogs.folderName(prompt, QString());
    const qsizetype nul = picked.indexOf(QChar(u'\0'));
    return nul < 0 ? picked : picked.left(nul);
}

MessageBoxSpec errorBox(const QString& text)
{
    return {text, QStringLiteral("エラー"), MessageIcon::Critical, MessageButtons::Ok};
}

} // namespace

void frmMain::connectBackupCommands()
{
    connect(cmdBackUp, &QPushButton::clicked, this, &frmMain::cmdBackUp_Click);
    connect(cmdRestore, &QPushButton::clicked, this, &frmMain::cmdRestore_Click);
}

void frmMain::cmdBackUp_Click()
{
    Dialogs& dialogs = m_context.dialogs;
    const QString picked =
        pickedFolder(dialogs, QStringLiteral("バックアップ先を指定して下さい。"));
    if (picked.isEmpty())
        return;
    if (m_month->dirty())
        SaveMonthFile(); // the backup holds what is on show
    QString error;
    {
        const BusyCursor busy;
        error = backupData(m_context.paths, picked, m_context.clock.today());
    }
    if (!error.isEmpty()) {
        dialogs.message(errorBox(QStringLiteral("バックアップできませんでした。\r\n") + error));
        return;
    }
    dialogs.message({QStringLiteral("バックアップが完了しました。"), QStringLiteral("完了"),
                     MessageIcon::None, MessageButtons::Ok});
}

void frmMain::cmdRestore_Click()
{
    Dialogs& dialogs = m_context.dialogs;
    const MessageAnswer answer = dialogs.message(
        {QStringLiteral(
             "バックアップファイルから復元しますか？\r\n実行すると現在のデータは失われます。"),
         QStringLiteral("復元の確認"), MessageIcon::Question, MessageButtons::YesNo});
    if (answer != MessageAnswer::Yes)
        return;

    QString folder;
    for (;;) {
        folder = pickedFolder(
            dialogs,
            QStringLiteral("【yyyyMMdd_zumicho_backup】フォルダを指定して下さい。\r\n"
                           "※yyyyMMddの部分は、バックアップした年月日が割り当てられています。"));
        if (folder.isEmpty())
            return;
        if (!hasBackupFolderName(folder)) {
            dialogs.message(errorBox(QStringLiteral(
                "【yyyyMMdd_zumicho_backup】フォルダを指定して下さい。\r\n"
                "※yyyyMMddの部分には、バックアップした年月日が割り当てられています。")));
            continue;
        }
        // A folder of the right name without data would replace the diary by nothing.
        if (!looksLikeBackup(folder)) {
            dialogs.message(
                errorBox(QStringLiteral("選択されたフォルダにはバックアップデータが在りません。")));
            continue;
        }
        break;
    }

    QString error;
    {
        const BusyCursor busy;
        error = restoreData(m_context.paths, folder);
        if (error.isEmpty()) {
            // What was on show belongs to the replaced data and is read afresh.
            m_state.suppressPasswordDialog = true;
            m_settingsPage->readSettings();
            LoadMonthFile();
        }
    }
    if (!error.isEmpty()) {
        dialogs.message(errorBox(QStringLiteral("復元できませんでした。\r\n") + error));
        return;
    }
    dialogs.message(
        {QStringLiteral("復元は正常に行われました。\r\n適用させるために一旦終了します。"),
         QStringLiteral("完了"), MessageIcon::None, MessageButtons::Ok});
    // Ends without the end sequence, which would write the old settings over the restored ones.
    endWithoutSaving();
}

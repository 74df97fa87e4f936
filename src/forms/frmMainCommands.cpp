// The frame's own commands: saving and printing the list on show, backup and restore, help
// and the input assistant.
#include "forms/frmMain.h"

#include "core/AtomicFile.h"
#include "core/Clock.h"
#include "core/Dialogs.h"
#include "diary/Backup.h"
#include "diary/PrintLayout.h"
#include "diary/ShellServices.h"
#include "forms/BusyCursor.h"
#include "forms/MainPage.h"
#include "forms/MonthPage.h"
#include "forms/ProgressPacer.h"
#include "forms/SettingsPage.h"
#include "forms/StatisticsPanel.h"
#include "forms/frmPrint.h"
#include "platform/CupsPrinters.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressBar>
#include <algorithm>

namespace {

// The run-time error number of a file that could not be written.
constexpr int kFileAccessError = 75;

// The print bar follows the rows by time: redrawing it per row would cost more than the rows.
constexpr qint64 kProgressInterval = 50; // ms

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

// The bar of a save or print of `rows` rows: the panel's count for an entry list, the
// twelve months of a year. A panel that disagrees with its list must not cut the output
// short: the bar grows instead.
void startOutputBar(const MainParts& parts, qsizetype rows)
{
    const Tab key = parts.currentTab();
    const int figures = key == Tab::Year    ? 12
                        : key == Tab::Total ? 0
                                            : parts.panel->tally().entries;
    parts.prgShinko->setMaximum(std::max({1, figures, int(rows)}));
    parts.prgShinko->setValue(0);
}

} // namespace

std::optional<listexport::ExportInput> frmMain::exportInput() const
{
    std::optional<listexport::ExportInput> input = currentPage()->exportInput();
    if (input) {
        input->keyIsEndDay = m_parts.settings->keyIsEndDayShown();
        input->withStatistics = m_state.settings.autoSumOutput;
        input->panel = m_parts.panel->texts();
    }
    return input;
}

void frmMain::cmdSave_Click()
{
    m_parts.disableEntryCommands();
    FileDialogSpec spec;
    spec.caption = QStringLiteral("保存");
    spec.fileName = m_outputFileName;
    spec.filter = QStringLiteral("*.csv (*.csv);;*.htm (*.htm);;*.html (*.html)");
    const QString chosen = m_context.dialogs.saveFileName(spec);
    if (chosen.isEmpty())
        return;
    m_outputFileName = chosen;
    std::optional<listexport::ExportInput> input = exportInput();
    if (!input)
        return;
    const qsizetype rowCount = input->rowCount();
    startOutputBar(m_parts, rowCount);
    listexport::ExportWrite written;
    {
        const BusyCursor busy;
        ProgressPacer pacer;
        written = listexport::writeExportFile(
            m_outputFileName, *input, listexport::formatForPath(m_outputFileName), [&](int row) {
                if (pacer.due() || row == rowCount)
                    prgShinko->setValue(row);
            });
        input.reset();
    }
    QString problem;
    if (!written.unencodable.isEmpty())
        problem = QStringLiteral("文字「%1」はファイルに保存できないため、保存しませんでした。")
                      .arg(written.unencodable);
    else if (!written.error.isEmpty())
        problem = QStringLiteral("エラー番号 = %1\r%2").arg(kFileAccessError).arg(written.error);
    if (!problem.isEmpty()) {
        prgShinko->setValue(0);
        m_context.dialogs.message(
            {problem, QStringLiteral("zumicho"), MessageIcon::Exclamation, MessageButtons::Ok});
        return;
    }
    m_context.dialogs.message({QStringLiteral("保存しました"), QStringLiteral("完了"),
                               MessageIcon::None, MessageButtons::Ok});
}

void frmMain::cmdPrint_Click()
{
    m_parts.disableEntryCommands();
    const std::optional<listexport::ExportInput> input = exportInput();
    if (!input)
        return;
    QStringList lines;
    {
        const BusyCursor busy;
        startOutputBar(m_parts, input->rowCount());
        QElapsedTimer sinceShown;
        sinceShown.start();
        lines = printlayout::printLines(*input, [&](int row) {
            if (sinceShown.elapsed() >= kProgressInterval) {
                prgShinko->setValue(row);
                sinceShown.restart();
            }
        });
        prgShinko->setValue(int(input->rowCount()));
    }

    if (!m_printers)
        m_printers = std::make_shared<CupsPrinters>();
    frmPrint dialog(m_context.dialogs, *m_printers, this);
    dialog.MPSetString(lines);
    dialog.Form_Load();
    dialog.centreOn(this);
    dialog.exec();
}

void frmMain::cmdBackUp_Click()
{
    Dialogs& dialogs = m_context.dialogs;
    const QString picked =
        pickedFolder(dialogs, QStringLiteral("バックアップ先を指定して下さい。"));
    if (picked.isEmpty())
        return;
    if (m_parts.month->shownMonth().dirty())
        m_parts.month->SaveMonthFile(); // the backup holds what is on show
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
            // What was on show belongs to the replaced data and is read afresh, unless the
            // restored files are encrypted otherwise: they open at the next start's login.
            const auto record = [this] {
                return m_state.settings.encryptData ? m_state.settings.keyRecord.toText()
                                                    : QString();
            };
            const QString recordBefore = record();
            m_state.suppressPasswordDialog = true;
            m_parts.settings->readSettings();
            if (record() == recordBefore)
                m_parts.month->LoadMonthFile();
            else
                m_context.paths.setDataKey(nullptr);
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

void frmMain::cmdHelp_Click()
{
    ShowHelp(m_context.dialogs, m_context.paths, helpTopicForTab(currentTab()));
}

void frmMain::cmdUserInput_Click()
{
    const QString assistant = m_context.paths.programFolder() + QStringLiteral("/zumikey");
    if (QFileInfo(assistant).isExecutable() && m_context.dialogs.startDetached(assistant, {}))
        return;
    m_context.dialogs.message(
        {QStringLiteral("入力支援システムを使用したい場合は、「zumicho.exe」と\r\n"
                        "「zumikey.exe」を同じフォルダに入れて下さい。"),
         QStringLiteral("zumikey.exeが見つかりません"), MessageIcon::Critical, MessageButtons::Ok});
}

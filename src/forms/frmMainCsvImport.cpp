// Taking in a diary kept as CSV ("CSV取込"): the rows go the clipboard import's road.
#include "forms/SettingsPage.h"
#include "forms/frmMain.h"

#include "core/AtomicFile.h"
#include "core/Dialogs.h"
#include "diary/ClipboardImport.h"
#include "diary/CsvDiaryImport.h"
#include "diary/ImportRegistration.h"
#include "forms/BusyCursor.h"

#include <QDateEdit>
#include <QDir>
#include <QRadioButton>
#include <optional>

void frmMain::cmdCsvInput_Click()
{
    disableEntryCommands();
    m_state.selectedMonthRow.reset();
    FileDialogSpec spec;
    spec.caption = QStringLiteral("取り込むCSVファイル");
    spec.filter = QStringLiteral("*.csv (*.csv);;All Files (*)");
    const QString path = m_context.dialogs.openFileName(spec);
    if (path.isEmpty())
        return;
    const auto refuse = [&](const QString& why) {
        m_context.dialogs.message({QStringLiteral("「%1」を取り込めません。\r\n%2")
                                       .arg(QDir::toNativeSeparators(path), why),
                                   kCsvImportCaption, MessageIcon::Critical, MessageButtons::Ok});
    };
    const ReadResult read = readWholeFile(path, 64 * 1024 * 1024);
    if (!read.ok)
        return refuse(read.error);
    QString text;
    if (!decodeCsvText(read.bytes, text))
        return refuse(QStringLiteral("文字コードがShift_JIS（CP932）でもUTF-8でもありません。"));

    std::optional<BusyCursor> busy(std::in_place);
    const QDate start = dtpDate->date();
    CsvDiary diary = readCsvDiary(text, {m_settingsPage->keyIsEndDayShown(), start});
    if (!diary.error.isEmpty()) {
        busy.reset();
        return refuse(diary.error);
    }
    sortImportedRows(diary.records);
    const ImportOutcome outcome = registerImport(diary.records, start);
    busy.reset();

    // One box at the end: what was registered, and every row or month that was not.
    QStringList parts{QStringLiteral("%1件を登録しました。").arg(outcome.registered)};
    if (outcome.declined > 0)
        parts.append(
            QStringLiteral("登録済みのため%1件を登録していません。").arg(outcome.declined));
    const QStringList problems = {csvImportReport(diary), notRegisteredMessage(outcome)};
    bool troubled = false;
    for (const QString& problem : problems) {
        if (!problem.isEmpty()) {
            parts.append(problem);
            troubled = true;
        }
    }
    m_context.dialogs.message({parts.join(QStringLiteral("\r\n\r\n")), kCsvImportCaption,
                               troubled ? MessageIcon::Exclamation : MessageIcon::Information,
                               MessageButtons::Ok});
}

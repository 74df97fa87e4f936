#include "forms/MonthImport.h"

#include "core/AtomicFile.h"
#include "core/Dialogs.h"
#include "diary/ClipboardImport.h"
#include "diary/CsvDiaryImport.h"
#include "diary/DuplicateCheck.h"
#include "forms/BusyCursor.h"
#include "forms/EntryTableModel.h"
#include "forms/MainParts.h"
#include "forms/MonthPage.h"
#include "forms/ProgressPacer.h"
#include "forms/SearchPage.h"
#include "forms/SettingsPage.h"
#include "forms/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QProgressBar>
#include <optional>

void MonthImport::cmdInput_Click()
{
    m_parts.disableEntryCommands();
    m_parts.state.selectedMonthRow.reset();
    const QString text = m_parts.context.dialogs.clipboardText();
    if (text.isEmpty())
        return;
    std::optional<BusyCursor> busy(std::in_place);
    const QDate start = m_parts.date();
    ImportParse parse = parseClipboardListings(text, {m_parts.settings->keyIsEndDayShown(), start});
    sortImportedRows(parse.records);
    m_parts.search->model()->setEntries(parse.records); // the parsed rows stay in the search list

    const ImportOutcome outcome = registerImport(parse.records, start);
    busy.reset();

    QStringList problems;
    if (const QString skipped = skippedListingsMessage(parse.skipped); !skipped.isEmpty())
        problems.append(skipped);
    if (const QString notRegistered = notRegisteredMessage(outcome); !notRegistered.isEmpty())
        problems.append(notRegistered);
    if (!problems.isEmpty()) {
        m_parts.context.dialogs.message({problems.join(QStringLiteral("\r\n\r\n")),
                                         kSkippedListingsCaption, MessageIcon::Exclamation,
                                         MessageButtons::Ok});
    }
}

ImportOutcome MonthImport::registerImport(const QList<EntryRecord>& rows, const QDate& start)
{
    const bool keyIsEndDay = m_parts.settings->keyIsEndDayShown();
    MonthPage& page = *m_parts.month;
    ImportHooks hooks;
    hooks.loadMonth =
        [this, &page](const QString& year,
                      const QString& month) -> std::variant<QList<EntryRecord>, UnreadableMonth> {
        // Unread months are told in the import's one box at the end, not one box each.
        m_parts.setCurrentDate(QDate(year.toInt(), month.toInt(), 1));
        page.LoadMonthFile(false);
        if (!page.shownMonth().readable())
            return UnreadableMonth{page.shownMonth().path(), page.shownMonth().fileState()};
        return page.shownMonth().entries();
    };
    hooks.appendAndSave = [&page](const QString&, const QString&, const QList<EntryRecord>& added) {
        return page.commitAppended(added);
    };
    hooks.confirmDuplicate = [this, keyIsEndDay](const EntryRecord& row) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        const MessageAnswer answer = m_parts.context.dialogs.message(
            duplicateQuestion(DuplicateCheckText(row, keyIsEndDay)));
        QApplication::restoreOverrideCursor();
        return answer == MessageAnswer::Yes;
    };
    ProgressPacer pacer;
    hooks.progress = [this, &pacer](int done, int total) {
        if (!pacer.due() && done < total)
            return;
        m_parts.prgShinko->setMaximum(std::max(1, total));
        m_parts.prgShinko->setValue(done);
    };
    const ImportOutcome outcome =
        registerImportedRows(rows, m_parts.state.settings.noTyohuku, hooks);

    // Back to the month that was on show before the import.
    const bool otherMonth = page.shownMonth().month() != QDate(start.year(), start.month(), 1);
    m_parts.setCurrentDate(start);
    if (otherMonth)
        page.LoadMonthFile(false); // its file was told about when the month was first shown
    else
        m_parts.window.RefreshTotals();
    m_parts.state.selectedMonthRow.reset();
    return outcome;
}

void MonthImport::cmdCsvInput_Click()
{
    m_parts.disableEntryCommands();
    m_parts.state.selectedMonthRow.reset();
    FileDialogSpec spec;
    spec.caption = QStringLiteral("取り込むCSVファイル");
    spec.filter = QStringLiteral("*.csv (*.csv);;All Files (*)");
    const QString path = m_parts.context.dialogs.openFileName(spec);
    if (path.isEmpty())
        return;
    const auto refuse = [&](const QString& why) {
        m_parts.context.dialogs.message({QStringLiteral("「%1」を取り込めません。\r\n%2")
                                             .arg(QDir::toNativeSeparators(path), why),
                                         kCsvImportCaption, MessageIcon::Critical,
                                         MessageButtons::Ok});
    };
    const ReadResult read = readWholeFile(path, 64 * 1024 * 1024);
    if (!read.ok)
        return refuse(read.error);
    QString text;
    if (!decodeCsvText(read.bytes, text))
        return refuse(QStringLiteral("文字コードがShift_JIS（CP932）でもUTF-8でもありません。"));

    std::optional<BusyCursor> busy(std::in_place);
    const QDate start = m_parts.date();
    CsvDiary diary = readCsvDiary(text, {m_parts.settings->keyIsEndDayShown(), start});
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
    m_parts.context.dialogs.message({parts.join(QStringLiteral("\r\n\r\n")), kCsvImportCaption,
                                     troubled ? MessageIcon::Exclamation : MessageIcon::Information,
                                     MessageButtons::Ok});
}

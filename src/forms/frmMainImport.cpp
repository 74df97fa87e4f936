// Registering listings copied from the contest-information site.
#include "forms/SettingsPage.h"
#include "forms/frmMain.h"

#include "core/Dialogs.h"
#include "diary/ClipboardImport.h"
#include "diary/DuplicateCheck.h"
#include "diary/ImportRegistration.h"
#include "forms/BusyCursor.h"
#include "forms/EntryTableModel.h"
#include "forms/ProgressPacer.h"

#include <QApplication>
#include <QDateEdit>
#include <QProgressBar>
#include <QRadioButton>

void frmMain::cmdInput_Click()
{
    disableEntryCommands();
    m_state.selectedMonthRow.reset();
    const QString text = m_context.dialogs.clipboardText();
    if (text.isEmpty())
        return;
    std::optional<BusyCursor> busy(std::in_place);
    const QDate start = dtpDate->date();
    ImportParse parse = parseClipboardListings(text, {m_settingsPage->keyIsEndDayShown(), start});
    sortImportedRows(parse.records);
    m_searchModel->setEntries(parse.records); // the parsed rows stay in the search list

    const ImportOutcome outcome = registerImport(parse.records, start);
    busy.reset();

    QStringList problems;
    if (const QString skipped = skippedListingsMessage(parse.skipped); !skipped.isEmpty())
        problems.append(skipped);
    if (const QString notRegistered = notRegisteredMessage(outcome); !notRegistered.isEmpty())
        problems.append(notRegistered);
    if (!problems.isEmpty()) {
        m_context.dialogs.message({problems.join(QStringLiteral("\r\n\r\n")),
                                   kSkippedListingsCaption, MessageIcon::Exclamation,
                                   MessageButtons::Ok});
    }
}

ImportOutcome frmMain::registerImport(const QList<EntryRecord>& rows, const QDate& start)
{
    const bool keyIsEndDay = m_settingsPage->keyIsEndDayShown();
    ImportHooks hooks;
    hooks.loadMonth =
        [this](const QString& year,
               const QString& month) -> std::variant<QList<EntryRecord>, UnreadableMonth> {
        // Unread months are told in the import's one box at the end, not one box each.
        setCurrentDate(QDate(year.toInt(), month.toInt(), 1));
        LoadMonthFile(false);
        if (!m_month->readable())
            return UnreadableMonth{m_month->path(), m_month->fileState()};
        return m_month->entries();
    };
    hooks.appendAndSave = [this](const QString&, const QString&, const QList<EntryRecord>& added) {
        m_month->append(added);
        return commitMonth();
    };
    hooks.confirmDuplicate = [this, keyIsEndDay](const EntryRecord& row) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        const MessageAnswer answer =
            m_context.dialogs.message(duplicateQuestion(DuplicateCheckText(row, keyIsEndDay)));
        QApplication::restoreOverrideCursor();
        return answer == MessageAnswer::Yes;
    };
    ProgressPacer pacer;
    hooks.progress = [this, &pacer](int done, int total) {
        if (!pacer.due() && done < total)
            return;
        prgShinko->setMaximum(std::max(1, total));
        prgShinko->setValue(done);
    };
    const ImportOutcome outcome = registerImportedRows(rows, m_state.settings.noTyohuku, hooks);

    // Back to the month that was on show before the import.
    const bool otherMonth = m_month->month() != QDate(start.year(), start.month(), 1);
    setCurrentDate(start);
    if (otherMonth)
        LoadMonthFile(false); // its file was told about when the month was first shown
    else
        RefreshTotals();
    m_state.selectedMonthRow.reset();
    return outcome;
}

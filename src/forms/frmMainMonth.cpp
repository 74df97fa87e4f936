// Loading and saving the month on show.
#include "forms/frmMain.h"

#include "core/Dialogs.h"
#include "diary/SummaryUnits.h"
#include "forms/BusyCursor.h"
#include "forms/EntryTableModel.h"
#include "forms/SettingsPage.h"
#include "forms/UnreadableDataFile.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QProgressBar>
#include <algorithm>

void frmMain::connectShownMonth()
{
    // The month list shows the month's rows; every change reaches it from the month.
    connect(m_month, &ShownMonth::reset, this,
            [this] { m_monthModel->setEntries(m_month->entries()); });
    connect(m_month, &ShownMonth::appended, this, [this](int first, int count) {
        m_monthModel->append(m_month->entries().mid(first, count));
    });
    connect(m_month, &ShownMonth::replaced, this,
            [this](int row) { m_monthModel->replace(row, m_month->entries().at(row)); });
    connect(m_month, &ShownMonth::removed, this,
            [this](const QList<int>& rows) { m_monthModel->removeRowsAt(rows); });
}

void frmMain::showMonthOf(const QDate& day)
{
    setCurrentDate(day);
    LoadMonthFile();
}

void frmMain::LoadMonthFile(bool reportUnreadable)
{
    const BusyCursor busy;
    m_month->load(dtpDate->date(), m_state.settings.passwordInForce());
    afterMonthRead(reportUnreadable);
}

void frmMain::afterMonthRead(bool reportUnreadable)
{
    if (reportUnreadable && !m_month->readable())
        reportUnreadableDataFile(m_context.dialogs, m_month->path(), m_month->fileState());
    prgShinko->setMaximum(std::max(1, m_month->rowCount()));
    prgShinko->setValue(0);
    monthLoaded();
    RefreshTotals();
}

bool frmMain::reportFailedSave(const MonthSave& save)
{
    switch (save.outcome) {
    case MonthSave::Outcome::Saved:
        return false;
    case MonthSave::Outcome::Unreadable:
        // What the list holds is not what the file holds: writing it would lose entries.
        m_context.dialogs.message(
            {QStringLiteral(
                 "データファイル「%1」を読み込めなかったため、この月の変更は保存できません。")
                 .arg(QDir::toNativeSeparators(save.path)),
             QStringLiteral("保存エラー"), MessageIcon::Critical, MessageButtons::Ok});
        break;
    case MonthSave::Outcome::Unstorable: {
        const MonthTextBuild& build = save.build;
        const QString what =
            build.badPassword
                ? QStringLiteral("記帳者認証のパスワード")
                : QStringLiteral("%1件目の「%2」")
                      .arg(build.badEntry + 1)
                      .arg(entryColumnHeading(build.badField, m_settingsPage->keyIsEndDayShown()));
        m_context.dialogs.message({QStringLiteral("%1に保存できない文字「%2」が含まれています。")
                                       .arg(what, QString(build.badCharacter)),
                                   QStringLiteral("保存エラー"), MessageIcon::Critical,
                                   MessageButtons::Ok});
        break;
    }
    case MonthSave::Outcome::WriteFailed:
        m_context.dialogs.message(
            {QStringLiteral("データファイル「%1」を保存できませんでした。\r\n%2")
                 .arg(QDir::toNativeSeparators(save.path), save.error),
             QStringLiteral("保存エラー"), MessageIcon::Critical, MessageButtons::Ok});
        break;
    }
    return true;
}

bool frmMain::SaveMonthFile()
{
    // The month file, its year row and its total row are one unit: a record of it stays
    // in the work folder until the total row is written, and start-up finishes it.
    const YearMonth unit{m_month->year(), m_month->month().month()};
    if (const QString error = beginSummaryUnit(m_context.paths, unit); !error.isEmpty()) {
        m_context.dialogs.message(
            {QStringLiteral("データファイル「%1」を保存できませんでした。\r\n%2")
                 .arg(QDir::toNativeSeparators(m_month->path()), error),
             QStringLiteral("保存エラー"), MessageIcon::Critical, MessageButtons::Ok});
        return false;
    }
    MonthSave save;
    {
        const BusyCursor busy;
        save = m_month->save(m_state.settings.passwordInForce());
    }
    if (reportFailedSave(save)) {
        // The list goes back to what the file holds, so the failed change is never carried
        // anywhere else (a later save, another month).
        if (m_month->readable() && m_month->dirty()) {
            m_month->reload(m_state.settings.passwordInForce());
            afterMonthRead();
        }
        return false;
    }
    RefreshTotals();
    if (monthSaved())
        endSummaryUnit(m_context.paths, unit);
    return true;
}

// Loading and saving the month on show.
#include "forms/frmMain.h"

#include "core/Dialogs.h"
#include "diary/SummaryUnits.h"
#include "forms/BusyCursor.h"
#include "forms/EntryTableModel.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QProgressBar>
#include <algorithm>

QString frmMain::currentMonthPath() const
{
    return m_context.paths.monthFilePath(m_state.curYear, m_state.curMonth);
}

void frmMain::ReportUnreadableDataFile(const QString& path)
{
    m_context.dialogs.message({QStringLiteral("データファイル「") + QDir::toNativeSeparators(path)
                                   + QStringLiteral("」を読み込めません。"),
                               QStringLiteral("認証エラー"), MessageIcon::Critical, MessageButtons::Ok});
}

void frmMain::LoadMonthFile()
{
    const QString path = currentMonthPath();
    {
        // A day the month does not have (the 31st of June) becomes its last day.
        const QDate first(m_state.curYear.toInt(), m_state.curMonth.toInt(), 1);
        const int day = std::clamp(m_state.curDay.toInt(), 1, first.daysInMonth());
        m_state.curDay = QString::number(day).rightJustified(2, u'0');
        const QSignalBlocker block(dtpDate);
        dtpDate->setDate(first.addDays(day - 1));
    }
    const BusyCursor busy;
    const MonthRead read = readMonthFile(path, m_state.expectedPassword());
    m_state.monthStatus = read.status;
    m_state.monthDirty = false;
    if (!read.readable())
        ReportUnreadableDataFile(path);
    m_monthModel->setEntries(read.entries);
    prgShinko->setMaximum(std::max<int>(1, static_cast<int>(read.entries.size())));
    prgShinko->setValue(0);
    monthLoaded();
    RefreshTotals();
}

bool frmMain::SaveMonthFile()
{
    const QString path = currentMonthPath();
    if (!m_state.monthReadable()) {
        // What the list holds is not what the file holds: writing it would lose entries.
        m_context.dialogs.message(
            {QStringLiteral("データファイル「%1」を読み込めなかったため、この月の変更は保存できません。")
                 .arg(QDir::toNativeSeparators(path)),
             QStringLiteral("保存エラー"), MessageIcon::Critical, MessageButtons::Ok});
        return false;
    }
    // The password line is written exactly when a load will expect it.
    const MonthTextBuild build = formatMonthText(m_monthModel->entries(), m_state.expectedPassword());
    if (!build.ok()) {
        const QString what = build.badPassword
                                 ? QStringLiteral("記帳者認証のパスワード")
                                 : QStringLiteral("%1件目の「%2」").arg(build.badEntry + 1)
                                       .arg(entryColumnHeading(build.badField, optEndDayChecked()));
        m_context.dialogs.message({QStringLiteral("%1に保存できない文字「%2」が含まれています。")
                                       .arg(what, QString(build.badCharacter)),
                                   QStringLiteral("保存エラー"), MessageIcon::Critical, MessageButtons::Ok});
        return false;
    }
    // The month file, its year row and its total row are one unit: a record of it stays
    // in the work folder until the total row is written, and start-up finishes it.
    const YearMonth unit{m_state.curYear, m_state.curMonth.toInt()};
    QString error = beginSummaryUnit(m_context.paths, unit);
    if (error.isEmpty()) {
        const BusyCursor busy;
        error = writeMonthFile(path, build.plain);
    }
    if (!error.isEmpty()) {
        m_context.dialogs.message({QStringLiteral("データファイル「%1」を保存できませんでした。\r\n%2")
                                       .arg(QDir::toNativeSeparators(path), error),
                                   QStringLiteral("保存エラー"), MessageIcon::Critical, MessageButtons::Ok});
        return false;
    }
    m_state.monthDirty = false;
    m_state.monthStatus = build.plain.isEmpty() ? MonthRead::Status::Missing : MonthRead::Status::Loaded;
    RefreshTotals();
    if (monthSaved())
        endSummaryUnit(m_context.paths, unit);
    return true;
}

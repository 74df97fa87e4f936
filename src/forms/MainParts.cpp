#include "forms/MainParts.h"

#include "core/Dialogs.h"
#include "forms/frmMain.h"

#include <QDateEdit>
#include <QDir>
#include <QSignalBlocker>
#include <QTabWidget>

Tab MainParts::currentTab() const
{
    return static_cast<Tab>(tabMain->currentWidget()->property("tab").toInt());
}

void MainParts::showTab(Tab tab) const
{
    for (int i = 0; i < tabMain->count(); ++i) {
        if (static_cast<Tab>(tabMain->widget(i)->property("tab").toInt()) == tab)
            tabMain->setCurrentIndex(i);
    }
}

QDate MainParts::date() const
{
    return dtpDate->date();
}

QString MainParts::focusYear() const
{
    return dtpDate->date().toString(QStringLiteral("yyyy"));
}

QString MainParts::focusMonth() const
{
    return dtpDate->date().toString(QStringLiteral("MM"));
}

void MainParts::setCurrentDate(const QDate& date) const
{
    state.lastYearMonth = date.toString(QStringLiteral("yyyy/MM"));
    const QSignalBlocker block(dtpDate);
    dtpDate->setDate(date);
}

void MainParts::disableEntryCommands() const
{
    state.entryPicked = false; // until the next pick in a list
    window.updateCommands();
}

void MainParts::reportNotRemoved(const QString& path) const
{
    if (path.isEmpty())
        return;
    context.dialogs.message(
        {QStringLiteral("「%1」を削除できませんでした。").arg(QDir::toNativeSeparators(path)),
         QStringLiteral("削除エラー"), MessageIcon::Critical, MessageButtons::Ok});
}

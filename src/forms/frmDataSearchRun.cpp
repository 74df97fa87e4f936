// Running a search: the criteria as the controls hold them, the scan, and its end.
#include "forms/frmDataSearch.h"

#include "core/AppContext.h"
#include "core/Dialogs.h"
#include "diary/SearchScan.h"
#include "diary/Settings.h"
#include "diary/Tally.h"
#include "forms/BusyCursor.h"
#include "forms/EntryTableModel.h"
#include "forms/SearchHost.h"
#include "forms/UnreadableDataFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <limits>
#include <optional>

namespace {

void exchangeDates(QDateEdit* before, QDateEdit* after)
{
    if (before->date() > after->date()) {
        const QDate first = after->date();
        after->setDate(before->date());
        before->setDate(first);
    }
}

void exchangeAmounts(const QCheckBox* check, QLineEdit* low, QLineEdit* high)
{
    if (!check->isChecked())
        return;
    const Currency lowValue = Currency::parseOrZero(low->text());
    const Currency highValue = Currency::parseOrZero(high->text());
    if (lowValue > highValue) {
        low->setText(highValue.toText());
        high->setText(lowValue.toText());
    }
}

} // namespace

void frmDataSearch::exchangeReversedBounds()
{
    // Both key-date pairs are put in order whether their box is on or not; the rest only
    // when their box is on.
    exchangeDates(dtpEndDayBefore, dtpEndDayAfter);
    exchangeDates(dtpNowDayBefore, dtpNowDayAfter);
    if (chkHappyDay->isChecked())
        exchangeDates(dtpHappyDayBefore, dtpHappyDayAfter);
    exchangeAmounts(chkID, txtIDDown, txtIDUp);
    exchangeAmounts(chkHappyMoney, txtHappyMoneyDown, txtHappyMoneyUp);
    if (chkNumber->isChecked()) {
        const qint32 low = countBoundFromText(txtNumberDown->text());
        const qint32 high = countBoundFromText(txtNumberUp->text());
        if (low > high) {
            txtNumberDown->setText(QString::number(high));
            txtNumberUp->setText(QString::number(low));
        }
    }
}

SearchCriteria frmDataSearch::criteriaFromControls()
{
    exchangeReversedBounds();
    const bool keyIsEndDay = m_host.settings().keyIsEndDay;
    const QCheckBox* keyCheck = keyIsEndDay ? chkEndDay : chkNowDay;
    const QCheckBox* otherCheck = keyIsEndDay ? chkNowDay : chkEndDay;
    const auto range = [](const QDateEdit* before, const QDateEdit* after) {
        return DateRange{before->date(), after->date()};
    };
    const auto amounts = [](const QLineEdit* low, const QLineEdit* high) {
        return AmountRange{Currency::parseOrZero(low->text()), Currency::parseOrZero(high->text())};
    };

    SearchCriteria c;
    if (keyCheck->isChecked())
        c.keyDate = keyIsEndDay ? range(dtpEndDayBefore, dtpEndDayAfter)
                                : range(dtpNowDayBefore, dtpNowDayAfter);
    if (otherCheck->isChecked())
        c.otherDate = keyIsEndDay ? range(dtpNowDayBefore, dtpNowDayAfter)
                                  : range(dtpEndDayBefore, dtpEndDayAfter);
    if (chkHappyDay->isChecked())
        c.happyDay = range(dtpHappyDayBefore, dtpHappyDayAfter);
    if (chkID->isChecked())
        c.id = amounts(txtIDDown, txtIDUp);
    if (chkHappyMoney->isChecked())
        c.happyMoney = amounts(txtHappyMoneyDown, txtHappyMoneyUp);
    if (chkNumber->isChecked())
        c.number = CountRange{countBoundFromText(txtNumberDown->text()),
                              countBoundFromText(txtNumberUp->text())};
    c.site = txtSite->text();
    c.url = txtURL->text();
    c.present = txtPresent->text();
    c.msg = txtMsg->text();
    c.pic = txtSnap->text();
    c.caseSensitive = chkBigAndSmall->isChecked();
    c.genre = cboGenre->currentText();
    c.kekka = cboKekka->currentText();
    c.oboKeishiki = cboOboKeishiki->currentText();
    c.senkoWay = cboSenkoWay->currentText();
    c.cycle = cboCycle->currentText();
    c.oboWay = cboOboWay->currentText();
    return c;
}

void frmDataSearch::setSearchingState(bool searching)
{
    m_searching = searching;
    // While the scan runs only the stop button reacts.
    m_criteria->setEnabled(!searching);
    cmdSearch->setEnabled(!searching);
    cmdNewSearch->setEnabled(!searching);
    cmdSimekiri->setEnabled(!searching);
    cmdCalendar->setEnabled(!searching);
    cmdHelp->setEnabled(!searching);
    cmdClose->setText(searching ? QStringLiteral("中止(&P)") : QStringLiteral("終了(&P)"));
    if (searching)
        cmdClose->setFocus();
    m_host.setSearchRunning(searching);
}

void frmDataSearch::cmdSearch_Click()
{
    if (m_searching)
        return; // never two scans at once
    std::optional<BusyCursor> busy(std::in_place);
    m_stopRequested = false;
    setSearchingState(true);
    prgShinko->setValue(prgShinko->minimum());

    const SearchCriteria criteria = criteriaFromControls();
    const Tally total = m_host.refreshTotalTally();
    prgShinko->setRange(
        0, int(std::min<qint64>(qint64(total.entries) + 1, std::numeric_limits<int>::max())));
    prgShinko->setValue(0);
    // The last results leave the list now, but are freed only once the new ones are shown:
    // freeing them meanwhile would slow the scan down.
    QList<EntryRecord> previous = m_host.searchList().takeEntries();

    SearchScanHooks hooks;
    hooks.progressInterval = m_progressInterval;
    hooks.progress = [this](const SearchProgress& progress) {
        // The all-time total may lag behind the files; the bar just stays full then.
        prgShinko->setValue(int(std::min<qint64>(progress.testedEntries, prgShinko->maximum())));
        QCoreApplication::processEvents(); // the stop button
    };
    hooks.stopRequested = [this] { return m_stopRequested; };
    hooks.unreadableFile = [this](const UnreadableMonthFile& file) {
        reportUnreadableDataFile(m_host.context().dialogs, file.path, file.status);
    };
    SearchOutcome outcome =
        runSearch(m_host.context().paths, criteria, m_host.settings().passwordInForce(), hooks);
    busy.reset();

    // A stop pressed while the last events ran still counts: the user asked for no results.
    const bool interrupted = outcome.interrupted || m_stopRequested;
    if (interrupted) {
        prgShinko->setValue(prgShinko->minimum());
        m_host.searchList().clear();
        EntryTableModel::release(std::move(previous));
        m_host.context().dialogs.message({QStringLiteral("検索を中断しました"),
                                          QStringLiteral("検索中断"), MessageIcon::None,
                                          MessageButtons::Ok});
    } else {
        m_host.searchList().setEntries(std::move(outcome.results), outcome.tally);
        EntryTableModel::release(std::move(previous));
        prgShinko->setValue(prgShinko->maximum());
        m_host.context().dialogs.message({QStringLiteral("検索が終了しました"),
                                          QStringLiteral("検索終了"), MessageIcon::None,
                                          MessageButtons::Ok});
    }
    m_host.RefreshTotals();
    setSearchingState(false);
}

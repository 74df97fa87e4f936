#include "forms/SettingsApplyRun.h"

#include "core/Dialogs.h"
#include "forms/BusyCursor.h"
#include "forms/MainParts.h"
#include "forms/MonthPage.h"
#include "forms/SearchPage.h"
#include "forms/SettingsPage.h"
#include "forms/StatisticsPanel.h"
#include "forms/frmMain.h"
#include "platform/WindowLevel.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

MessageBoxSpec errorBox(const QString& text)
{
    return {text, QStringLiteral("設定エラー"), MessageIcon::Critical, MessageButtons::Ok};
}

// One line of the failure list for a month file that could not be read.
QString unreadableLine(const QString& path, bool refused)
{
    return (refused ? QStringLiteral("「%1」は別のパスワードで保存されているため、読み込めません。")
                    : QStringLiteral("「%1」は壊れているため、読み込めません。"))
        .arg(QDir::toNativeSeparators(path));
}

} // namespace

SettingsApplyRun::SettingsApplyRun(MainParts& parts, SettingsPage& page)
    : m_parts(parts), m_page(page)
{
    m_progress = [this](int value, int maximum) { showProgress(value, maximum); };
}

void SettingsApplyRun::run()
{
    QProgressBar* bar = m_parts.prgShinko;
    bar->setMaximum(1);
    bar->setValue(0);
    bool existed = false;
    m_stored = LoadSettings(m_parts.context.paths.settingsPath(), existed);
    const bool keyChanged = m_page.optEndDay->isChecked() != m_stored.keyIsEndDay;
    rebuildEntryColumns();
    m_top = pixelsToTwips(m_parts.window.y());
    m_left = pixelsToTwips(m_parts.window.x());

    KeyApply key = KeyApply::Kept;
    if (keyChanged)
        key = applyKeyChange();
    if (key == KeyApply::Ended)
        return;
    if (key == KeyApply::Kept) {
        if (!applyPassword())
            return;
    } else {
        // The month list held the displayed month in the old order.
        m_parts.month->shownMonth().reload(m_parts.state.settings.passwordInForce());
        m_parts.panel->clear();
    }
    applyTargetColumn();

    setTopMost(&m_parts.window, m_page.chkFormState->isChecked());
    if (!m_problems.isEmpty()) {
        m_notApplied.removeDuplicates();
        m_problems.removeDuplicates();
        m_parts.context.dialogs.message(
            errorBox((m_notApplied + m_problems).join(QStringLiteral("\r\n"))));
        return;
    }
    bar->setValue(bar->maximum());
    m_parts.context.dialogs.message({QStringLiteral("設定を適用させました"), QStringLiteral("完了"),
                                     MessageIcon::None, MessageButtons::Ok});
}

SettingsApplyRun::KeyApply SettingsApplyRun::applyKeyChange()
{
    const Settings wanted = m_page.settingsFromControls();
    const QString newPassword = wanted.passwordInForce();
    bool rewritten = false;
    {
        const BusyCursor busy;
        const StoredMonths read = readStoredMonths(
            m_parts.context.paths, m_stored.passwordInForce(), newPassword, m_progress);
        if (read.canChangeKey()) {
            const QList<StoredMonth> months = regroupByNewKey(read, m_progress);
            const KeyRewrite rewrite =
                rewriteKeyDates(m_parts.context.paths, months, read.records, newPassword,
                                {Currency::parseOrZero(wanted.dreamMoneyText), false},
                                commitWriter(wanted), m_progress);
            if (rewrite.committed) {
                // The new settings went in with the new files (or go in at the next start).
                m_parts.state.settings = wanted;
                rewritten = true;
            }
            if (rewrite.committed && !rewrite.error.isEmpty()) {
                endUnfinished(rewrite.error);
                return KeyApply::Ended;
            }
            if (!rewrite.error.isEmpty()) {
                m_notApplied.append(QStringLiteral("データファイルを書き換えられなかったため、"
                                                   "キー項目の変更は適用していません。"));
                m_problems.append(rewrite.error);
            }
        } else {
            m_notApplied.append(
                QStringLiteral("キー項目の変更は適用していません。データは変更していません。"));
            for (const QString& path : read.unreadable)
                m_problems.append(unreadableLine(path, read.refused.contains(path)));
            for (const QString& path : read.badKeyDates)
                m_problems.append(QStringLiteral("「%1」に日付の正しくないデータがあります。")
                                      .arg(QDir::toNativeSeparators(path)));
        }
    }
    if (rewritten)
        return KeyApply::Rewritten;
    // The key stays as stored; everything else is applied by the password step.
    m_page.optEndDay->setChecked(m_stored.keyIsEndDay);
    m_page.optNowDay->setChecked(!m_stored.keyIsEndDay);
    m_page.arrangeDateWidthBoxes(m_stored.keyIsEndDay);
    rebuildEntryColumns();
    return KeyApply::Kept;
}

bool SettingsApplyRun::applyPassword()
{
    // The settings and the password lines of the month files change as one unit.
    MainState& state = m_parts.state;
    const Settings wanted = m_page.settingsFromControls();
    const PasswordRewrite rewrite = [&] {
        const BusyCursor busy; // not over the boxes that follow
        return rewritePasswordLines(m_parts.context.paths, m_stored.passwordInForce(),
                                    wanted.passwordInForce(), commitWriter(wanted), m_progress);
    }();
    if (rewrite.committed)
        state.settings = wanted;
    if (rewrite.committed && !rewrite.error.isEmpty()) {
        endUnfinished(rewrite.error);
        return false;
    }
    if (!rewrite.error.isEmpty()) {
        m_notApplied.append(QStringLiteral("設定を保存できなかったため、適用していません。"
                                           "データファイルは変更していません。"));
        m_problems.append(rewrite.error);
        // Nothing was stored: the password in use stays the stored one, so no later write of
        // the settings can lock the month files out.
        state.settings.startPassword = m_stored.startPassword;
        state.settings.startPasswordText = m_stored.startPasswordText;
        const QSignalBlocker block(m_page.chkStartPassword);
        m_page.chkStartPassword->setChecked(m_stored.startPassword);
    }
    for (const QString& path : rewrite.refused)
        m_problems.append(unreadableLine(path, true));
    for (const QString& path : rewrite.damaged)
        m_problems.append(unreadableLine(path, false));
    if (!rewrite.refused.isEmpty() || !rewrite.damaged.isEmpty())
        m_notApplied.append(QStringLiteral("読み込めないデータファイルは変更していません。"));
    return true;
}

void SettingsApplyRun::applyTargetColumn()
{
    // A new target re-arms the message that it was reached; the message itself comes only
    // from a save that reaches the target, never from here.
    Settings& settings = m_parts.state.settings;
    settings.dreamMoneyReached = settings.dreamMoneyFlagToWrite();
    settings.dreamMoneyValue = Currency::parseOrZero(m_page.txtDreamMoney->text());
    const TotalUpdate totals = RecomputeTargetColumn(m_parts.context.paths, m_page.targetState());
    if (!totals.error.isEmpty())
        m_problems.append(QStringLiteral("集計ファイルを更新できませんでした。\r\n") +
                          totals.error);
}

void SettingsApplyRun::showProgress(int value, int maximum)
{
    if (!m_pacer.due() && value < maximum)
        return;
    QProgressBar* bar = m_parts.prgShinko;
    if (maximum > 0)
        bar->setMaximum(maximum);
    if (value <= bar->maximum())
        bar->setValue(value);
    // Painted at once: running the event loop here could let a click or a close start
    // something while the data folder is half rewritten.
    bar->repaint();
}

CommitWriter SettingsApplyRun::commitWriter(const Settings& wanted) const
{
    // The settings image that decides a rewrite; it must read back with the password the
    // files are given, or the files would be locked out.
    return [this, wanted](const QString& path) {
        if (const QString error = SaveSettings(path, wanted, m_top, m_left); !error.isEmpty())
            return error;
        bool written = false;
        if (LoadSettings(path, written).passwordInForce() != wanted.passwordInForce() || !written)
            return QStringLiteral("設定ファイル「%1」を読み戻せませんでした。")
                .arg(QDir::toNativeSeparators(m_parts.context.paths.settingsPath()));
        return QString();
    };
}

void SettingsApplyRun::endUnfinished(const QString& error)
{
    m_parts.context.dialogs.message(
        errorBox(QStringLiteral("設定の適用を完了できませんでした。\r\n%1\r\n"
                                "ズミラ帳を一旦終了します。次回の起動時に適用を完了します。")
                     .arg(error)));
    m_parts.window.endWithoutSaving();
}

void SettingsApplyRun::rebuildEntryColumns()
{
    m_parts.month->BuildEntryColumns();
    m_parts.search->BuildEntryColumns();
}

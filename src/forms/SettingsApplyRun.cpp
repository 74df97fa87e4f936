#include "forms/SettingsApplyRun.h"

#include "core/Dialogs.h"
#include "forms/BusyCursor.h"
#include "forms/MainParts.h"
#include "forms/MonthPage.h"
#include "forms/SearchPage.h"
#include "forms/SettingsPage.h"
#include "forms/StatisticsPanel.h"
#include "forms/frmMain.h"
#include "forms/frmStartPassword.h"
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
    if (!planLock()) {
        m_page.settingChanged(); // nothing was applied: 適用 stays at hand
        return;
    }
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
        if (!(m_lock.reseals() ? applyReseal() : applyPassword()))
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

Settings SettingsApplyRun::wantedSettings() const
{
    Settings wanted = m_page.settingsFromControls();
    wanted.encryptData = m_lock.key != nullptr;
    wanted.keyRecord = m_lock.record;
    if (wanted.encryptData)
        wanted.startPasswordText.clear(); // the key stands for it from now on
    return wanted;
}

bool SettingsApplyRun::planLock()
{
    Settings wish = m_page.settingsFromControls();
    wish.encryptData = m_page.chkEncryptData->isChecked();
    // Files that go back to the scrambled form carry the password line: it must be known.
    if (m_stored.encryptData && !wish.encryptData && wish.startPassword &&
        wish.startPasswordText.isEmpty()) {
        frmStartPassword form(frmStartPassword::Mode::Login, QString(), m_parts.context.dialogs,
                              &m_parts.window);
        form.checkAgainst(&m_stored.keyRecord);
        if (form.exec() != QDialog::Accepted)
            return false;
        wish.startPasswordText = form.password();
    }
    if (wish.encryptData && !m_stored.encryptData && !confirmEncryption())
        return false;
    {
        const BusyCursor busy; // a new key takes a moment
        m_lock = planLocks(m_stored, m_parts.context.paths.sharedDataKey(), wish);
    }
    if (!m_lock.error.isEmpty()) {
        m_parts.context.dialogs.message(
            errorBox(QStringLiteral("設定を適用していません。データは変更していません。\r\n") +
                     m_lock.error));
        return false;
    }
    // The rest of the run reads the text it keeps for the files from the wish.
    m_parts.state.settings.startPasswordText = wish.startPasswordText;
    return true;
}

bool SettingsApplyRun::confirmEncryption()
{
    const MessageAnswer answer = m_parts.context.dialogs.message(
        {QStringLiteral("データファイルを記帳者認証のパスワードで暗号化します。\r\n"
                        "パスワードを忘れると、データは二度と読めなくなります。"
                        "パスワードを調べたり元に戻したりする方法はありません。\r\n\r\n"
                        "暗号化の前にバックアップを取りますか？\r\n"
                        "［はい］バックアップしてから暗号化　［いいえ］そのまま暗号化　"
                        "［キャンセル］適用しない"),
         QStringLiteral("データの暗号化"), MessageIcon::Question, MessageButtons::YesNoCancel,
         MessageAnswer::Cancel});
    if (answer == MessageAnswer::Cancel)
        return false;
    if (answer == MessageAnswer::Yes)
        m_parts.window.cmdBackUp_Click();
    return true;
}

void SettingsApplyRun::takeNewLock(const Settings& wanted)
{
    m_parts.state.settings = wanted;
    m_parts.context.paths.setDataKey(m_lock.key);
}

SettingsApplyRun::KeyApply SettingsApplyRun::applyKeyChange()
{
    const Settings wanted = wantedSettings();
    bool rewritten = false;
    {
        const BusyCursor busy;
        const StoredMonths read =
            readStoredMonths(m_parts.context.paths, m_lock.from, m_lock.to, m_progress);
        if (read.canChangeKey()) {
            const QList<StoredMonth> months = regroupByNewKey(read, m_progress);
            const KeyRewrite rewrite =
                rewriteKeyDates(m_parts.context.paths, months, read.records, m_lock.to,
                                {Currency::parseOrZero(wanted.dreamMoneyText), false},
                                commitWriter(wanted), m_progress, m_lock.keyRecordText);
            if (rewrite.committed) {
                // The new settings went in with the new files (or go in at the next start).
                takeNewLock(wanted);
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
    const Settings wanted = wantedSettings();
    const PasswordRewrite rewrite = [&] {
        const BusyCursor busy; // not over the boxes that follow
        return rewritePasswordLines(m_parts.context.paths, m_lock.from, m_lock.to,
                                    commitWriter(wanted), m_progress);
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

bool SettingsApplyRun::applyReseal()
{
    const Settings wanted = wantedSettings();
    const Reseal reseal = [&] {
        const BusyCursor busy;
        return resealDataFiles(m_parts.context.paths, m_lock.from, m_lock.to, *m_lock.keyRecordText,
                               commitWriter(wanted), m_progress);
    }();
    if (reseal.committed)
        takeNewLock(wanted);
    if (reseal.committed && !reseal.error.isEmpty()) {
        endUnfinished(reseal.error);
        return false;
    }
    if (reseal.committed)
        return true;
    m_notApplied.append(wanted.encryptData
                            ? QStringLiteral("データファイルの暗号化は適用していません。"
                                             "データは変更していません。")
                            : QStringLiteral("データファイルの暗号化の解除は適用していません。"
                                             "データは変更していません。"));
    for (const QString& path : reseal.refused)
        m_problems.append(unreadableLine(path, true));
    for (const QString& path : reseal.damaged)
        m_problems.append(unreadableLine(path, false));
    m_problems.append(reseal.error);
    // Nothing was stored: the tab shows the stored lock again.
    MainState& state = m_parts.state;
    state.settings.startPassword = m_stored.startPassword;
    state.settings.startPasswordText = m_stored.startPasswordText;
    const QSignalBlocker block(m_page.chkStartPassword);
    m_page.chkStartPassword->setChecked(m_stored.startPassword);
    m_page.chkEncryptData->setChecked(m_stored.encryptData);
    m_page.arrangeEncryptBox();
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

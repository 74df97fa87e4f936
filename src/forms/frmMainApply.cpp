// The settings tab's apply button: storing the settings and bringing the month files into
// line with a new key date or start password.
#include "forms/frmMain.h"

#include "core/Dialogs.h"
#include "diary/SettingsApply.h"
#include "forms/BusyCursor.h"
#include "forms/EntryTableModel.h"
#include "forms/ProgressPacer.h"
#include "forms/UnreadableDataFile.h"
#include "platform/WindowLevel.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace {

QString fileList(const QStringList& paths)
{
    QStringList lines;
    for (const QString& path : paths)
        lines.append(QDir::toNativeSeparators(path));
    lines.removeDuplicates();
    return lines.join(QStringLiteral("\r\n"));
}

MessageBoxSpec errorBox(const QString& text, const QString& caption)
{
    return {text, caption, MessageIcon::Critical, MessageButtons::Ok};
}

} // namespace

void frmMain::cmdSetting_Click()
{
    if (!settingsFileWritable())
        return;
    cmdSetting->setEnabled(false);
    prgShinko->setMaximum(1);
    prgShinko->setValue(0);

    bool existed = false;
    const Settings stored = LoadSettings(m_context.paths.settingsPath(), existed);
    const QString oldPassword = stored.passwordInForce();
    const bool keyChanged = optEndDay->isChecked() != stored.keyIsEndDay;
    BuildEntryColumns(lvwMonth);
    BuildEntryColumns(lvwSearch);

    ProgressPacer pacer;
    const ApplyProgress progress = [this, &pacer](int value, int maximum) {
        if (!pacer.due() && value < maximum)
            return;
        if (maximum > 0)
            prgShinko->setMaximum(maximum);
        if (value <= prgShinko->maximum())
            prgShinko->setValue(value);
        // Painted at once: running the event loop here could let a click or a close start
        // something while the data folder is half rewritten.
        prgShinko->repaint();
    };

    // Any failure is told in its own box, and then the step does not report success.
    bool failed = false;
    bool keyRewritten = false;
    bool targetMessage = false;
    if (keyChanged) {
        const Settings wanted = settingsFromControls();
        const QString newPassword = wanted.passwordInForce();
        QString refusal;
        {
            const BusyCursor busy;
            const StoredMonths read =
                readStoredMonths(m_context.paths, oldPassword, newPassword, progress);
            if (read.canChangeKey()) {
                const QList<StoredMonth> months = regroupByNewKey(read, progress);
                const int top = pixelsToTwips(y());
                const int left = pixelsToTwips(x());
                const KeyRewrite rewrite = rewriteKeyDates(
                    m_context.paths, months, read.records, newPassword,
                    {Currency::parseOrZero(wanted.dreamMoneyText), false},
                    [&](const QString& path) { return SaveSettings(path, wanted, top, left); },
                    progress);
                if (rewrite.committed) {
                    // The new settings went in with the new files (or go in at the next start).
                    m_state.settings = wanted;
                    keyRewritten = true;
                    targetMessage = rewrite.showTargetMessage;
                }
                if (rewrite.committed && !rewrite.error.isEmpty()) {
                    // The data folder is half exchanged: running on would read and write a
                    // mix. The next start finishes the exchange, or says why it cannot.
                    m_context.dialogs.message(errorBox(
                        QStringLiteral("設定の適用を完了できませんでした。\r\n%1\r\n"
                                       "ズミラ帳を一旦終了します。次回の起動時に適用を完了します。")
                            .arg(rewrite.error),
                        QStringLiteral("設定エラー")));
                    m_ended = true;
                    close();
                    QCoreApplication::quit();
                    return;
                }
                if (!rewrite.error.isEmpty()) {
                    refusal = QStringLiteral("データファイルを書き換えられなかったため、キー項目の"
                                             "変更は適用していません。\r\n") +
                              rewrite.error;
                }
            } else {
                refusal =
                    QStringLiteral(
                        "次のデータファイルを読み込めないか、日付の正しくないデータを含むため、"
                        "キー項目の変更は適用していません。データは変更していません。\r\n") +
                    fileList(read.unreadable + read.badKeyDates);
            }
        }
        if (!refusal.isEmpty()) {
            m_context.dialogs.message(errorBox(refusal, QStringLiteral("設定エラー")));
            failed = true;
        }
        if (!keyRewritten) {
            // The key stays as stored; everything else is applied below.
            optEndDay->setChecked(stored.keyIsEndDay);
            optNowDay->setChecked(!stored.keyIsEndDay);
            arrangeDateWidthBoxes(stored.keyIsEndDay);
            BuildEntryColumns(lvwMonth);
            BuildEntryColumns(lvwSearch);
        }
    }

    if (!keyRewritten) {
        const bool written = writeSettings();
        // Files carrying a password the stored settings do not know would be locked out.
        bool storedNow = false;
        const Settings check = LoadSettings(m_context.paths.settingsPath(), storedNow);
        const QString newPassword = m_state.settings.passwordInForce();
        const bool passwordStored = storedNow && check.passwordInForce() == newPassword;
        if (written && !passwordStored) {
            m_context.dialogs.message(
                errorBox(QStringLiteral("設定ファイル「%1」を読み戻せませんでした。")
                             .arg(QDir::toNativeSeparators(m_context.paths.settingsPath())),
                         QStringLiteral("保存エラー")));
        }
        failed = failed || !written || !passwordStored;
        PasswordRewrite rewrite;
        if (passwordStored) {
            const BusyCursor busy;
            rewrite = rewritePasswordLines(m_context.paths, oldPassword, newPassword);
        }
        for (const QString& path : rewrite.unreadable)
            reportUnreadableDataFile(m_context.dialogs, path);
        if (!rewrite.failed.isEmpty()) {
            m_context.dialogs.message(errorBox(
                QStringLiteral("次のデータファイルのパスワードを書き換えられませんでした。\r\n") +
                    fileList(rewrite.failed),
                QStringLiteral("保存エラー")));
        }
        failed = failed || !rewrite.unreadable.isEmpty() || !rewrite.failed.isEmpty();
    } else {
        // The month list held the displayed month in the old order.
        m_month->reload(m_state.settings.passwordInForce());
        showPanel(emptyPanelTexts());
    }

    // A new target re-arms the message that it was reached.
    m_state.settings.dreamMoneyReached = m_state.settings.dreamMoneyFlagToWrite();
    m_state.settings.dreamMoneyValue = Currency::parseOrZero(txtDreamMoney->text());
    const TotalUpdate totals = RecomputeTargetColumn(m_context.paths, targetState());
    if (!totals.error.isEmpty()) {
        m_context.dialogs.message(
            errorBox(QStringLiteral("集計ファイルを更新できませんでした。\r\n") + totals.error,
                     QStringLiteral("保存エラー")));
        failed = true;
    }
    TotalUpdate reached = totals;
    reached.showTargetMessage =
        totals.showTargetMessage || (targetMessage && !m_state.settings.dreamMoneyReached);
    handleTargetMessage(reached);

    setTopMost(this, chkFormState->isChecked());
    if (failed)
        return;
    prgShinko->setValue(prgShinko->maximum());
    m_context.dialogs.message({QStringLiteral("設定を適用させました"), QStringLiteral("完了"),
                               MessageIcon::None, MessageButtons::Ok});
}

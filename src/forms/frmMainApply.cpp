// The settings tab's apply button: storing the settings and bringing the month files into
// line with a new key date or start password.
#include "forms/frmMain.h"

#include "core/Dialogs.h"
#include "diary/SettingsApply.h"
#include "forms/BusyCursor.h"
#include "forms/EntryTableModel.h"
#include "forms/ProgressPacer.h"
#include "platform/WindowLevel.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

MessageBoxSpec errorBox(const QString& text, const QString& caption)
{
    return {text, caption, MessageIcon::Critical, MessageButtons::Ok};
}

// One line of the apply's failure list for a month file that could not be read.
QString unreadableLine(const QString& path, bool refused)
{
    return (refused ? QStringLiteral("「%1」は別のパスワードで保存されているため、読み込めません。")
                    : QStringLiteral("「%1」は壊れているため、読み込めません。"))
        .arg(QDir::toNativeSeparators(path));
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
    const int top = pixelsToTwips(y());
    const int left = pixelsToTwips(x());
    // The settings image that decides a rewrite; it must read back with the password the
    // files are given, or the files would be locked out.
    const auto commitWriter = [&](const Settings& wanted) -> CommitWriter {
        return [&, wanted](const QString& path) {
            if (const QString error = SaveSettings(path, wanted, top, left); !error.isEmpty())
                return error;
            bool written = false;
            if (LoadSettings(path, written).passwordInForce() != wanted.passwordInForce() ||
                !written)
                return QStringLiteral("設定ファイル「%1」を読み戻せませんでした。")
                    .arg(QDir::toNativeSeparators(m_context.paths.settingsPath()));
            return QString();
        };
    };
    // A committed rewrite that could not finish: running on would read and write a mix.
    // The next start finishes it, or says why it cannot.
    const auto endUnfinished = [this](const QString& error) {
        m_context.dialogs.message(
            errorBox(QStringLiteral("設定の適用を完了できませんでした。\r\n%1\r\n"
                                    "ズミラ帳を一旦終了します。次回の起動時に適用を完了します。")
                         .arg(error),
                     QStringLiteral("設定エラー")));
        m_ended = true;
        close();
        QCoreApplication::quit();
    };

    // Everything that failed goes into one box at the end: what was not applied, then why.
    QStringList notApplied;
    QStringList problems;
    bool keyRewritten = false;
    if (keyChanged) {
        const Settings wanted = settingsFromControls();
        const QString newPassword = wanted.passwordInForce();
        {
            const BusyCursor busy;
            const StoredMonths read =
                readStoredMonths(m_context.paths, oldPassword, newPassword, progress);
            if (read.canChangeKey()) {
                const QList<StoredMonth> months = regroupByNewKey(read, progress);
                const KeyRewrite rewrite =
                    rewriteKeyDates(m_context.paths, months, read.records, newPassword,
                                    {Currency::parseOrZero(wanted.dreamMoneyText), false},
                                    commitWriter(wanted), progress);
                if (rewrite.committed) {
                    // The new settings went in with the new files (or go in at the next start).
                    m_state.settings = wanted;
                    keyRewritten = true;
                }
                if (rewrite.committed && !rewrite.error.isEmpty()) {
                    endUnfinished(rewrite.error);
                    return;
                }
                if (!rewrite.error.isEmpty()) {
                    notApplied.append(QStringLiteral("データファイルを書き換えられなかったため、"
                                                     "キー項目の変更は適用していません。"));
                    problems.append(rewrite.error);
                }
            } else {
                notApplied.append(QStringLiteral("キー項目の変更は適用していません。"
                                                 "データは変更していません。"));
                for (const QString& path : read.unreadable)
                    problems.append(unreadableLine(path, read.refused.contains(path)));
                for (const QString& path : read.badKeyDates)
                    problems.append(QStringLiteral("「%1」に日付の正しくないデータがあります。")
                                        .arg(QDir::toNativeSeparators(path)));
            }
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
        // The settings and the password lines of the month files change as one unit.
        const Settings wanted = settingsFromControls();
        const PasswordRewrite rewrite = [&] {
            const BusyCursor busy; // not over the boxes that follow
            return rewritePasswordLines(m_context.paths, oldPassword, wanted.passwordInForce(),
                                        commitWriter(wanted), progress);
        }();
        if (rewrite.committed)
            m_state.settings = wanted;
        if (rewrite.committed && !rewrite.error.isEmpty()) {
            endUnfinished(rewrite.error);
            return;
        }
        if (!rewrite.error.isEmpty()) {
            notApplied.append(QStringLiteral("設定を保存できなかったため、適用していません。"
                                             "データファイルは変更していません。"));
            problems.append(rewrite.error);
            // Nothing was stored: the password in use stays the stored one, so no later
            // write of the settings can lock the month files out.
            m_state.settings.startPassword = stored.startPassword;
            m_state.settings.startPasswordText = stored.startPasswordText;
            const QSignalBlocker block(chkStartPassword);
            chkStartPassword->setChecked(stored.startPassword);
        }
        for (const QString& path : rewrite.refused)
            problems.append(unreadableLine(path, true));
        for (const QString& path : rewrite.damaged)
            problems.append(unreadableLine(path, false));
        if (!rewrite.refused.isEmpty() || !rewrite.damaged.isEmpty())
            notApplied.append(QStringLiteral("読み込めないデータファイルは変更していません。"));
    } else {
        // The month list held the displayed month in the old order.
        m_month->reload(m_state.settings.passwordInForce());
        showPanel(emptyPanelTexts());
    }

    // A new target re-arms the message that it was reached; the message itself comes only
    // from a save that reaches the target, never from here.
    m_state.settings.dreamMoneyReached = m_state.settings.dreamMoneyFlagToWrite();
    m_state.settings.dreamMoneyValue = Currency::parseOrZero(txtDreamMoney->text());
    const TotalUpdate totals = RecomputeTargetColumn(m_context.paths, targetState());
    if (!totals.error.isEmpty())
        problems.append(QStringLiteral("集計ファイルを更新できませんでした。\r\n") + totals.error);

    setTopMost(this, chkFormState->isChecked());
    if (!problems.isEmpty()) {
        notApplied.removeDuplicates();
        problems.removeDuplicates();
        m_context.dialogs.message(errorBox((notApplied + problems).join(QStringLiteral("\r\n")),
                                           QStringLiteral("設定エラー")));
        return;
    }
    prgShinko->setValue(prgShinko->maximum());
    m_context.dialogs.message({QStringLiteral("設定を適用させました"), QStringLiteral("完了"),
                               MessageIcon::None, MessageButtons::Ok});
}

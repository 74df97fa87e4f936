#include "assistant/frmZumikey.h"

#include "assistant/frmUserProfile.h"
#include "core/AtomicFile.h"
#include "core/Clock.h"
#include "core/DamagedFile.h"
#include "core/Dialogs.h"
#include "platform/ForeignWindows.h"
#include "platform/WindowLevel.h"
#include "profile/Household.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kAfterKeyDelayMs = 150;
// The target has read the clipboard by then; the profile does not stay on it.
constexpr int kRestoreClipboardDelayMs = 1000;

const QString kOptionShow = QStringLiteral("オプション表示");
const QString kOptionHide = QStringLiteral("オプション非表示");

// Selects the list item with this text, or shows a stored text that is not in the list.
void setComboText(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text);
    combo->setCurrentIndex(index);
    if (index < 0)
        combo->setEditText(text);
}

} // namespace

frmZumikey::frmZumikey(const QString& programFolder, Dialogs& dialogs, const Clock& clock,
                       ForeignWindows& windows, QWidget* parent)
    : QWidget(parent, Qt::Window), m_paths(programFolder), m_dialogs(dialogs), m_clock(clock),
      m_windows(windows)
{
    setObjectName(QStringLiteral("frmZumikey"));
    setWindowTitle(QStringLiteral("ズミキー"));
    // A click on the assistant must not take the keyboard from the window it types into.
    setWindowFlag(Qt::WindowDoesNotAcceptFocus, true);
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    buildLayout();
    Form_Load();
}

void frmZumikey::Form_Load()
{
    // The option panel starts closed; Qt's layout sizes the window, so no width adjustment.
    fraOption->setVisible(false);
    cmdOption->setText(kOptionShow);

    createFolders(m_paths.iniFolder());          // the user's alone
    removeDeadTemporaries(m_paths.dataFolder()); // never those of a diary still writing

    StoredFile file;
    const AssistantSettings s = loadAssistantSettings(m_paths.assistantSettingsPath(), &file);
    m_settingsLocked =
        !settleStoredFile(m_paths.assistantSettingsPath(), file, m_clock.today(), m_dialogs);
    if (s.top) {
        QPoint at = pos();
        at.setY(twipsToPixels(*s.top));
        if (s.left)
            at.setX(twipsToPixels(*s.left));
        move(at);
    }
    chkFormState->setChecked(s.formState);
    setTopMost(this, s.formState);
    setComboText(cboRuby, s.ruby);
    setComboText(cboKeyInputBefore, s.keyInputBefore);
    setComboText(cboKeyInputAfter, s.keyInputAfter);

    loadPersonChoice();
    LoadUserProfile();
    UpdateFieldButtons();
    tmrCheckActiveWindow->start();
}

AssistantSettings frmZumikey::currentSettings() const
{
    AssistantSettings s;
    s.formState = chkFormState->isChecked();
    s.ruby = cboRuby->currentText();
    s.keyInputBefore = cboKeyInputBefore->currentText();
    s.keyInputAfter = cboKeyInputAfter->currentText();
    return s;
}

void frmZumikey::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    tmrCheckActiveWindow->stop();
    // A minimised window is restored first so that its normal position is kept.
    restoreIfMinimised(this);
    if (m_settingsLocked)
        return;
    // The old file stays as it was; the user learns that the options were not kept.
    const QString error = saveAssistantSettings(m_paths.assistantSettingsPath(), currentSettings(),
                                                pixelsToTwips(pos().y()), pixelsToTwips(pos().x()));
    if (!error.isEmpty()) {
        m_dialogs.message({QStringLiteral("設定ファイルを保存できませんでした。\r\n") + error,
                           QStringLiteral("保存エラー"), MessageIcon::Critical,
                           MessageButtons::Ok});
    }
}

void frmZumikey::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frmZumikey::setOptionPanelOpen(bool open)
{
    for (QWidget* w :
         {static_cast<QWidget*>(chkFormState), static_cast<QWidget*>(cboRuby),
          static_cast<QWidget*>(cboKeyInputBefore), static_cast<QWidget*>(cboKeyInputAfter)})
        w->setEnabled(open);
    fraOption->setVisible(open);
    cmdOption->setText(open ? kOptionHide : kOptionShow);
    cmdOption->setToolTip(open ? kOptionHide : kOptionShow);
}

void frmZumikey::cmdOption_Click()
{
    setOptionPanelOpen(cmdOption->text() == kOptionShow);
}

void frmZumikey::chkFormState_Click()
{
    setTopMost(this, chkFormState->isChecked());
}

void frmZumikey::cmdUserProfile_Click()
{
    frmUserProfile editor(m_paths, m_person, chkFormState->isChecked(), m_dialogs, this);
    editor.exec();
    // The editor may have added or removed people, renamed one, or moved to another.
    const int before = m_person;
    m_person = editor.person();
    fillPersonChoice();
    if (m_person != before)
        rememberPerson();
    LoadUserProfile();
    UpdateFieldButtons();
}

void frmZumikey::tmrCheckActiveWindow_Timer()
{
    const quint64 active = m_windows.activeWindow();
    if (active != 0 && active != static_cast<quint64>(winId()) && active != mlngTargetWnd)
        mlngTargetWnd = active;
}

void frmZumikey::LoadUserProfile()
{
    const QString path = personProfilePath(m_paths, m_person);
    StoredFile file;
    m_profile = loadUserProfileFile(path, nullptr, &file);
    // A file that cannot be read stays as it is; it is told once a run.
    if (file.condition == FileCondition::Unreadable) {
        if (!m_toldUnreadableProfiles.contains(path))
            reportUnreadableFile(path, file.error, m_dialogs);
        m_toldUnreadableProfiles.insert(path);
        return;
    }
    // What could be read replaces a damaged file once it is kept aside, so it is reported once.
    if (file.condition == FileCondition::Damaged &&
        keepDamagedFile(path, m_clock.today(), m_dialogs))
        saveUserProfileFile(path, m_profile);
}

void frmZumikey::UpdateFieldButtons()
{
    for (int r = 0; r < kFieldRowCount; ++r) {
        for (int i = 0; i < 5; ++i) {
            if (QPushButton* b = m_fieldButtons[r][i])
                b->setEnabled(fieldEnabled(m_profile, static_cast<FieldRow>(r), i));
        }
    }
}

QPushButton* frmZumikey::fieldButton(FieldRow row, int index) const
{
    if (index < 0 || index >= 5)
        return nullptr;
    return m_fieldButtons[static_cast<int>(row)][index];
}

QString frmZumikey::textFor(FieldRow row, int index)
{
    const QString text =
        fieldText(m_profile, row, index, cboRuby->currentText() == QStringLiteral("カタカナ"),
                  m_clock.today());
    if (row == FieldRow::UserAge)
        gstrUserAge = text;
    return text;
}

void frmZumikey::fieldClicked(FieldRow row, int index)
{
    const QString text = textFor(row, index);
    if (sendToBrowser(text))
        return;
    m_dialogs.setClipboardText(text);
    // Back to the event loop first: this process serves the clipboard the target reads.
    QTimer::singleShot(0, this, &frmZumikey::PasteToTargetWindow);
}

void frmZumikey::PasteToTargetWindow()
{
    if (!m_windows.available()) {
        if (!m_toldUnavailable) {
            m_toldUnavailable = true;
            m_dialogs.message(
                {QStringLiteral(
                     "この環境（Wayland）では、ほかのウィンドウへの自動入力はできません。\r\n"
                     "テキストはクリップボードに入っていますので、貼り付けてお使いください。\r\n"
                     "ブラウザーに拡張機能「ズミキー連携」を追加すると、ブラウザーの入力欄に"
                     "直接入力できます（ヘルプの「ズミキー」をご覧ください）。"),
                 QStringLiteral("ズミキー"), MessageIcon::Information, MessageButtons::Ok});
        }
        return;
    }
    if (mlngTargetWnd == 0)
        return;
    if (!m_windows.activate(mlngTargetWnd))
        return; // the text stays on the clipboard for pasting by hand
    QCoreApplication::processEvents();
    m_windows.sendKeys(parseKeySequence(pasteKeySequence(cboKeyInputBefore->currentText())));
    QTimer::singleShot(kRestoreClipboardDelayMs, this, [this] { m_dialogs.restoreClipboard(); });
    const QString after = afterKeySequence(cboKeyInputAfter->currentText());
    if (after.isEmpty())
        return;
    // On X11 the target reads the clipboard from this process after it got the paste keys;
    // many programs do that asynchronously, so the after-key waits while the event loop
    // serves that request, or the text would land in the next field.
    const QList<KeyStroke> strokes = parseKeySequence(after);
    QTimer::singleShot(kAfterKeyDelayMs, this, [this, strokes] { m_windows.sendKeys(strokes); });
}

bool frmZumikey::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
        for (int r = 0; r < kFieldRowCount; ++r) {
            for (int i = 0; i < 5; ++i) {
                if (m_fieldButtons[r][i] == watched)
                    m_fieldButtons[r][i]->setToolTip(textFor(static_cast<FieldRow>(r), i));
            }
        }
        return false;
    }
    // The combos change only by choosing from their lists.
    const bool isCombo = qobject_cast<QComboBox*>(watched) || qobject_cast<QLineEdit*>(watched);
    if (isCombo && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Tab ||
            key == Qt::Key_Backtab)
            return false;
        m_dialogs.beep();
        return true;
    }
    if (isCombo && event->type() == QEvent::InputMethod) {
        m_dialogs.beep();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

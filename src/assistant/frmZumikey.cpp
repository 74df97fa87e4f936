#include "assistant/frmZumikey.h"

#include "assistant/frmUserProfile.h"
#include "bridge/BridgeLink.h"
#include "bridge/BridgeServer.h"
#include "bridge/HostRegistration.h"
#include "core/AtomicFile.h"
#include "core/Clock.h"
#include "core/DamagedFile.h"
#include "core/Dialogs.h"
#include "platform/ForeignWindows.h"
#include "platform/WindowLevel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kAfterKeyDelayMs = 150;
// The target has read the clipboard by then; the profile does not stay on it.
constexpr int kRestoreClipboardDelayMs = 1000;

const QString kOptionShow = QStringLiteral("オプション表示");
const QString kOptionHide = QStringLiteral("オプション非表示");

QComboBox* makeLockedCombo(QWidget* parent, const QString& name, const QStringList& items)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    // Editable only so that a stored text outside the list can be shown as it is; typing is
    // locked by the window's event filter.
    combo->setEditable(true);
    combo->lineEdit()->setReadOnly(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    return combo;
}

// The after-key as the page carries it out: "Tab", "Enter" or "".
QString afterKeyName(const QString& keyInputAfter)
{
    const QString sequence = afterKeySequence(keyInputAfter);
    if (sequence == QLatin1String("{TAB}"))
        return QStringLiteral("Tab");
    if (sequence == QLatin1String("{ENTER}"))
        return QStringLiteral("Enter");
    return {};
}

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

void frmZumikey::buildLayout()
{
    auto* outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->setSpacing(2);

    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(2);
    rows->setVerticalSpacing(2);
    for (int r = 0; r <= static_cast<int>(FieldRow::UserBirthday); ++r) {
        const auto row = static_cast<FieldRow>(r);
        const QString name = fieldControlName(row);
        const QString caption = fieldCaption(row);
        for (int i = 0; i <= fieldPartCount(row); ++i) {
            auto* b = new QPushButton(i == 0 ? caption : QString::number(i), this);
            b->setObjectName(name + u'_' + QString::number(i));
            b->setFocusPolicy(Qt::NoFocus);
            if (i == 0) {
                b->setMinimumWidth(120);
                rows->addWidget(b, r, 0);
            } else {
                b->setAccessibleName(caption + u' ' + QString::number(i));
                b->setFixedWidth(24);
                rows->addWidget(b, r, i);
            }
            m_fieldButtons[r][i] = b;
        }
    }
    outer->addLayout(rows);

    auto* singles = new QHBoxLayout;
    singles->setSpacing(2);
    for (FieldRow row : {FieldRow::UserAge, FieldRow::UserSex, FieldRow::UserJob}) {
        auto* b = new QPushButton(fieldCaption(row), this);
        b->setObjectName(fieldControlName(row));
        b->setFocusPolicy(Qt::NoFocus);
        singles->addWidget(b);
        m_fieldButtons[static_cast<int>(row)][0] = b;
    }
    outer->addLayout(singles);

    for (int r = 0; r < kFieldRowCount; ++r) {
        for (int i = 0; i < 5; ++i) {
            QPushButton* b = m_fieldButtons[r][i];
            if (!b)
                continue;
            b->installEventFilter(this); // the tool tip shows what a click would type
            connect(b, &QPushButton::clicked, this,
                    [this, r, i] { fieldClicked(static_cast<FieldRow>(r), i); });
        }
    }

    cmdFormFill = new QPushButton(QStringLiteral("フォームに一括入力"), this);
    cmdFormFill->setObjectName(QStringLiteral("cmdFormFill"));
    cmdFormFill->setFocusPolicy(Qt::NoFocus);
    outer->addWidget(cmdFormFill);
    cmdUserProfile = new QPushButton(QStringLiteral("プロフィール管理"), this);
    cmdUserProfile->setObjectName(QStringLiteral("cmdUserProfile"));
    cmdUserProfile->setFocusPolicy(Qt::NoFocus);
    cmdOption = new QPushButton(kOptionShow, this);
    cmdOption->setObjectName(QStringLiteral("cmdOption"));
    cmdOption->setFocusPolicy(Qt::NoFocus);
    outer->addWidget(cmdUserProfile);
    outer->addWidget(cmdOption);

    fraOption = new QFrame(this);
    fraOption->setObjectName(QStringLiteral("fraOption"));
    fraOption->setFrameShape(QFrame::StyledPanel);
    auto* options = new QGridLayout(fraOption);
    chkFormState = new QCheckBox(QStringLiteral("最前面表示"), fraOption);
    chkFormState->setObjectName(QStringLiteral("chkFormState"));
    chkFormState->setChecked(true);
    options->addWidget(chkFormState, 0, 0, 1, 2);
    cboRuby = makeLockedCombo(fraOption, QStringLiteral("cboRuby"), rubyChoices());
    cboKeyInputBefore =
        makeLockedCombo(fraOption, QStringLiteral("cboKeyInputBefore"), keyInputBeforeChoices());
    cboKeyInputAfter =
        makeLockedCombo(fraOption, QStringLiteral("cboKeyInputAfter"), keyInputAfterChoices());
    const struct
    {
        const char* name;
        const char16_t* caption;
        QComboBox* combo;
    } labelled[] = {
        {"lblRuby", u"ルビの入力形式", cboRuby},
        {"lblKeyInputBefore", u"貼り付けキー", cboKeyInputBefore},
        {"lblKeyInputAfter", u"入力後の追加キー", cboKeyInputAfter},
    };
    int line = 1;
    for (const auto& l : labelled) {
        auto* label = new QLabel(QString::fromUtf16(l.caption), fraOption);
        label->setObjectName(QString::fromLatin1(l.name));
        label->setBuddy(l.combo);
        l.combo->setAccessibleName(label->text());
        l.combo->installEventFilter(this);
        l.combo->lineEdit()->installEventFilter(this);
        options->addWidget(label, line, 0);
        options->addWidget(l.combo, line, 1);
        ++line;
    }
    outer->addWidget(fraOption);

    tmrCheckActiveWindow = new QTimer(this);
    tmrCheckActiveWindow->setObjectName(QStringLiteral("tmrCheckActiveWindow"));
    tmrCheckActiveWindow->setInterval(50);

    connect(cmdFormFill, &QPushButton::clicked, this, &frmZumikey::cmdFormFill_Click);
    connect(cmdOption, &QPushButton::clicked, this, &frmZumikey::cmdOption_Click);
    connect(cmdUserProfile, &QPushButton::clicked, this, &frmZumikey::cmdUserProfile_Click);
    connect(chkFormState, &QCheckBox::clicked, this, &frmZumikey::chkFormState_Click);
    connect(tmrCheckActiveWindow, &QTimer::timeout, this, &frmZumikey::tmrCheckActiveWindow_Timer);
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
    frmUserProfile editor(m_paths.profilePath(), chkFormState->isChecked(), m_dialogs, this);
    editor.exec();
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
    StoredFile file;
    m_profile = loadUserProfileFile(m_paths.profilePath(), nullptr, &file);
    // A file that cannot be read stays as it is; it is told once a run.
    if (file.condition == FileCondition::Unreadable) {
        if (!m_toldUnreadableProfile)
            reportUnreadableFile(m_paths.profilePath(), file.error, m_dialogs);
        m_toldUnreadableProfile = true;
        return;
    }
    // What could be read replaces a damaged file once it is kept aside, so it is reported once.
    if (file.condition == FileCondition::Damaged &&
        keepDamagedFile(m_paths.profilePath(), m_clock.today(), m_dialogs))
        saveUserProfileFile(m_paths.profilePath(), m_profile);
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

void frmZumikey::setBrowserBridge(BridgeServer* bridge, const QString& home)
{
    const QString host = m_paths.programFolder() + u'/' + QLatin1String(bridgelink::kHostProgram);
    if (!bridge || !QFileInfo(host).isExecutable())
        return;
    m_bridge = bridge;
    connect(bridge, &BridgeServer::messageReceived, this, &frmZumikey::browserAnswered);
    QStringList failures;
    const QString listenError = bridge->listen();
    if (!listenError.isEmpty())
        failures << QStringLiteral("接続の受け付け: ") + listenError;
    failures << hostregistration::registerHost(
        hostregistration::targets(home, QProcessEnvironment::systemEnvironment(), host));
    if (failures.isEmpty())
        return;
    m_dialogs.message({QStringLiteral("ブラウザー連携の準備ができませんでした。\r\n") +
                           failures.join(QStringLiteral("\r\n")) +
                           QStringLiteral("\r\nブラウザーの入力欄へ直接入力することはできません。"),
                       QStringLiteral("ズミキー"), MessageIcon::Critical, MessageButtons::Ok});
}

bool frmZumikey::browserIsTarget() const
{
    if (!m_bridge || !m_bridge->browserConnected())
        return false;
    // Where other windows can be reached, the browser is the target only when it was the
    // window the user worked in last.
    return !m_windows.available() ||
           m_bridge->browserOwnsProcess(m_windows.windowProcess(mlngTargetWnd));
}

bool frmZumikey::sendToBrowser(const QString& text)
{
    return browserIsTarget() &&
           m_bridge->send(bridgelink::insertMessage(++m_bridgeRequest, text,
                                                    afterKeyName(cboKeyInputAfter->currentText())));
}

void frmZumikey::cmdFormFill_Click()
{
    if (!browserIsTarget()) {
        m_dialogs.message(
            {QStringLiteral("フォームへの一括入力は、拡張機能「ズミキー連携」を追加したブラウザーで"
                            "行います。\r\nブラウザーで応募フォームを開いてから、もう一度押して"
                            "ください。"),
             QStringLiteral("ズミキー"), MessageIcon::Information, MessageButtons::Ok});
        return;
    }
    QJsonObject values;
    for (const auto& [key, value] : formFillValues(m_profile, m_clock.today()))
        values.insert(key, value);
    m_bridge->send({{QStringLiteral("type"), QStringLiteral("fill")},
                    {QStringLiteral("id"), ++m_bridgeRequest},
                    {QStringLiteral("values"), values}});
}

void frmZumikey::browserAnswered(const QJsonObject& message)
{
    if (message.value(QStringLiteral("type")).toString() != QLatin1String("result") ||
        message.value(QStringLiteral("ok")).toBool())
        return;
    const QString error = message.value(QStringLiteral("error")).toString();
    QString text;
    if (error == QLatin1String("no-field") || error == QLatin1String("no-tab"))
        text = QStringLiteral("ブラウザーで入力欄が選ばれていないため、入力できませんでした。\r\n"
                              "入力したい欄をクリックしてから、もう一度ボタンを押してください。");
    else if (error == QLatin1String("no-form"))
        text = QStringLiteral("このページには、一括入力できる欄が見つかりませんでした。");
    else if (error == QLatin1String("read-only"))
        text = QStringLiteral("選ばれている入力欄には書き込めないため、入力できませんでした。");
    else
        text = QStringLiteral("ブラウザーの入力欄に入力できませんでした。\r\n") + error;
    m_dialogs.message(
        {text, QStringLiteral("ズミキー"), MessageIcon::Exclamation, MessageButtons::Ok});
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

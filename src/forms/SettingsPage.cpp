#include "forms/SettingsPage.h"

#include "core/Clock.h"
#include "core/DamagedFile.h"
#include "core/Dialogs.h"
#include "diary/Expenses.h"
#include "forms/DigitKeyFilter.h"
#include "forms/FormHelpers.h"
#include "forms/MonthPage.h"
#include "forms/ReminderBox.h"
#include "forms/SettingsApplyRun.h"
#include "forms/frmMain.h"
#include "forms/frmStartPassword.h"
#include "platform/WindowLevel.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

SettingsPage::SettingsPage(MainParts& parts) : MainPage(parts)
{
    buildControls();
    connectControls();
}

void SettingsPage::buildControls()
{
    fraSetting = named(new QGroupBox, "fraSetting");
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(fraSetting);
    fraReminder = new ReminderBox(m_parts);
    auto* grid = new QGridLayout(fraSetting);

    auto* keyFrame = new QGroupBox(QStringLiteral("構成キー"));
    optEndDay = named(new QRadioButton(QStringLiteral("締切日")), "optEndDay");
    optNowDay = named(new QRadioButton(QStringLiteral("応募日")), "optNowDay");
    auto* keyLayout = new QVBoxLayout(keyFrame);
    keyLayout->addWidget(optEndDay);
    keyLayout->addWidget(optNowDay);
    // The note's blanks broke a narrow fixed-width line; here it wraps as one sentence.
    auto* keyNote =
        named(new QLabel(QStringLiteral("※構成キーを変更すると、支出総額は全て0円になります。")),
              "lblKeyNote");
    keyNote->setWordWrap(true);
    keyLayout->addWidget(keyNote);
    grid->addWidget(keyFrame, 0, 0);

    auto* widthFrame = new QGroupBox(QStringLiteral("「月間」「検索」の各項目幅"));
    m_widthGrid = new QGridLayout(widthFrame);
    static const char* const kBoxNames[kWidthKeyCount] = {
        "txtSizeNowDay",   "txtSizeID",      "txtSizeSite",     "txtSizeURL",
        "txtSizeGenre",    "txtSizePresent", "txtSizeKekka",    "txtSizeHappyMoney",
        "txtSizeNumber",   "txtSizeEndDay",  "txtSizeHappyDay", "txtSizeOboKeishiki",
        "txtSizeSenkoWay", "txtSizeCycle",   "txtSizeOboWay",   "txtSizeMsg"};
    static const char16_t* const kCaptions[kWidthKeyCount] = {
        u"応 募 日", u"ＩＤ番号", u"応募先",   u"ＵＲＬ",   u"ジャンル", u"賞品名",
        u"結果",     u"当選額",   u"当選数",   u"締 切 日", u"当選日",   u"応募形式",
        u"選考方法", u"サイクル", u"応募方法", u"コメント"};
    for (int i = 0; i < kWidthKeyCount; ++i) {
        txtSize[i] = named(new QLineEdit, kBoxNames[i]);
        txtSize[i]->setMaxLength(5);
        txtSize[i]->setAlignment(Qt::AlignRight);
        txtSize[i]->setFixedWidth(70);
        // The two date boxes sit beside lblMain (the key date) and lblSub (the other date).
        QLabel* caption = nullptr;
        if (i == int(WidthKey::NowDay))
            caption = lblMain = named(new QLabel(QString::fromUtf16(kCaptions[i])), "lblMain");
        else if (i == int(WidthKey::EndDay))
            caption = lblSub = named(new QLabel(QString::fromUtf16(kCaptions[i])), "lblSub");
        else
            caption = captionFor(txtSize[i], QString::fromUtf16(kCaptions[i]));
        m_widthGrid->addWidget(caption, i / 4, (i % 4) * 2);
        m_widthGrid->addWidget(txtSize[i], i / 4, (i % 4) * 2 + 1);
    }
    grid->addWidget(widthFrame, 0, 1);
    // Beside the options, where the widths leave room; its changes count at once, not on 適用.
    grid->addWidget(fraReminder, 1, 1, Qt::AlignTop);

    auto* optionFrame = new QGroupBox(QStringLiteral("オプション"));
    auto* options = new QVBoxLayout(optionFrame);
    const auto check = [&](QCheckBox*& box, const char* name, const char16_t* caption) {
        box = named(new QCheckBox(QString::fromUtf16(caption)), name);
        options->addWidget(box);
    };
    check(chkStartPassword, "chkStartPassword", u"起動時に記帳者認証を行う");
    check(chkEncryptData, "chkEncryptData", u"データファイルを暗号化する");
    check(chkStartZumira, "chkStartZumira", u"起動時に「ズミラ広場」サイトを開く");
    check(chkFormState, "chkFormState", u"常に手前に表示する");
    check(chkNoTyohuku, "chkNoTyohuku", u"登録前に重複確認する");
    check(chkSortOn, "chkSortOn", u"登録・編集後に構成キーでソートする");
    check(chkDeleteKakunin, "chkDeleteKakunin", u"削除前に確認する");
    check(chkAllDeleteKakunin, "chkAllDeleteKakunin", u"全削除前に確認する");
    check(chkAutoSumOutput, "chkAutoSumOutput", u"保存・印刷時に自動集計も出力する");
    check(chkSimekiriStart, "chkSimekiriStart", u"起動時に締切間近の懸賞を知らせる");
    txtSimekiriDays = named(new QLineEdit, "txtSimekiriDays");
    txtSimekiriDays->setMaxLength(2);
    txtSimekiriDays->setAlignment(Qt::AlignRight);
    txtSimekiriDays->setFixedWidth(40);
    auto* daysRow = new QHBoxLayout;
    daysRow->addWidget(captionFor(txtSimekiriDays, QStringLiteral("締切間近とする日数（0～99）")));
    daysRow->addWidget(txtSimekiriDays);
    daysRow->addWidget(new QLabel(QStringLiteral("日以内")));
    daysRow->addStretch();
    options->addLayout(daysRow);
    grid->addWidget(optionFrame, 1, 0);

    auto* targetFrame = named(new QGroupBox(QStringLiteral("目標収支金額")), "fraDreamMoney");
    auto* targetRow = new QHBoxLayout(targetFrame);
    txtDreamMoney = named(new QLineEdit, "txtDreamMoney");
    txtDreamMoney->setMaxLength(9);
    txtDreamMoney->setAlignment(Qt::AlignRight);
    txtDreamMoney->setFixedWidth(110);
    txtDreamMoney->setAccessibleName(QStringLiteral("目標収支金額"));
    targetRow->addWidget(txtDreamMoney);
    targetRow->addWidget(new QLabel(QStringLiteral("円")));
    targetRow->addStretch();
    cmdSetting = pushButton("cmdSetting", QStringLiteral("適用(&A)"));
    cmdSetting->setEnabled(false);
    auto* bottomRow = new QHBoxLayout;
    bottomRow->addWidget(targetFrame);
    bottomRow->addStretch();
    bottomRow->addWidget(cmdSetting);
    grid->addLayout(bottomRow, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    fraSetting->setEnabled(false);
}

void SettingsPage::connectControls()
{
    connect(cmdSetting, &QPushButton::clicked, this, &SettingsPage::cmdSetting_Click);
    m_digitFilter = new DigitKeyFilter(m_parts.context.dialogs, this);
    for (QLineEdit* box : txtSize) {
        m_digitFilter->attach(box);
        connect(box, &QLineEdit::textEdited, this, &SettingsPage::settingChanged);
    }
    for (QLineEdit* box : {txtDreamMoney, txtSimekiriDays}) {
        m_digitFilter->attach(box);
        connect(box, &QLineEdit::textEdited, this, &SettingsPage::settingChanged);
    }
    connect(chkStartPassword, &QCheckBox::clicked, this, &SettingsPage::chkStartPassword_Click);
    for (QCheckBox* box : {chkStartZumira, chkFormState, chkNoTyohuku, chkSortOn, chkDeleteKakunin,
                           chkAllDeleteKakunin, chkAutoSumOutput, chkSimekiriStart, chkEncryptData})
        connect(box, &QCheckBox::clicked, this, &SettingsPage::settingChanged);
    for (QRadioButton* option : {optEndDay, optNowDay}) {
        connect(option, &QRadioButton::clicked, this, [this] {
            arrangeDateWidthBoxes(optEndDay->isChecked());
            settingChanged();
        });
    }
}

void SettingsPage::enter()
{
    readSettings();
    m_parts.state.suppressPasswordDialog = false;
    m_edited = false;
}

void SettingsPage::commandInputs(CommandInputs& in) const
{
    in.settingsEdited = m_edited;
}

void SettingsPage::applyCommands(const CommandState& c)
{
    fraSetting->setEnabled(c.settingFrame);
    cmdSetting->setEnabled(c.setting);
}

std::optional<Tally> SettingsPage::refreshTotals()
{
    m_parts.month->recount(Currency());
    return std::nullopt; // the panel stays at zero
}

void SettingsPage::readSettings()
{
    MainState& state = m_parts.state;
    const QString path = m_parts.context.paths.settingsPath();
    bool existed = false;
    StoredFile file;
    const Settings settings = LoadSettings(path, existed, &file);
    // Told once a run: a file already locked stays locked and is not reported again.
    if (state.settingsFileLock.isEmpty() &&
        !settleStoredFile(path, file, m_parts.context.clock.today(), m_parts.context.dialogs)) {
        state.settingsFileLock =
            file.condition == FileCondition::Unreadable
                ? QStringLiteral("このファイルは読み込めなかったため、上書きしません。")
                : QStringLiteral("壊れたファイルを別名で残せなかったため、上書きしません。");
    }
    if (state.startingUp && settings.mainTop) {
        QWidget& window = m_parts.window;
        const int top = twipsToPixels(*settings.mainTop);
        const int left = settings.mainLeft ? twipsToPixels(*settings.mainLeft) : window.x();
        window.move(left, top);
    }
    showSettings(settings);
    // A kept damaged file is replaced at once, so it is reported only once.
    if (state.settingsFileLock.isEmpty() && (!existed || file.condition == FileCondition::Damaged))
        writeSettings();
}

bool SettingsPage::settingsFileWritable()
{
    if (m_parts.state.settingsFileLock.isEmpty())
        return true;
    m_parts.context.dialogs.message(
        {QStringLiteral("設定ファイル「%1」を保存できないため、設定を適用できません。データは変更"
                        "していません。\r\n%2")
             .arg(QDir::toNativeSeparators(m_parts.context.paths.settingsPath()),
                  m_parts.state.settingsFileLock),
         QStringLiteral("設定エラー"), MessageIcon::Critical, MessageButtons::Ok});
    return false;
}

bool SettingsPage::writeSettings()
{
    MainState& state = m_parts.state;
    const QWidget& window = m_parts.window;
    state.settings = settingsFromControls();
    // A file that could not be read, or a damaged one not kept aside, is never overwritten.
    const QString error = !state.settingsFileLock.isEmpty()
                              ? state.settingsFileLock
                              : SaveSettings(m_parts.context.paths.settingsPath(), state.settings,
                                             pixelsToTwips(window.y()), pixelsToTwips(window.x()));
    if (error.isEmpty())
        return true;
    m_parts.context.dialogs.message(
        {QStringLiteral("設定ファイル「%1」を保存できませんでした。\r\n%2")
             .arg(m_parts.context.paths.settingsPath(), error),
         QStringLiteral("保存エラー"), MessageIcon::Critical, MessageButtons::Ok});
    return false;
}

void SettingsPage::showSettings(const Settings& s)
{
    m_parts.state.settings = s;
    optNowDay->setChecked(!s.keyIsEndDay);
    optEndDay->setChecked(s.keyIsEndDay);
    txtDreamMoney->setText(s.dreamMoneyText);
    for (int i = 0; i < kWidthKeyCount; ++i)
        txtSize[i]->setText(s.widths[i]);
    const QSignalBlocker block(chkStartPassword); // a load never opens the password window
    chkStartPassword->setChecked(s.startPassword);
    chkEncryptData->setChecked(s.encryptData);
    arrangeEncryptBox();
    chkStartZumira->setChecked(s.startZumira);
    chkFormState->setChecked(s.formState);
    chkNoTyohuku->setChecked(s.noTyohuku);
    chkSortOn->setChecked(s.sortOn);
    chkDeleteKakunin->setChecked(s.deleteKakunin);
    chkAllDeleteKakunin->setChecked(s.allDeleteKakunin);
    chkAutoSumOutput->setChecked(s.autoSumOutput);
    chkSimekiriStart->setChecked(s.deadlineNotice);
    txtSimekiriDays->setText(QString::number(s.deadlineDays));
    arrangeDateWidthBoxes(s.keyIsEndDay);
}

Settings SettingsPage::settingsFromControls() const
{
    Settings s = m_parts.state.settings; // keeps the target as read and the password text
    s.keyIsEndDay = optEndDay->isChecked();
    s.dreamMoneyText = txtDreamMoney->text();
    for (int i = 0; i < kWidthKeyCount; ++i)
        s.widths[i] = txtSize[i]->text();
    s.startPassword = chkStartPassword->isChecked();
    s.startZumira = chkStartZumira->isChecked();
    s.formState = chkFormState->isChecked();
    s.noTyohuku = chkNoTyohuku->isChecked();
    s.sortOn = chkSortOn->isChecked();
    s.deleteKakunin = chkDeleteKakunin->isChecked();
    s.allDeleteKakunin = chkAllDeleteKakunin->isChecked();
    s.autoSumOutput = chkAutoSumOutput->isChecked();
    s.deadlineNotice = chkSimekiriStart->isChecked();
    s.deadlineDays = std::clamp(txtSimekiriDays->text().toInt(), 0, kDeadlineDaysMax);
    return s;
}

bool SettingsPage::keyIsEndDayShown() const
{
    return optEndDay->isChecked();
}

std::array<int, kEntryFieldCount - 1> SettingsPage::entryColumnTwips() const
{
    // The key date's column and the other date's follow the key.
    const bool keyIsEndDay = optEndDay->isChecked();
    const WidthKey columns[kEntryFieldCount - 1] = {
        keyIsEndDay ? WidthKey::EndDay : WidthKey::NowDay,
        WidthKey::ID,
        WidthKey::Site,
        WidthKey::URL,
        WidthKey::Genre,
        WidthKey::Present,
        WidthKey::Kekka,
        WidthKey::HappyMoney,
        WidthKey::Number,
        keyIsEndDay ? WidthKey::NowDay : WidthKey::EndDay,
        WidthKey::HappyDay,
        WidthKey::OboKeishiki,
        WidthKey::SenkoWay,
        WidthKey::Cycle,
        WidthKey::OboWay,
        WidthKey::Msg};
    std::array<int, kEntryFieldCount - 1> twips{};
    for (int c = 0; c < kEntryFieldCount - 1; ++c)
        twips[c] = txtSize[int(columns[c])]->text().toInt();
    return twips;
}

TargetState SettingsPage::targetState() const
{
    return {m_parts.state.settings.dreamMoneyValue, m_parts.state.settings.dreamMoneyReached};
}

void SettingsPage::handleTargetMessage(const TotalUpdate& update)
{
    if (!update.showTargetMessage)
        return;
    m_parts.context.dialogs.message(targetReachedMessage());
    m_parts.state.settings.dreamMoneyReached = true;
    writeSettings(); // at once, so the message is never shown twice for one target
}

void SettingsPage::settingChanged()
{
    m_edited = true;
    m_parts.window.updateCommands();
}

void SettingsPage::arrangeDateWidthBoxes(bool keyIsEndDay)
{
    // The key date's box sits first, beside lblMain; the other date's beside lblSub.
    QLineEdit* keyBox = txtSize[int(keyIsEndDay ? WidthKey::EndDay : WidthKey::NowDay)];
    QLineEdit* otherBox = txtSize[int(keyIsEndDay ? WidthKey::NowDay : WidthKey::EndDay)];
    const int subIndex = int(WidthKey::EndDay);
    m_widthGrid->removeWidget(keyBox);
    m_widthGrid->removeWidget(otherBox);
    m_widthGrid->addWidget(keyBox, 0, 1);
    m_widthGrid->addWidget(otherBox, subIndex / 4, (subIndex % 4) * 2 + 1);
    lblMain->setText(keyIsEndDay ? QStringLiteral("締 切 日") : QStringLiteral("応 募 日"));
    lblSub->setText(keyIsEndDay ? QStringLiteral("応 募 日") : QStringLiteral("締 切 日"));
    lblMain->setBuddy(keyBox);
    lblSub->setBuddy(otherBox);
    keyBox->setAccessibleName(lblMain->text());
    otherBox->setAccessibleName(lblSub->text());
    setTabOrder(optNowDay, keyBox);
}

void SettingsPage::arrangeEncryptBox()
{
    if (!chkStartPassword->isChecked())
        chkEncryptData->setChecked(false);
    chkEncryptData->setEnabled(chkStartPassword->isChecked());
}

void SettingsPage::chkStartPassword_Click()
{
    MainState& state = m_parts.state;
    if (state.suppressPasswordDialog) {
        state.suppressPasswordDialog = false;
        arrangeEncryptBox();
        settingChanged();
        return;
    }
    // The box has already changed: on means switching the lock on, off switching it off.
    const bool switchingOn = chkStartPassword->isChecked();
    auto* form = new frmStartPassword(
        switchingOn ? frmStartPassword::Mode::Set : frmStartPassword::Mode::Release,
        state.settings.startPasswordText, m_parts.context.dialogs, &m_parts.window);
    if (state.settings.encryptData && !switchingOn)
        form->checkAgainst(&state.settings.keyRecord); // the password is kept nowhere
    form->setAttribute(Qt::WA_DeleteOnClose);
    connect(form, &QDialog::finished, this, [this, form, switchingOn](int result) {
        MainState& state = m_parts.state;
        if (result == QDialog::Accepted) {
            state.settings.startPasswordText = form->password();
        } else {
            // Cancel, Escape or the window's close command: the box goes back.
            state.suppressPasswordDialog = true;
            chkStartPassword->setChecked(!switchingOn);
            if (switchingOn)
                state.settings.startPasswordText.clear();
        }
        state.settings.startPassword = chkStartPassword->isChecked();
        arrangeEncryptBox();
        state.suppressPasswordDialog = false;
        settingChanged();
    });
    form->open();
}

void SettingsPage::cmdSetting_Click()
{
    if (!settingsFileWritable())
        return;
    m_edited = false;
    m_parts.window.updateCommands();
    SettingsApplyRun(m_parts, *this).run();
}

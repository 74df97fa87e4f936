#include "forms/frmMain.h"

#include "core/Clock.h"
#include "core/DamagedFile.h"
#include "core/Dialogs.h"
#include "diary/Deadlines.h"
#include "diary/Deployment.h"
#include "diary/Startup.h"
#include "forms/ColumnWidths.h"
#include "forms/EntryTableModel.h"
#include "forms/frmDataSearch.h"
#include "platform/DesktopShortcut.h"
#include "platform/WindowLevel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <algorithm>

frmMain::frmMain(const AppContext& context, QWidget* parent)
    : QWidget(parent), m_context(context), m_month(new ShownMonth(context.paths, this))
{
    buildUi();
    connectShownMonth();
    connect(cmdEnd, &QPushButton::clicked, this, &frmMain::cmdEnd_Click);
    connectEvents();
}

frmMain::~frmMain() = default;

QString frmMain::VersionText()
{
    const QStringList parts = QCoreApplication::applicationVersion().split(u'.');
    const int major = parts.value(0).toInt();
    const int minor = parts.value(1).toInt();
    return QString::number(major) + u'.' + QString::number(minor).rightJustified(2, u'0');
}

bool frmMain::Form_Load()
{
    lvwMonth->hide();
    const auto paint = [](QLabel* label, int r, int g, int b) {
        label->setStyleSheet(QStringLiteral("color: rgb(%1,%2,%3);").arg(r).arg(g).arg(b));
    };
    paint(lblSyo, 168, 0, 0);
    paint(lblTyu, 0, 168, 0);
    paint(lblDai, 0, 0, 168);
    paint(lblDay, 191, 159, 63);
    lblVersion->setText(QStringLiteral("ズミラ帳 Version ") + VersionText());
    setWindowTitle(QStringLiteral("ズミラ帳"));

    const std::optional<SettingsOrigin> origin =
        prepareDataFolders(m_context.paths, m_context.dialogs);
    if (!origin) {
        m_ended = true; // the user was told why; nothing is stored
        return false;
    }
    if (*origin == SettingsOrigin::FirstStart) {
        const MessageAnswer answer = m_context.dialogs.message(
            {QStringLiteral("デスクトップ上にショートカットを作成しますか？"),
             QStringLiteral("ズミラ帳初回起動"), MessageIcon::Question, MessageButtons::YesNo,
             MessageAnswer::Yes});
        if (answer == MessageAnswer::Yes)
            cmdShortcut_Click();
    }

    m_state.startingUp = true;
    m_state.suppressPasswordDialog = true;
    readSettings();
    // The login prompt of a locked diary runs here, while starting up.
    if (chkStartPassword->isChecked() && !StartPasswordLogin()) {
        m_ended = true; // a cancelled login stores nothing
        return false;
    }
    m_state.startingUp = false;
    // Month files are read under the start password, so this waits for the login.
    finishSummaryUnits();

    setTopMost(this, chkFormState->isChecked());
    if (chkStartZumira->isChecked())
        OpenSiteUrl(deployment::kSiteHome, QStringLiteral("0"));
    BuildEntryColumns(lvwMonth);
    BuildEntryColumns(lvwSearch);
    ListViewColumnHeadersYear();
    ListViewColumnHeadersTotal();

    setCurrentDate(m_context.clock.today());
    LoadMonthFile();
    lvwMonth->show();
    // Once the window is on the screen, so the box and the search form open over it.
    QTimer::singleShot(0, this, &frmMain::noticeDeadlinesAtStart);
    return true;
}

void frmMain::setLoginPrompt(std::function<bool()> prompt)
{
    m_loginPrompt = std::move(prompt);
}

void frmMain::cmdShortcut_Click()
{
    const QString program = m_context.paths.programFolder() + QStringLiteral("/zumicho");
    const QString error = createDesktopShortcut(userDesktopFolder(), QStringLiteral("ズミラ帳"),
                                                program, QStringLiteral("懸賞応募の記帳ソフト"));
    if (!error.isEmpty()) {
        m_context.dialogs.message(
            {QStringLiteral("デスクトップにショートカットを作成できませんでした。\r\n") + error,
             QStringLiteral("ショートカット作成"), MessageIcon::Critical, MessageButtons::Ok});
    }
}

void frmMain::setCurrentDate(const QDate& date)
{
    m_state.lastYearMonth = date.toString(QStringLiteral("yyyy/MM"));
    const QSignalBlocker block(dtpDate);
    dtpDate->setDate(date);
}

QString frmMain::focusYear() const
{
    return dtpDate->date().toString(QStringLiteral("yyyy"));
}

QString frmMain::focusMonth() const
{
    return dtpDate->date().toString(QStringLiteral("MM"));
}

void frmMain::cmdEnd_Click()
{
    if (m_ended)
        return;
    if (m_searchForm && m_searchForm->searching()) {
        m_searchForm->cmdClose_Click(); // stops the search; ending waits until it has stopped
        return;
    }
    unloadSearchForm();
    restoreIfMinimised(this);
    if (currentTab() == Tab::Setting) {
        // Settings changed on the tab but never applied are dropped.
        m_state.suppressPasswordDialog = true;
        readSettings();
    }
    writeSettings();
    m_ended = true;
    close();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    cmdEnd_Click();
    if (!m_ended) {
        event->ignore(); // a search is still stopping
        return;
    }
    event->accept();
}

void frmMain::readSettings()
{
    bool existed = false;
    StoredFile file;
    const Settings settings = LoadSettings(m_context.paths.settingsPath(), existed, &file);
    // Told once a run: a file already locked stays locked and is not reported again.
    if (m_state.settingsFileLock.isEmpty() &&
        !settleStoredFile(m_context.paths.settingsPath(), file, m_context.clock.today(),
                          m_context.dialogs)) {
        m_state.settingsFileLock =
            file.condition == FileCondition::Unreadable
                ? QStringLiteral("このファイルは読み込めなかったため、上書きしません。")
                : QStringLiteral("壊れたファイルを別名で残せなかったため、上書きしません。");
    }
    if (m_state.startingUp && settings.mainTop) {
        const int top = twipsToPixels(*settings.mainTop);
        const int left = settings.mainLeft ? twipsToPixels(*settings.mainLeft) : x();
        move(left, top);
    }
    showSettings(settings);
    // A kept damaged file is replaced at once, so it is reported only once.
    if (m_state.settingsFileLock.isEmpty() &&
        (!existed || file.condition == FileCondition::Damaged))
        writeSettings();
}

bool frmMain::settingsFileWritable()
{
    if (m_state.settingsFileLock.isEmpty())
        return true;
    m_context.dialogs.message(
        {QStringLiteral("設定ファイル「%1」を保存できないため、設定を適用できません。データは変更"
                        "していません。\r\n%2")
             .arg(QDir::toNativeSeparators(m_context.paths.settingsPath()),
                  m_state.settingsFileLock),
         QStringLiteral("設定エラー"), MessageIcon::Critical, MessageButtons::Ok});
    return false;
}

bool frmMain::writeSettings()
{
    m_state.settings = settingsFromControls();
    // A file that could not be read, or a damaged one not kept aside, is never overwritten.
    const QString error = !m_state.settingsFileLock.isEmpty()
                              ? m_state.settingsFileLock
                              : SaveSettings(m_context.paths.settingsPath(), m_state.settings,
                                             pixelsToTwips(y()), pixelsToTwips(x()));
    if (error.isEmpty())
        return true;
    m_context.dialogs.message({QStringLiteral("設定ファイル「%1」を保存できませんでした。\r\n%2")
                                   .arg(m_context.paths.settingsPath(), error),
                               QStringLiteral("保存エラー"), MessageIcon::Critical,
                               MessageButtons::Ok});
    return false;
}

void frmMain::showSettings(const Settings& s)
{
    m_state.settings = s;
    optNowDay->setChecked(!s.keyIsEndDay);
    optEndDay->setChecked(s.keyIsEndDay);
    txtDreamMoney->setText(s.dreamMoneyText);
    for (int i = 0; i < kWidthKeyCount; ++i)
        txtSize[i]->setText(s.widths[i]);
    const QSignalBlocker block(chkStartPassword); // a load never opens the password window
    chkStartPassword->setChecked(s.startPassword);
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

Settings frmMain::settingsFromControls() const
{
    Settings s = m_state.settings; // keeps the target as read and the password text
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

void frmMain::applyEntryColumnWidths(QTableView* view)
{
    // Settings keep widths in twips; the key date's column and the other date's follow the key.
    const bool keyIsEndDay = optEndDay->isChecked();
    const auto widthOf = [&](WidthKey key) {
        return columnPixels(txtSize[int(key)]->text().toInt(), view->fontMetrics());
    };
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
    for (int c = 0; c < kEntryFieldCount - 1; ++c) {
        const int width = widthOf(columns[c]);
        view->setColumnHidden(c, width == 0);
        if (width > 0)
            view->setColumnWidth(c, width);
    }
    view->setColumnHidden(Pic, true);
}

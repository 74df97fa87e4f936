#include "forms/frmMain.h"

#include "core/Clock.h"
#include "core/Dialogs.h"
#include "diary/Deployment.h"
#include "diary/Startup.h"
#include "diary/SummaryUnits.h"
#include "forms/DeadlineReminder.h"
#include "forms/MonthPage.h"
#include "forms/ReminderBox.h"
#include "forms/SearchPage.h"
#include "forms/SettingsPage.h"
#include "forms/frmStartPassword.h"
#include "platform/DesktopShortcut.h"
#include "platform/WindowLevel.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QTableView>
#include <QTimer>

namespace {

// Start-up, after the login: finishes the saves a crash cut short.
void finishSummaryUnits(const MainParts& parts)
{
    const Recount recount = ::finishSummaryUnits(
        parts.context.paths, parts.state.settings.passwordInForce(), parts.settings->targetState());
    if (!recount.ok()) {
        QStringList files;
        for (const QString& path : recount.unreadable)
            files.append(
                QStringLiteral("「%1」を読み込めません。").arg(QDir::toNativeSeparators(path)));
        parts.context.dialogs.message(
            {QStringLiteral("前回中断された保存の集計を月のデータに合わせられませんでした。\r\n") +
                 (files + recount.errors).join(QStringLiteral("\r\n")),
             QStringLiteral("集計エラー"), MessageIcon::Critical, MessageButtons::Ok});
    }
    TotalUpdate reached;
    reached.showTargetMessage = recount.showTargetMessage;
    parts.settings->handleTargetMessage(reached);
}

} // namespace

QString siteAddressFor(const QString& url, const QString& id)
{
    QString address = url;
    if (id != u"0")
        address.replace(deployment::kSiteCategoryPrefix, deployment::kSitePickupPrefix);
    return address;
}

frmMain::frmMain(const AppContext& context, QWidget* parent)
    : QWidget(parent), m_context(context), m_parts(m_context, m_state, *this)
{
    buildUi();
    connectEvents();
}

frmMain::~frmMain() = default;

ShownMonth& frmMain::shownMonth()
{
    return m_parts.month->shownMonth();
}

EntryTableModel* frmMain::monthModel() const
{
    return m_parts.month->model();
}

EntryTableModel* frmMain::searchModel() const
{
    return m_parts.search->model();
}

QDate frmMain::shownDate() const
{
    return dtpDate->date();
}

QString frmMain::VersionText()
{
    const QStringList parts = QCoreApplication::applicationVersion().split(u'.');
    const int major = parts.value(0).toInt();
    const int minor = parts.value(1).toInt();
    return QString::number(major) + u'.' + QString::number(minor).rightJustified(2, u'0');
}

bool frmMain::Form_Load()
{
    MonthPage& month = *m_parts.month;
    month.view()->hide();
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
    m_parts.settings->readSettings();
    // The login prompt of a locked diary runs here, while starting up.
    if ((m_state.settings.startPassword || m_state.settings.encryptData) && !StartPasswordLogin()) {
        m_ended = true; // a cancelled login stores nothing
        return false;
    }
    m_state.startingUp = false;
    // Month files are read under the start password, so this waits for the login.
    finishSummaryUnits(m_parts);

    setTopMost(this, m_state.settings.formState);
    if (m_state.settings.startZumira)
        month.OpenSiteUrl(deployment::kSiteHome, QStringLiteral("0"));
    month.BuildEntryColumns();
    m_parts.search->BuildEntryColumns();
    m_parts.setCurrentDate(m_context.clock.today());
    month.LoadMonthFile();
    month.view()->show();
    // Once the window is on the screen, so the box and the search form open over it; the
    // start-up question tells the day's deadlines, and the daily notice then waits a day.
    m_parts.settings->reminders().start();
    QTimer::singleShot(0, this, [this] {
        DeadlineReminder& daily = m_parts.settings->reminders().reminder();
        if (m_parts.search->noticeDeadlinesAtStart())
            daily.markToldToday();
        daily.check();
    });
    return true;
}

void frmMain::setLoginPrompt(std::function<bool()> prompt)
{
    m_loginPrompt = std::move(prompt);
}

bool frmMain::StartPasswordLogin()
{
    const Settings& settings = m_state.settings;
    if (settings.encryptData && !settings.keyRecord.isValid()) {
        // Without its record no password can open the files; they are left as they are.
        m_context.dialogs.message(
            {QStringLiteral("鍵ファイル「%1」が壊れているか読み込めないため、暗号化されたデー"
                            "タを開けません。\r\nデータファイルはそのままにして終了します。")
                 .arg(QDir::toNativeSeparators(m_context.paths.keyRecordPath())),
             QStringLiteral("ファイルエラー"), MessageIcon::Critical, MessageButtons::Ok});
        return false;
    }
    if (m_loginPrompt && !settings.encryptData)
        return m_loginPrompt();
    frmStartPassword form(frmStartPassword::Mode::Login, settings.startPasswordText,
                          m_context.dialogs, this);
    if (settings.encryptData)
        form.checkAgainst(&settings.keyRecord);
    if (form.exec() != QDialog::Accepted)
        return false;
    if (settings.encryptData)
        m_context.paths.setDataKey(form.takeKey());
    return true;
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

void frmMain::cmdEnd_Click()
{
    if (m_ended)
        return;
    if (m_parts.search->stopRunningSearch())
        return; // ending waits until the search has stopped
    m_parts.search->unloadSearchForm();
    restoreIfMinimised(this);
    if (currentTab() == Tab::Setting) {
        // Settings changed on the tab but never applied are dropped.
        m_state.suppressPasswordDialog = true;
        m_parts.settings->readSettings();
    }
    m_parts.settings->writeSettings();
    m_ended = true;
    close();
}

void frmMain::endWithoutSaving()
{
    m_ended = true;
    close();
    QCoreApplication::quit(); // other open windows must not keep the program running
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

#include "forms/frmMain.h"

#include "core/Clock.h"
#include "core/DamagedFile.h"
#include "core/Dialogs.h"
#include "diary/Deadlines.h"
#include "diary/Deployment.h"
#include "diary/Startup.h"
#include "forms/ColumnWidths.h"
#include "forms/EntryTableModel.h"
#include "forms/SettingsPage.h"
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
    : QWidget(parent), m_context(context), m_parts(m_context, m_state, *this),
      m_month(new ShownMonth(context.paths, this))
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
    m_settingsPage->readSettings();
    // The login prompt of a locked diary runs here, while starting up.
    if (m_state.settings.startPassword && !StartPasswordLogin()) {
        m_ended = true; // a cancelled login stores nothing
        return false;
    }
    m_state.startingUp = false;
    // Month files are read under the start password, so this waits for the login.
    finishSummaryUnits();

    setTopMost(this, m_state.settings.formState);
    if (m_state.settings.startZumira)
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
        m_settingsPage->readSettings();
    }
    m_settingsPage->writeSettings();
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

void frmMain::applyEntryColumnWidths(QTableView* view)
{
    // Settings keep widths in twips.
    const auto twips = m_settingsPage->entryColumnTwips();
    for (int c = 0; c < kEntryFieldCount - 1; ++c) {
        const int width = columnPixels(twips[c], view->fontMetrics());
        view->setColumnHidden(c, width == 0);
        if (width > 0)
            view->setColumnWidth(c, width);
    }
    view->setColumnHidden(Pic, true);
}

void frmMain::cmdSetting_Click()
{
    m_settingsPage->cmdSetting_Click();
}

void frmMain::endWithoutSaving()
{
    m_ended = true;
    close();
    QCoreApplication::quit(); // other open windows must not keep the program running
}

void frmMain::rebuildEntryLists()
{
    BuildEntryColumns(lvwMonth);
    BuildEntryColumns(lvwSearch);
}

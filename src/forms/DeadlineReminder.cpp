#include "forms/DeadlineReminder.h"

#include "core/Clock.h"
#include "core/Dialogs.h"
#include "diary/Deadlines.h"
#include "forms/MainParts.h"
#include "forms/SearchPage.h"
#include "forms/frmMain.h"
#include "platform/WindowLevel.h"

#include <QApplication>
#include <QDir>

namespace {

// Often enough that the notice comes within the minute of its time, and after a suspend or a
// change of the clock as soon as the day's time has come.
constexpr int kCheckIntervalMs = 30 * 1000;

} // namespace

DeadlineReminder::DeadlineReminder(MainParts& parts, QObject* parent)
    : QObject(parent), m_parts(parts)
{
    m_timer.setInterval(kCheckIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &DeadlineReminder::check);
    connect(&m_notices, &ClickableNotifications::clicked, this,
            &DeadlineReminder::showDeadlineList);
}

QString DeadlineReminder::path() const
{
    return reminderSettingsPath(m_parts.context.paths);
}

void DeadlineReminder::start()
{
    const ReminderLoad load = loadReminderSettings(path());
    m_settings = load.settings;
    if (!load.error.isEmpty()) {
        m_fileLock = load.error;
        m_parts.context.dialogs.message(
            {QStringLiteral("「%1」を読み込めないため、締切のお知らせの設定は既定のまま使い、"
                            "このファイルには書き込みません。\r\n%2")
                 .arg(QDir::toNativeSeparators(path()), load.error),
             kDeadlineCaption, MessageIcon::Critical, MessageButtons::Ok});
    }
    m_timer.start();
}

void DeadlineReminder::markToldToday()
{
    ReminderSettings told = m_settings;
    told.lastAnnounced = m_parts.context.clock.today();
    store(told);
}

bool DeadlineReminder::store(const ReminderSettings& settings)
{
    m_settings = settings;
    const QString error =
        m_fileLock.isEmpty() ? saveReminderSettings(path(), settings) : m_fileLock;
    if (error.isEmpty())
        return true;
    m_parts.context.dialogs.message(
        {QStringLiteral("締切のお知らせの設定を「%1」に保存できませんでした。\r\n%2")
             .arg(QDir::toNativeSeparators(path()), error),
         QStringLiteral("保存エラー"), MessageIcon::Critical, MessageButtons::Ok});
    return false;
}

bool DeadlineReminder::windowBusy() const
{
    // A box or dialog waits for the user, or a search reads the data folder.
    return QApplication::activeModalWidget() || m_parts.state.searchRunning;
}

void DeadlineReminder::check()
{
    const QDateTime now(m_parts.context.clock.today(), m_time());
    if (!m_settings.daily || !reminderDue(now, m_settings.at, m_settings.lastAnnounced) ||
        windowBusy())
        return;
    const Settings& s = m_parts.state.settings;
    // A month that cannot be read is told when it is opened or searched, not here.
    const DeadlineScan scan = findOpenEntries(m_parts.context.paths, s.keyIsEndDay,
                                              s.passwordInForce(), now.date(), s.deadlineDays);
    // Stored first: a failure to store is told once, not at every check of the day.
    markToldToday();
    if (scan.entries.isEmpty())
        return;
    const QString error = m_notices.notify(
        kDeadlineCaption, deadlineNoticeText(scan.entries, s.deadlineDays, s.keyIsEndDay));
    if (error.isEmpty())
        return;
    // Without the desktop's notifications the window asks, as at start-up.
    const MessageAnswer answer = m_parts.context.dialogs.message(
        {QStringLiteral("デスクトップの通知で知らせられませんでした（%1）。\r\n").arg(error) +
             deadlineQuestionText(scan.entries.size(), s.deadlineDays),
         kDeadlineCaption, MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::Yes});
    if (answer == MessageAnswer::Yes)
        showDeadlineList();
}

void DeadlineReminder::showDeadlineList()
{
    bringToFront(&m_parts.window);
    if (windowBusy())
        return; // the box or the search it waits for is now in front
    m_parts.search->cmdSimekiri_Click();
}

#include "forms/ReminderBox.h"

#include "core/Dialogs.h"
#include "forms/DeadlineReminder.h"
#include "forms/FormHelpers.h"
#include "forms/MainParts.h"
#include "platform/DeadlineTimer.h"

#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("締切のお知らせ");

} // namespace

ReminderBox::ReminderBox(MainParts& parts, QWidget* parent)
    : QGroupBox(kCaption, parent), m_parts(parts), m_reminder(new DeadlineReminder(parts, this))
{
    setObjectName(QStringLiteral("fraReminder"));
    tmeRemind = named(new QTimeEdit, "tmeRemind");
    tmeRemind->setDisplayFormat(QStringLiteral("HH:mm"));
    chkRemindDaily =
        named(new QCheckBox(QStringLiteral("起動中は毎日この時刻に締切間近の懸賞を通知する")),
              "chkRemindDaily");
    chkDeadlineTimer = named(
        new QCheckBox(QStringLiteral("終了中もこの時刻に通知する（systemd のユーザータイマー）")),
        "chkDeadlineTimer");
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(captionFor(tmeRemind, QStringLiteral("通知する時刻")));
    timeRow->addWidget(tmeRemind);
    timeRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(timeRow);
    layout->addWidget(chkRemindDaily);
    layout->addWidget(chkDeadlineTimer);

    connect(tmeRemind, &QTimeEdit::editingFinished, this, &ReminderBox::tmeRemind_Change);
    connect(chkRemindDaily, &QCheckBox::clicked, this, [this](bool on) {
        ReminderSettings s = m_reminder->settings();
        s.daily = on;
        m_reminder->store(s);
    });
    connect(chkDeadlineTimer, &QCheckBox::clicked, this, &ReminderBox::chkDeadlineTimer_Click);
}

void ReminderBox::start()
{
    m_reminder->start();
    showSettings();
}

void ReminderBox::showSettings()
{
    const ReminderSettings& s = m_reminder->settings();
    tmeRemind->setTime(s.at);
    chkRemindDaily->setChecked(s.daily);
    chkDeadlineTimer->setChecked(s.timer);
}

void ReminderBox::tmeRemind_Change()
{
    ReminderSettings s = m_reminder->settings();
    if (tmeRemind->time() == s.at)
        return;
    s.at = tmeRemind->time();
    // The timer follows the time; a timer that could not be rewritten keeps the old one.
    if (s.timer && !installTimer()) {
        showSettings();
        return;
    }
    m_reminder->store(s);
    m_reminder->check(); // a time already passed today tells at once
}

void ReminderBox::chkDeadlineTimer_Click()
{
    const bool on = chkDeadlineTimer->isChecked();
    if (!(on ? installTimer() : removeTimer())) {
        chkDeadlineTimer->setChecked(!on);
        return;
    }
    ReminderSettings s = m_reminder->settings();
    s.timer = on;
    m_reminder->store(s);
}

bool ReminderBox::removeTimer()
{
    QString note;
    const QString error = removeDeadlineTimer(userUnitFolder(), &note);
    if (!error.isEmpty()) {
        m_parts.context.dialogs.message(
            {QStringLiteral("タイマーを取り除けませんでした。\r\n") + error, kCaption,
             MessageIcon::Critical, MessageButtons::Ok});
        return false;
    }
    // Without systemctl there is no service manager that could still run the timer.
    if (!note.isEmpty() && userServiceManagerFound()) {
        m_parts.context.dialogs.message(
            {QStringLiteral("タイマーのファイルを取り除きました。サービスマネージャーには伝えられ"
                            "ませんでした（%1）。")
                 .arg(note),
             kCaption, MessageIcon::Information, MessageButtons::Ok});
    }
    return true;
}

bool ReminderBox::installTimer()
{
    const AppPaths& paths = m_parts.context.paths;
    const DeadlineTimerUnits units =
        deadlineTimerUnits(paths.programFolder() + QStringLiteral("/zumicho-data"),
                           paths.dataFolder(), tmeRemind->time());
    QString note;
    const QString error = installDeadlineTimer(userUnitFolder(), units, &note);
    if (!error.isEmpty()) {
        m_parts.context.dialogs.message(
            {QStringLiteral("タイマーを設定できませんでした。\r\n") + error, kCaption,
             MessageIcon::Critical, MessageButtons::Ok});
        return false;
    }
    if (!note.isEmpty()) {
        // The files are in place; only the service manager could not be told.
        const QString why =
            userServiceManagerFound()
                ? QStringLiteral("サービスマネージャーに伝えられなかった（%1）").arg(note)
                : QStringLiteral("systemctl が見つからない");
        m_parts.context.dialogs.message(
            {QStringLiteral("タイマーのファイルを「%1」に書きましたが、%2ため、タイマーはまだ動"
                            "いていません。systemd のユーザーセッションで「systemctl --user "
                            "enable --now zumicho-deadlines.timer」を実行すると動き始めます。")
                 .arg(QDir::toNativeSeparators(userUnitFolder()), why),
             kCaption, MessageIcon::Exclamation, MessageButtons::Ok});
    }
    return true;
}

#include "diary/Reminders.h"

#include "core/AtomicFile.h"

#include <QFileInfo>

namespace {

const QString kSection = QStringLiteral("[Reminders]");
constexpr qint64 kFileSizeMax = 64 * 1024;

} // namespace

QString reminderSettingsPath(const AppPaths& paths)
{
    return paths.iniFolder() + QStringLiteral("/reminders.ini");
}

ReminderLoad loadReminderSettings(const QString& path)
{
    ReminderLoad load;
    if (!QFileInfo::exists(path))
        return load;
    const ReadResult read = readWholeFile(path, kFileSizeMax);
    if (!read.ok) {
        load.error =
            read.tooLarge ? QStringLiteral("%1 is too large to be ours").arg(path) : read.error;
        return load;
    }
    // Read key by key: a key missing or not understood keeps its default.
    ReminderSettings& s = load.settings;
    bool inSection = false;
    for (QByteArray line : read.bytes.split('\n')) {
        line = line.trimmed();
        if (line.startsWith('[')) {
            inSection = QString::fromUtf8(line).compare(kSection, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inSection || equals < 0)
            continue;
        const QString key = QString::fromUtf8(line.left(equals)).trimmed().toLower();
        const QString value = QString::fromUtf8(line.mid(equals + 1)).trimmed();
        if (key == u"time") {
            if (const QTime at = QTime::fromString(value, QStringLiteral("HH:mm")); at.isValid())
                s.at = at;
        } else if (key == u"daily" && (value == u"0" || value == u"1")) {
            s.daily = value == u"1";
        } else if (key == u"timer" && (value == u"0" || value == u"1")) {
            s.timer = value == u"1";
        } else if (key == u"lastannounced") {
            s.lastAnnounced = QDate::fromString(value, QStringLiteral("yyyy/MM/dd"));
        }
    }
    return load;
}

QByteArray reminderSettingsText(const ReminderSettings& s)
{
    const QString text =
        kSection + QStringLiteral("\r\nTime=%1\r\nDaily=%2\r\nTimer=%3\r\nLastAnnounced=%4\r\n")
                       .arg(s.at.toString(QStringLiteral("HH:mm")), QString::number(int(s.daily)),
                            QString::number(int(s.timer)),
                            s.lastAnnounced.toString(QStringLiteral("yyyy/MM/dd")));
    return text.toUtf8();
}

QString saveReminderSettings(const QString& path, const ReminderSettings& settings)
{
    return writeFileAtomically(path, reminderSettingsText(settings));
}

bool reminderDue(const QDateTime& now, const QTime& at, const QDate& lastAnnounced)
{
    return now.time() >= at && lastAnnounced != now.date();
}

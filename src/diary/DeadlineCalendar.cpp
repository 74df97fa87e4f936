#include "DeadlineCalendar.h"

#include "diary/Deadlines.h"

#include <QCryptographicHash>
#include <QDate>
#include <QHash>

namespace {

const QString kDateFormat = QStringLiteral("yyyy/MM/dd");

// Content lines are at most 75 octets; longer ones go on in lines that begin with a blank.
// A fold never splits the bytes of one character.
void appendLine(QByteArray& out, const QString& line)
{
    const QByteArray bytes = line.toUtf8();
    qsizetype start = 0;
    qsizetype room = 75;
    while (bytes.size() - start > room) {
        qsizetype cut = start + room;
        while ((static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80)
            --cut;
        out += bytes.mid(start, cut - start) + "\r\n ";
        start = cut;
        room = 74; // the leading blank counts
    }
    out += bytes.mid(start) + "\r\n";
}

// Only a plain web address goes into the URL property, which is not escaped: anything else
// (blanks, control characters, quotes) could end the property or start another.
bool isPlainWebAddress(const QString& url)
{
    if (!url.startsWith(QStringLiteral("http://")) && !url.startsWith(QStringLiteral("https://")))
        return false;
    for (const QChar c : url) {
        if (c.unicode() <= 0x20 || c.unicode() == 0x7F || c == u'"' || c == u'\\')
            return false;
    }
    return true;
}

// What identifies an entry from one export to the next: the fields a result or a comment
// does not change. Entries alike in all of them are told apart by their order.
QByteArray identityOf(const EntryRecord& entry)
{
    QByteArray identity;
    for (const int field : {KeyDate, ID, Site, URL, Present, OtherDate, OboWay})
        identity += entry[field].toUtf8() + '\x1f';
    return QCryptographicHash::hash(identity, QCryptographicHash::Sha1).toHex();
}

} // namespace

QString calendarText(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\\' || c == u';' || c == u',') {
            escaped += u'\\';
            escaped += c;
        } else if (c == u'\r') {
            escaped += QStringLiteral("\\n");
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else if (c == u'\n') {
            escaped += QStringLiteral("\\n");
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            escaped += u' '; // no other control character is allowed in a value
        } else {
            escaped += c;
        }
    }
    return escaped;
}

QByteArray deadlineCalendar(const QList<EntryRecord>& entries, bool keyIsEndDay, int alarmDays,
                            const QDateTime& written)
{
    QByteArray out;
    const auto line = [&out](const QString& text) { appendLine(out, text); };
    line(QStringLiteral("BEGIN:VCALENDAR"));
    line(QStringLiteral("VERSION:2.0"));
    line(QStringLiteral("PRODID:-//zumicho//deadlines//JA"));
    line(QStringLiteral("CALSCALE:GREGORIAN"));
    line(QStringLiteral("X-WR-CALNAME:") + calendarText(QStringLiteral("ズミラ帳 締切")));
    const QString stamp = written.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QHash<QByteArray, int> seen;
    for (const EntryRecord& entry : entries) {
        const QDate deadline = QDate::fromString(deadlineOf(entry, keyIsEndDay), kDateFormat);
        if (!deadline.isValid())
            continue;
        const QByteArray identity = identityOf(entry);
        const int occurrence = seen[identity]++;
        line(QStringLiteral("BEGIN:VEVENT"));
        line(
            QStringLiteral("UID:%1-%2@zumicho").arg(QString::fromLatin1(identity)).arg(occurrence));
        line(QStringLiteral("DTSTAMP:") + stamp);
        line(QStringLiteral("DTSTART;VALUE=DATE:") + deadline.toString(QStringLiteral("yyyyMMdd")));
        line(QStringLiteral("DTEND;VALUE=DATE:") +
             deadline.addDays(1).toString(QStringLiteral("yyyyMMdd")));
        const QString summary = entry[Site].isEmpty()
                                    ? entry[Present]
                                    : entry[Present] + QStringLiteral(" (") + entry[Site] + u')';
        line(QStringLiteral("SUMMARY:") + calendarText(summary));
        QStringList details{QStringLiteral("ＩＤ番号: ") + entry[ID],
                            QStringLiteral("応募方法: ") + entry[OboWay]};
        if (!entry[URL].isEmpty())
            details.append(QStringLiteral("URL: ") + entry[URL]);
        line(QStringLiteral("DESCRIPTION:") + calendarText(details.join(u'\n')));
        if (isPlainWebAddress(entry[URL]))
            line(QStringLiteral("URL:") + entry[URL]);
        line(QStringLiteral("TRANSP:TRANSPARENT"));
        line(QStringLiteral("BEGIN:VALARM"));
        line(QStringLiteral("ACTION:DISPLAY"));
        line(QStringLiteral("TRIGGER:-P%1D").arg(alarmDays));
        line(QStringLiteral("DESCRIPTION:") + calendarText(QStringLiteral("締切間近: ") + summary));
        line(QStringLiteral("END:VALARM"));
        line(QStringLiteral("END:VEVENT"));
    }
    line(QStringLiteral("END:VCALENDAR"));
    return out;
}

#include "diary/MonthFile.h"

#include "core/AtomicFile.h"
#include "core/Blanks.h"
#include "core/Cp932.h"
#include "core/Scramble.h"
#include "diary/Tally.h"

#include <QFileInfo>

namespace {

const QString kPasswordPrefix = QStringLiteral("StartPassword=");

// Reads the comma-separated, optionally quoted fields of the plain text one at a time.
// Text inside quotes is taken as it stands, commas and line breaks included.
class FieldReader
{
public:
    explicit FieldReader(const QString& text) : m_text(text) {}

    // `field` views the text, which outlives the reader.
    bool next(QStringView& field)
    {
        skip(isBlank);
        // A comma at the end of a line is followed by one more, empty, field.
        const bool atLineEnd =
            m_pos >= m_text.size() || m_text[m_pos] == u'\r' || m_text[m_pos] == u'\n';
        if (m_afterComma && atLineEnd) {
            m_afterComma = false;
            field = QStringView();
            return true;
        }
        skip([](QChar c) { return isBlank(c) || c == u'\r' || c == u'\n'; });
        if (m_pos >= m_text.size())
            return false;
        if (m_text[m_pos] == u'"') {
            const qsizetype close = m_text.indexOf(u'"', m_pos + 1);
            const qsizetype end = close < 0 ? m_text.size() : close;
            field = QStringView(m_text).sliced(m_pos + 1, end - m_pos - 1);
            m_pos = close < 0 ? m_text.size() : close + 1;
            // Anything between the closing quote and the delimiter is dropped.
            skip([](QChar c) { return c != u',' && c != u'\r' && c != u'\n'; });
        } else {
            const qsizetype start = m_pos;
            skip([](QChar c) { return c != u',' && c != u'\r' && c != u'\n'; });
            field = QStringView(m_text).sliced(start, m_pos - start).trimmed();
        }
        m_afterComma = m_pos < m_text.size() && m_text[m_pos] == u',';
        if (m_afterComma)
            ++m_pos;
        return true;
    }

private:
    template <typename Pred> void skip(Pred pred)
    {
        while (m_pos < m_text.size() && pred(m_text[m_pos]))
            ++m_pos;
    }

    const QString& m_text;
    qsizetype m_pos = 0;
    bool m_afterComma = false;
};

} // namespace

MonthText parseMonthText(const QByteArray& plain, const QString& expectedPassword,
                         FieldTexts* shared)
{
    MonthText result;
    // An empty file holds no entries, whatever the password.
    if (plain.isEmpty())
        return result;
    FieldTexts ownTexts;
    FieldTexts& texts = shared ? *shared : ownTexts;
    const auto store = [&](int position, QStringView field) {
        // A quote mark can be held only between quotes, where it never occurs; the stored
        // text follows the quote-mark rule, so what is read is what the next save writes.
        if (field.contains(u'"'))
            return field.toString().replace(u'"', u' ');
        return isSharedField(position) ? texts.intern(field) : field.toString();
    };
    QString text;
    if (!cp932::decode(plain, text)) {
        result.status = MonthText::Status::Damaged;
        return result;
    }
    FieldReader reader(text);
    QStringView field;
    bool haveField = reader.next(field);
    if (haveField && field.startsWith(kPasswordPrefix)) {
        // The writer puts a password line only for a password that is set.
        if (expectedPassword.isEmpty() ||
            field.sliced(kPasswordPrefix.size()) != expectedPassword) {
            result.status = MonthText::Status::Refused;
            return result;
        }
        haveField = reader.next(field);
    } else if (!expectedPassword.isEmpty()) {
        result.status = MonthText::Status::Refused;
        return result;
    }
    Tally sum;
    while (haveField) {
        EntryRecord record;
        record[0] = store(0, field);
        int count = 1;
        for (; count < kEntryFieldCount && reader.next(field); ++count)
            record[count] = store(count, field);
        // A record cut short means the file is damaged: saving it back would turn the
        // missing fields into empty ones. So does an amount beyond any sum.
        bool amountOutOfRange = false;
        Currency::parse(record[HappyMoney], &amountOutOfRange);
        countEntry(sum, record);
        if (count < kEntryFieldCount || amountOutOfRange || sum.overflowed) {
            result.status = MonthText::Status::Damaged;
            result.entries.clear();
            return result;
        }
        result.entries.append(std::move(record));
        haveField = reader.next(field);
    }
    return result;
}

QString passwordLineText(const QString& password)
{
    return u'"' + kPasswordPrefix + password + QStringLiteral("\"\r\n");
}

MonthTextBuild formatMonthText(const QList<EntryRecord>& entries, const QString& passwordLine)
{
    MonthTextBuild build;
    QString text;
    if (passwordLine.contains(u'"') || !cp932::firstUnencodable(passwordLine).isNull()) {
        build.badPassword = true;
        return build;
    }
    if (!passwordLine.isEmpty())
        text += passwordLineText(passwordLine);
    text.reserve(text.size() + entries.size() * 200);
    // A quote mark inside a field would end it early when read back.
    bool quoteMark = false;
    for (const EntryRecord& entry : entries) {
        for (int f = 0; f < kEntryFieldCount; ++f) {
            quoteMark = quoteMark || entry[f].contains(u'"');
            if (f > 0)
                text += u',';
            text += u'"';
            text += entry[f];
            text += u'"';
        }
        text += QStringLiteral("\r\n");
    }
    // One encoding of the whole text; only when it fails is each field checked, to name it.
    if (!quoteMark && cp932::encode(text, build.plain))
        return build;
    for (int e = 0; e < entries.size(); ++e) {
        const EntryRecord& entry = entries.at(e);
        for (int f = 0; f < kEntryFieldCount; ++f) {
            const QChar bad =
                entry[f].contains(u'"') ? QChar(u'"') : cp932::firstUnencodable(entry[f]);
            if (!bad.isNull()) {
                build.plain.clear();
                build.badEntry = e;
                build.badField = f;
                build.badCharacter = bad;
                return build;
            }
        }
    }
    cp932::encode(text, build.plain); // every field on its own was fine
    return build;
}

MonthRead readMonthFile(const QString& path, const QString& expectedPassword, FieldTexts* shared)
{
    MonthRead result;
    if (!QFileInfo::exists(path))
        return result;
    const ReadResult read = readWholeFile(path);
    if (!read.ok) {
        result.status = MonthRead::Status::Damaged;
        return result;
    }
    MonthText parsed = parseMonthText(scrambleBytes(read.bytes), expectedPassword, shared);
    switch (parsed.status) {
    case MonthText::Status::Loaded:
        result.status = MonthRead::Status::Loaded;
        break;
    case MonthText::Status::Refused:
        result.status = MonthRead::Status::Refused;
        break;
    case MonthText::Status::Damaged:
        result.status = MonthRead::Status::Damaged;
        break;
    }
    result.entries = std::move(parsed.entries);
    return result;
}

QString writeMonthFile(const QString& path, const QByteArray& plain)
{
    if (plain.isEmpty())
        return removeFileDurably(path) ? QString() : QStringLiteral("cannot remove %1").arg(path);
    return writeFileAtomically(path, scrambleBytes(plain));
}

#include "diary/MonthFile.h"

#include "core/AtomicFile.h"
#include "core/Blanks.h"
#include "core/Cp932.h"
#include "core/FileCrypto.h"
#include "diary/Tally.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>

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

namespace {

// The plain text decoded and split into fields, not yet copied into entries.
struct SplitText
{
    MonthText::Status status = MonthText::Status::Loaded;
    QString text;              // the decoded file, which `fields` view
    QList<QStringView> fields; // seventeen per entry
    bool quoteMarks = false;   // some field holds a quote mark
};

SplitText splitPlainText(const QByteArray& plain, const QString& expectedPassword)
{
    SplitText result;
    // An empty file holds no entries, whatever the password.
    if (plain.isEmpty())
        return result;
    if (!cp932::decode(plain, result.text)) {
        result.status = MonthText::Status::Damaged;
        return result;
    }
    FieldReader reader(result.text);
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
    result.fields.reserve((result.text.count(u'\n') + 1) * kEntryFieldCount); // a line per entry
    for (; haveField; haveField = reader.next(field)) {
        result.fields.append(field);
        result.quoteMarks = result.quoteMarks || field.contains(u'"');
    }
    // A record cut short means the file is damaged: saving it back would turn the missing
    // fields into empty ones.
    if (result.fields.size() % kEntryFieldCount != 0) {
        result.status = MonthText::Status::Damaged;
        result.fields = {};
    }
    return result;
}

// Short texts seen lately in one field, looked at before the shared table: a field repeats
// a few texts (days, choices) over a month. One slot per text, picked from its ends, so a
// look-up is one comparison.
class RecentTexts
{
public:
    const QString* find(QStringView text) const
    {
        const QString& seen = m_texts[slotOf(text)];
        return seen.size() == text.size() && QStringView(seen) == text ? &seen : nullptr;
    }
    const QString& remember(QStringView text, QString shared)
    {
        QString& slot = m_texts[slotOf(text)];
        slot = std::move(shared);
        return slot;
    }

private:
    static constexpr std::size_t kSlots = 64;
    static std::size_t slotOf(QStringView text)
    {
        if (text.isEmpty())
            return 0;
        const std::size_t first = text.front().unicode();
        const std::size_t last = text.back().unicode();
        const std::size_t middle = text.at(text.size() / 2).unicode();
        return (std::size_t(text.size()) * 31 + first * 7 + middle * 17 + last * 131) % kSlots;
    }
    std::array<QString, kSlots> m_texts;
};

// An entry's own texts in one block, each followed by a null as a string of its own would
// be, and each field a string into its part of the block: one allocation per entry instead
// of one per text, which over a whole diary's entries is a sixth of their memory. A field
// changed later is copied out of the block first, as any shared string is.
void storeOwnTexts(EntryRecord& record, const QStringView* fields)
{
    qsizetype room = 0;
    int texts = 0;
    for (int f : kOwnTextFields) {
        if (!fields[f].isEmpty()) {
            room += fields[f].size() + 1;
            ++texts;
        }
    }
    if (texts < 2) {
        for (int f : kOwnTextFields)
            record[f] = fields[f].toString();
        return;
    }
    QString block(room - 1, Qt::Uninitialized); // its own null ends the last text
    char16_t* at = block.data_ptr().data();
    for (int f : kOwnTextFields) {
        const QStringView text = fields[f];
        if (text.isEmpty()) {
            record[f] = text.toString();
            continue;
        }
        std::copy(text.utf16(), text.utf16() + text.size(), at);
        at[text.size()] = u'\0';
        QString::DataPointer part = block.data_ptr(); // one more holder of the block
        part.ptr = at;
        part.size = text.size();
        record[f] = QString(std::move(part));
        at += text.size() + 1;
    }
}

// Appends an entry per seventeen fields to `into`; false, with `into` as it was, when an
// amount is out of range or a sum overflows (the file is damaged then).
bool appendEntries(const QList<QStringView>& fields, bool quoteMarks, FieldTexts* shared,
                   QList<EntryRecord>& into, EntryFieldMask kept = kAllEntryFields)
{
    kept |= fieldBit(Kekka) | fieldBit(HappyMoney);
    const bool allKept = kept == kAllEntryFields;
    FieldTexts ownTexts;
    FieldTexts& texts = shared ? *shared : ownTexts;
    std::array<RecentTexts, kEntryFieldCount> recent;
    const auto store = [&](int position, QStringView field) {
        if (!(kept & fieldBit(position)))
            return QString();
        // A quote mark can be held only between quotes, where it never occurs; the stored
        // text follows the quote-mark rule, so what is read is what the next save writes.
        if (quoteMarks && field.contains(u'"'))
            return field.toString().replace(u'"', u' ');
        if (allKept && !isSharedField(position))
            return field.toString();
        RecentTexts& seen = recent[std::size_t(position)];
        if (const QString* known = seen.find(field))
            return *known;
        return seen.remember(field, texts.intern(field));
    };
    const qsizetype start = into.size();
    const qsizetype count = fields.size() / kEntryFieldCount;
    if (into.capacity() < start + count)
        into.reserve(std::max(start + count, 2 * into.capacity()));
    Tally sum;
    // Quote marks are replaced in a copy of the text, which is then a string of its own.
    const bool ownTextsInBlock = allKept && !quoteMarks;
    for (qsizetype e = 0; e < count; ++e) {
        EntryRecord& record = into.emplace_back();
        const QStringView* entryFields = fields.constData() + e * kEntryFieldCount;
        for (int f = 0; f < kEntryFieldCount; ++f) {
            if (!ownTextsInBlock || isSharedField(f))
                record[f] = store(f, entryFields[f]);
        }
        if (ownTextsInBlock)
            storeOwnTexts(record, entryFields);
        bool amountOutOfRange = false;
        Currency::parse(record[HappyMoney], &amountOutOfRange);
        countEntry(sum, record);
        if (amountOutOfRange || sum.overflowed) {
            into.resize(start);
            return false;
        }
    }
    return true;
}

MonthRead::Status readStatusOf(MonthText::Status status)
{
    switch (status) {
    case MonthText::Status::Loaded:
        return MonthRead::Status::Loaded;
    case MonthText::Status::Refused:
        return MonthRead::Status::Refused;
    case MonthText::Status::Damaged:
        break;
    }
    return MonthRead::Status::Damaged;
}

} // namespace

MonthText parseMonthText(const QByteArray& plain, const QString& expectedPassword,
                         FieldTexts* shared)
{
    const SplitText split = splitPlainText(plain, expectedPassword);
    MonthText result{split.status, {}};
    if (split.status == MonthText::Status::Loaded &&
        !appendEntries(split.fields, split.quoteMarks, shared, result.entries))
        result.status = MonthText::Status::Damaged;
    return result;
}

QString passwordLineText(const QString& password)
{
    return u'"' + kPasswordPrefix + password + QStringLiteral("\"\r\n");
}

MonthTextBuild formatMonthText(const QList<EntryRecord>& entries, const QString& passwordLine)
{
    MonthTextBuild build;
    if (passwordLine.contains(u'"') || !cp932::firstUnencodable(passwordLine).isNull()) {
        build.badPassword = true;
        return build;
    }
    // Each field is encoded straight into one buffer with room for the longest result: the
    // month's text is never built as a whole, which would cost more than the encoding.
    const QString passwordText =
        passwordLine.isEmpty() ? QString() : passwordLineText(passwordLine);
    qsizetype room = passwordText.size() * 2;
    for (const EntryRecord& entry : entries) {
        for (int f = 0; f < kEntryFieldCount; ++f)
            room += entry[f].size() * 2 + 3; // two quote marks and a comma or line-end byte
        room += 1;                           // the line end's second byte
    }
    QByteArray& out = build.plain;
    out.resize(room);
    char* to = out.data();
    // A quote mark inside a field would end it early when read back: it fails the field.
    bool encoded = cp932::encodeInto(passwordText, to);
    for (const EntryRecord& entry : entries) {
        for (int f = 0; f < kEntryFieldCount && encoded; ++f) {
            if (f > 0)
                *to++ = ',';
            *to++ = '"';
            encoded = cp932::encodeFieldInto(entry[f], to);
            *to++ = '"';
        }
        *to++ = '\r';
        *to++ = '\n';
    }
    out.truncate(to - out.constData());
    if (encoded)
        return build;
    // Only when the encoding failed is each field checked, to name it.
    out.clear();
    for (int e = 0; e < entries.size(); ++e) {
        const EntryRecord& entry = entries.at(e);
        for (int f = 0; f < kEntryFieldCount; ++f) {
            const QChar bad =
                entry[f].contains(u'"') ? QChar(u'"') : cp932::firstUnencodable(entry[f]);
            if (!bad.isNull()) {
                build.badEntry = e;
                build.badField = f;
                build.badCharacter = bad;
                return build;
            }
        }
    }
    // Not reached, as the check uses the encoding's own tables; were it ever, the month is
    // refused rather than written short.
    build.badEntry = 0;
    build.badField = 0;
    return build;
}

QString monthReadProblem(MonthRead::Status status)
{
    switch (status) {
    case MonthRead::Status::Missing:
    case MonthRead::Status::Loaded:
        break;
    case MonthRead::Status::Refused:
        return QStringLiteral("記帳者認証のパスワードが一致しません");
    case MonthRead::Status::Damaged:
        return QStringLiteral("ファイルが壊れています");
    case MonthRead::Status::Unreadable:
        return QStringLiteral("ファイルを開けません");
    }
    return {};
}

MonthFileFields readMonthFields(const QString& path, const MonthLock& lock)
{
    MonthFileFields result;
    if (!QFileInfo::exists(path))
        return result;
    ReadResult read = readWholeFile(path, kMonthFileSizeMax);
    if (!read.ok) {
        result.status = read.tooLarge ? MonthRead::Status::Damaged : MonthRead::Status::Unreadable;
        return result;
    }
    const StoredRead stored = decodeStoredBytes(std::move(read.bytes), lock.key);
    if (!stored.ok()) {
        result.status = MonthRead::Status::Damaged;
        return result;
    }
    SplitText split = splitPlainText(stored.plain, lock.password);
    result.status = readStatusOf(split.status);
    result.text = std::move(split.text); // the same buffer: the views stay valid
    result.fields = std::move(split.fields);
    result.quoteMarks = split.quoteMarks;
    return result;
}

MonthRead::Status appendEntriesOf(const MonthFileFields& month, FieldTexts* shared,
                                  QList<EntryRecord>& into, EntryFieldMask fields)
{
    if (month.status != MonthRead::Status::Loaded)
        return month.status;
    return appendEntries(month.fields, month.quoteMarks, shared, into, fields)
               ? MonthRead::Status::Loaded
               : MonthRead::Status::Damaged;
}

MonthRead entriesOf(const MonthFileFields& month, FieldTexts* shared)
{
    MonthRead result;
    result.status = appendEntriesOf(month, shared, result.entries);
    return result;
}

MonthRead readMonthFile(const QString& path, const MonthLock& lock, FieldTexts* shared)
{
    return entriesOf(readMonthFields(path, lock), shared);
}

QString writeMonthFile(const QString& path, QByteArray plain, const DiaryKey* key)
{
    if (plain.isEmpty())
        return removeFileDurably(path) ? QString() : QStringLiteral("cannot remove %1").arg(path);
    return writeFileAtomically(path, storedBytesOf(std::move(plain), key));
}

QString stageMonthCopy(const QList<EntryRecord>& entries, const MonthLock& lock,
                       const QString& staged, const QString& original, const QString& cannotWrite)
{
    const MonthTextBuild build = formatMonthText(entries, lock.password);
    if (!build.ok())
        return cannotWrite;
    const QString error = build.plain.isEmpty() ? writeFileAtomically(staged, QByteArray())
                                                : writeMonthFile(staged, build.plain, lock.key);
    if (!error.isEmpty())
        return error;
    const MonthRead check = readMonthFile(staged, lock);
    if (check.status != MonthRead::Status::Loaded || check.entries != entries ||
        !QFile::setPermissions(staged, QFile::permissions(original)))
        return cannotWrite;
    return QString();
}

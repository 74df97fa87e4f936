#include "diary/SummaryFiles.h"

#include "core/AtomicFile.h"
#include "core/Cp932.h"
#include "core/FileCrypto.h"

#include <QFileInfo>
#include <algorithm>

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

// A count as the writers make it: digits only, within 32 bits.
std::optional<std::int32_t> count(const QString& text)
{
    if (text.isEmpty() || text.size() > 10)
        return std::nullopt;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<std::int32_t>(value) : std::nullopt;
}

// The fields of each non-empty line; quotes and blanks around a field are dropped. No
// value when the text is not code page 932.
std::optional<QList<QStringList>> splitRows(const QByteArray& plain)
{
    QString text;
    if (!cp932::decode(plain, text))
        return std::nullopt;
    QList<QStringList> rows;
    for (const QString& line : text.split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        QStringList fields = trimmed.split(u',');
        for (QString& field : fields) {
            field = field.trimmed();
            if (field.size() >= 2 && field.startsWith(u'"') && field.endsWith(u'"'))
                field = field.mid(1, field.size() - 2);
        }
        rows.append(fields);
    }
    return rows;
}

// Fields 2-10 of a row: `fields` holds the whole row, field 1 first. The rate (field 7)
// and the balance (field 10) are derived and recomputed, but must still be figures.
std::optional<Tally> figuresOf(const QStringList& fields)
{
    const auto small = count(fields.at(1));
    const auto medium = count(fields.at(2));
    const auto large = count(fields.at(3));
    const auto wins = count(fields.at(4));
    const auto entries = count(fields.at(5));
    const auto won = Currency::parse(fields.at(7));
    const auto spent = Currency::parse(fields.at(8));
    if (!small || !medium || !large || !wins || !entries || !won || !spent ||
        !Currency::parse(fields.at(6)) || !Currency::parse(fields.at(9)))
        return std::nullopt;
    Tally f;
    f.small = *small;
    f.medium = *medium;
    f.large = *large;
    f.wins = *wins;
    f.entries = *entries;
    f.wonAmount = *won;
    f.expenses = *spent;
    if (!f.sound())
        return std::nullopt;
    return f;
}

// The year as the total summary writer accepts it.
bool isUsableYear(const QString& year)
{
    if (year.isEmpty())
        return false;
    for (QChar c : year) {
        if (c.unicode() < 0x21 || c.unicode() > 0x7e || c == u',')
            return false;
    }
    return true;
}

QByteArray joinLine(const QStringList& fields)
{
    // Digits, signs and points only: Latin-1 is the code page 932 form of these bytes.
    return fields.join(u',').toLatin1() + kLineEnd;
}

QString damagedMessage(const QString& path)
{
    return QStringLiteral("集計ファイル「%1」が壊れています。").arg(path);
}

QByteArray readPlain(const QString& path, const DiaryKey* key, SummaryReadStatus& status)
{
    status = {};
    if (!QFileInfo::exists(path))
        return {};
    status.existed = true;
    ReadResult read = readWholeFile(path, 16 * 1024 * 1024);
    if (!read.ok) {
        status.error =
            read.error.isEmpty() ? QStringLiteral("cannot read %1").arg(path) : read.error;
        status.unreadable = !read.tooLarge;
        return {};
    }
    StoredRead stored = decodeStoredBytes(std::move(read.bytes), key);
    if (!stored.ok())
        status.error = damagedMessage(path); // never written over: the writers check first
    return std::move(stored.plain);
}

} // namespace

QStringList summaryTexts(const Tally& f)
{
    return {QString::number(f.small), QString::number(f.medium),  QString::number(f.large),
            QString::number(f.wins),  QString::number(f.entries), f.winRateText(),
            f.wonAmount.toText(),     f.expenses.toText(),        f.balance().toText()};
}

Tally YearSummary::yearTally() const
{
    Tally sum;
    for (const Tally& m : months)
        sum += m;
    return sum;
}

QStringList yearRowTexts(int month, const Tally& figures)
{
    return QStringList{QString::number(month)} + summaryTexts(figures);
}

QStringList totalRowTexts(const TotalRow& row)
{
    return QStringList{row.year} + summaryTexts(row.figures) + QStringList{row.toTarget.toText()};
}

QByteArray formatYearSummary(const YearSummary& summary)
{
    QByteArray plain;
    for (int m = 0; m < 12; ++m)
        plain += joinLine(yearRowTexts(m + 1, summary.months[m]));
    return plain;
}

std::optional<YearSummary> parseYearSummary(const QByteArray& plain)
{
    // Twelve rows in month order, as they were written.
    const std::optional<QList<QStringList>> rows = splitRows(plain);
    if (!rows || rows->size() != 12)
        return std::nullopt;
    YearSummary summary;
    for (int m = 0; m < 12; ++m) {
        const QStringList& fields = rows->at(m);
        if (fields.size() != 10 || count(fields.at(0)) != m + 1)
            return std::nullopt;
        const std::optional<Tally> figures = figuresOf(fields);
        if (!figures)
            return std::nullopt;
        summary.months[m] = *figures;
    }
    if (!summary.yearTally().sound())
        return std::nullopt;
    return summary;
}

QByteArray formatTotalSummary(const QList<TotalRow>& rows)
{
    QByteArray plain;
    for (const TotalRow& row : rows)
        plain += joinLine(totalRowTexts(row));
    return plain;
}

std::optional<QList<TotalRow>> parseTotalSummary(const QByteArray& plain)
{
    const std::optional<QList<QStringList>> lines = splitRows(plain);
    // The writer removes an empty summary rather than leave an empty file.
    if (!lines || lines->isEmpty())
        return std::nullopt;
    QList<TotalRow> rows;
    Tally all;
    for (const QStringList& fields : *lines) {
        if (fields.size() != 11 || !isUsableYear(fields.at(0)))
            return std::nullopt;
        const std::optional<Tally> figures = figuresOf(fields);
        const std::optional<Currency> toTarget = Currency::parse(fields.at(10));
        if (!figures || !toTarget)
            return std::nullopt;
        all += *figures;
        rows.append(TotalRow{fields.at(0), *figures, *toTarget});
    }
    if (!all.sound())
        return std::nullopt;
    return rows;
}

YearSummary readYearSummary(const QString& path, SummaryReadStatus* status, const DiaryKey* key)
{
    SummaryReadStatus local;
    SummaryReadStatus& s = status ? *status : local;
    const QByteArray plain = readPlain(path, key, s);
    if (!s.existed || !s.ok())
        return YearSummary();
    const std::optional<YearSummary> summary = parseYearSummary(plain);
    if (!summary)
        s.error = damagedMessage(path);
    return summary.value_or(YearSummary());
}

QList<TotalRow> readTotalSummary(const QString& path, SummaryReadStatus* status,
                                 const DiaryKey* key)
{
    SummaryReadStatus local;
    SummaryReadStatus& s = status ? *status : local;
    const QByteArray plain = readPlain(path, key, s);
    if (!s.existed || !s.ok())
        return {};
    const std::optional<QList<TotalRow>> rows = parseTotalSummary(plain);
    if (!rows)
        s.error = damagedMessage(path);
    return rows.value_or(QList<TotalRow>());
}

QString writeYearSummary(const QString& path, const YearSummary& summary, const DiaryKey* key)
{
    return writeFileAtomically(path, storedBytesOf(formatYearSummary(summary), key));
}

QString writeTotalSummary(const QString& path, const QList<TotalRow>& rows, const DiaryKey* key)
{
    if (rows.isEmpty())
        return removeFileDurably(path) ? QString() : QStringLiteral("cannot remove %1").arg(path);
    // The year is the only field not made of figures; it must stay plain ASCII.
    for (const TotalRow& row : rows) {
        if (!isUsableYear(row.year))
            return QStringLiteral("unusable year \"%1\" in the total summary").arg(row.year);
    }
    return writeFileAtomically(path, storedBytesOf(formatTotalSummary(rows), key));
}

bool applyTargetColumn(QList<TotalRow>& rows, Currency target)
{
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TotalRow& a, const TotalRow& b) { return a.year < b.year; });
    Currency missing = target;
    for (TotalRow& row : rows) {
        const std::optional<Currency> balance =
            Currency::checkedDifference(row.figures.wonAmount, row.figures.expenses);
        const std::optional<Currency> next =
            balance ? Currency::checkedDifference(missing, *balance) : std::nullopt;
        if (!row.figures.sound() || !next)
            return false;
        missing = *next;
        row.toTarget = missing;
    }
    return true;
}

#include "diary/SummaryFiles.h"

#include "core/AtomicFile.h"
#include "core/Cp932.h"
#include "core/Scramble.h"

#include <QFileInfo>
#include <algorithm>

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

std::int32_t wholeNumber(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : 0;
}

// The fields of each non-empty line; quotes and blanks around a field are dropped.
QList<QStringList> splitRows(const QByteArray& plain)
{
    QString text;
    // The files hold digits, signs and points only; anything else decodes as Latin-1 and
    // then counts as 0 field by field.
    if (!cp932::decode(plain, text))
        text = QString::fromLatin1(plain);
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

// Fields 2-10 of a row: `fields` holds the whole row, field 1 first.
Tally figuresOf(const QStringList& fields)
{
    const auto at = [&](int i) { return i < fields.size() ? fields.at(i) : QString(); };
    Tally f;
    f.small = wholeNumber(at(1));
    f.medium = wholeNumber(at(2));
    f.large = wholeNumber(at(3));
    f.wins = wholeNumber(at(4));
    f.entries = wholeNumber(at(5));
    // Field 7 (the rate) and field 10 (the balance) are derived and recomputed.
    f.wonAmount = Currency::parseOrZero(at(7));
    f.expenses = Currency::parseOrZero(at(8));
    return f;
}

QByteArray joinLine(const QStringList& fields)
{
    // Digits, signs and points only: Latin-1 is the code page 932 form of these bytes.
    return fields.join(u',').toLatin1() + kLineEnd;
}

QByteArray readPlain(const QString& path, SummaryReadStatus& status)
{
    status = {};
    if (!QFileInfo::exists(path))
        return {};
    status.existed = true;
    const ReadResult read = readWholeFile(path, 16 * 1024 * 1024);
    if (!read.ok) {
        status.error = read.error.isEmpty() ? QStringLiteral("cannot read %1").arg(path) : read.error;
        return {};
    }
    return scrambleBytes(read.bytes);
}

} // namespace

QStringList summaryTexts(const Tally& f)
{
    return {QString::number(f.small), QString::number(f.medium), QString::number(f.large),
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

YearSummary parseYearSummary(const QByteArray& plain)
{
    // Rows are taken in file order, the first line being January, as they were written.
    YearSummary summary;
    const QList<QStringList> rows = splitRows(plain);
    for (int m = 0; m < 12 && m < rows.size(); ++m)
        summary.months[m] = figuresOf(rows.at(m));
    return summary;
}

QByteArray formatTotalSummary(const QList<TotalRow>& rows)
{
    QByteArray plain;
    for (const TotalRow& row : rows)
        plain += joinLine(totalRowTexts(row));
    return plain;
}

QList<TotalRow> parseTotalSummary(const QByteArray& plain)
{
    QList<TotalRow> rows;
    for (const QStringList& fields : splitRows(plain)) {
        TotalRow row;
        row.year = fields.value(0);
        row.figures = figuresOf(fields);
        row.toTarget = Currency::parseOrZero(fields.value(10));
        rows.append(row);
    }
    return rows;
}

YearSummary readYearSummary(const QString& path, SummaryReadStatus* status)
{
    SummaryReadStatus local;
    SummaryReadStatus& s = status ? *status : local;
    const QByteArray plain = readPlain(path, s);
    return parseYearSummary(plain);
}

QList<TotalRow> readTotalSummary(const QString& path, SummaryReadStatus* status)
{
    SummaryReadStatus local;
    SummaryReadStatus& s = status ? *status : local;
    const QByteArray plain = readPlain(path, s);
    return parseTotalSummary(plain);
}

QString writeYearSummary(const QString& path, const YearSummary& summary)
{
    return writeFileAtomically(path, scrambleBytes(formatYearSummary(summary)));
}

QString writeTotalSummary(const QString& path, const QList<TotalRow>& rows)
{
    if (rows.isEmpty())
        return removeFileDurably(path) ? QString() : QStringLiteral("cannot remove %1").arg(path);
    // The year is the only field not made of figures; it must stay plain ASCII.
    for (const TotalRow& row : rows) {
        for (QChar c : row.year) {
            if (c.unicode() < 0x21 || c.unicode() > 0x7e || c == u',')
                return QStringLiteral("unusable year \"%1\" in the total summary").arg(row.year);
        }
    }
    return writeFileAtomically(path, scrambleBytes(formatTotalSummary(rows)));
}

void applyTargetColumn(QList<TotalRow>& rows, Currency target)
{
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TotalRow& a, const TotalRow& b) { return a.year < b.year; });
    Currency missing = target;
    for (TotalRow& row : rows) {
        missing -= row.figures.balance();
        row.toTarget = missing;
    }
}

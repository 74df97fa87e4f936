#include "diary/KeySort.h"

#include "core/Currency.h"

#include <algorithm>

namespace {

bool isAsciiDigits(const QString& text)
{
    if (text.isEmpty())
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Compares two digit strings without leading zeros by value, whatever their length.
int compareDigits(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return QString::compare(a, b);
}

// Numbers first (by value), then everything else; 0 when no order between them is implied.
int compareIds(const std::optional<QString>& a, const std::optional<QString>& b)
{
    if (a && b)
        return compareDigits(*a, *b);
    if (a)
        return -1;
    if (b)
        return 1;
    return 0;
}

void stripLeadingZeros(QList<EntryRecord>& rows, int field)
{
    for (EntryRecord& row : rows) {
        if (const auto number = normalizedNumber(row[field]))
            row[field] = *number;
    }
}

} // namespace

std::optional<QString> normalizedNumber(const QString& text)
{
    if (!isAsciiDigits(text))
        return std::nullopt;
    qsizetype first = 0;
    while (first < text.size() - 1 && text[first] == u'0')
        ++first;
    return text.mid(first);
}

void SortMonthList(QList<EntryRecord>& rows, bool sortOn)
{
    if (!sortOn)
        return;
    stripLeadingZeros(rows, ID);
    const auto before = [](const EntryRecord& a, const EntryRecord& b) {
        if (const int byDate = QString::compare(a[KeyDate], b[KeyDate]); byDate != 0)
            return byDate < 0;
        // A non-numeric ID keeps its place behind the numbers of its day.
        return compareIds(normalizedNumber(a[ID]), normalizedNumber(b[ID])) < 0;
    };
    // A month in order with one entry added at its end (a registration): the entry goes after
    // every row it does not precede, where the stable sort would put it.
    if (rows.size() > 1 && std::is_sorted(rows.begin(), rows.end() - 1, before)) {
        const auto place = std::upper_bound(rows.begin(), rows.end() - 1, rows.back(), before);
        std::rotate(place, rows.end() - 1, rows.end());
        return;
    }
    std::stable_sort(rows.begin(), rows.end(), before);
}

void sortByColumn(QList<EntryRecord>& rows, int field, bool descending)
{
    if (field < 0 || field >= kEntryFieldCount)
        return;
    const bool numeric = field == ID || field == HappyMoney;
    if (numeric)
        stripLeadingZeros(rows, field);
    const auto compare = [field](const EntryRecord& a, const EntryRecord& b) {
        if (field == HappyMoney) {
            const auto x = Currency::parse(a[field]);
            const auto y = Currency::parse(b[field]);
            if (x && y)
                return *x < *y ? -1 : (*y < *x ? 1 : 0);
            if (x || y)
                return x ? -1 : 1;
        } else if (field == ID) {
            const auto x = normalizedNumber(a[field]);
            const auto y = normalizedNumber(b[field]);
            if (x || y)
                return compareIds(x, y);
        }
        return QString::compare(a[field], b[field], Qt::CaseInsensitive);
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const EntryRecord& a, const EntryRecord& b) {
        const int c = compare(a, b);
        return descending ? c > 0 : c < 0;
    });
}

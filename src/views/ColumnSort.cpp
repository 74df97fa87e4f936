#include "ColumnSort.h"

#include "core/Currency.h"

#include <algorithm>
#include <optional>

namespace {

std::optional<qint64> wholeNumber(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 18)
        return std::nullopt;
    for (QChar c : t) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return t.toLongLong();
}

} // namespace

void sortEntriesByColumn(QList<EntryRecord>& rows, int column, bool descending)
{
    if (column == ID || column == HappyMoney) {
        struct Keyed
        {
            std::optional<qint64> number;
            EntryRecord row;
        };
        QList<Keyed> keyed;
        keyed.reserve(rows.size());
        for (EntryRecord& row : rows) {
            auto number = wholeNumber(row[column]);
            if (number) {
                row[column] = QString::number(*number);
                if (column == HappyMoney)
                    number = Currency::fromUnits(*number).raw();
            } else if (column == HappyMoney) {
                // Amounts with decimals still compare by value, and keep their text.
                if (const auto amount = Currency::parse(row[column]))
                    number = amount->raw();
            }
            keyed.append({number, std::move(row)});
        }
        const auto less = [column](const Keyed& a, const Keyed& b) {
            if (a.number.has_value() != b.number.has_value())
                return a.number.has_value();
            if (a.number)
                return *a.number < *b.number;
            return a.row[column].compare(b.row[column], Qt::CaseInsensitive) < 0;
        };
        if (descending)
            std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) { return less(b, a); });
        else
            std::stable_sort(keyed.begin(), keyed.end(), less);
        for (qsizetype i = 0; i < rows.size(); ++i)
            rows[i] = std::move(keyed[i].row);
        return;
    }
    const auto less = [column](const EntryRecord& a, const EntryRecord& b) {
        return a[column].compare(b[column], Qt::CaseInsensitive) < 0;
    };
    if (descending)
        std::stable_sort(rows.begin(), rows.end(), [&](const EntryRecord& a, const EntryRecord& b) { return less(b, a); });
    else
        std::stable_sort(rows.begin(), rows.end(), less);
}

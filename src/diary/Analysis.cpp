#include "Analysis.h"

#include <limits>

namespace {

// The field each dimension goes by, in the order of AnalysisDimension.
constexpr EntryField kFieldOf[kAnalysisDimensions] = {OboWay, OboKeishiki, SenkoWay, Cycle,
                                                      Genre,  Site,        Number};

} // namespace

QString winnersBand(const QString& number)
{
    if (number == u"全員")
        return QStringLiteral("全員");
    // Stored as a count followed by "名様"; the count may also stand alone.
    const QString count = number.endsWith(QStringLiteral("名様")) ? number.chopped(2) : number;
    bool ok = false;
    const qint64 n = count.toLongLong(&ok);
    if (!ok || n <= 0)
        return QStringLiteral("不明");
    if (n <= 10)
        return QStringLiteral("1～10名");
    if (n <= 100)
        return QStringLiteral("11～100名");
    if (n <= 1000)
        return QStringLiteral("101～1000名");
    return QStringLiteral("1001名以上");
}

AnalysisTally::AnalysisTally(bool keyIsEndDay, PostageTable postage)
    : m_keyIsEndDay(keyIsEndDay), m_postage(std::move(postage))
{}

AnalysisRow& AnalysisTally::rowOf(int dimension, const EntryRecord& entry)
{
    Table& table = m_tables[dimension];
    const QString& field = entry[kFieldOf[dimension]];
    RecentField& recent =
        table.recent[(quintptr(field.constData()) / sizeof(QChar)) % kRecentSlots];
    if (recent.row >= 0 && recent.text.constData() == field.constData() &&
        recent.text.size() == field.size())
        return table.rows[recent.row];
    const QString value = static_cast<AnalysisDimension>(dimension) == AnalysisDimension::Winners
                              ? winnersBand(field)
                              : field;
    auto it = table.index.constFind(value);
    if (it == table.index.constEnd()) {
        it = table.index.insert(value, table.rows.size());
        table.rows.append({value, {}, 0});
    }
    recent = {field, *it};
    return table.rows[*it];
}

void AnalysisTally::add(const EntryRecord& entry)
{
    const qint64 postage = postageOfEntry(entry, m_keyIsEndDay, m_postage).value_or(0).value_or(0);
    // The entry's figures, counted once for the seven rows it falls in.
    Tally one;
    countEntry(one, entry);
    const bool countOnly = one.wins == 0 && !one.overflowed; // adds nothing but the entry
    for (int d = 0; d < kAnalysisDimensions; ++d) {
        AnalysisRow& row = rowOf(d, entry);
        // No amount changes, so only the count can overflow.
        if (countOnly && !row.tally.overflowed &&
            row.tally.entries < std::numeric_limits<std::int32_t>::max())
            ++row.tally.entries;
        else
            row.tally += one;
        row.postage += postage;
    }
}

QList<AnalysisRow> AnalysisTally::rows(AnalysisDimension dimension) const
{
    return m_tables[static_cast<int>(dimension)].rows;
}

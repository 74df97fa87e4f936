#include "Analysis.h"

namespace {

QString valueIn(const EntryRecord& entry, AnalysisDimension dimension)
{
    switch (dimension) {
    case AnalysisDimension::OboWay:
        return entry[OboWay];
    case AnalysisDimension::OboKeishiki:
        return entry[OboKeishiki];
    case AnalysisDimension::SenkoWay:
        return entry[SenkoWay];
    case AnalysisDimension::Cycle:
        return entry[Cycle];
    case AnalysisDimension::Genre:
        return entry[Genre];
    case AnalysisDimension::Site:
        return entry[Site];
    case AnalysisDimension::Winners:
        return winnersBand(entry[Number]);
    }
    return QString();
}

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

void AnalysisTally::add(const EntryRecord& entry)
{
    const qint64 postage = postageOfEntry(entry, m_keyIsEndDay, m_postage).value_or(0).value_or(0);
    for (int d = 0; d < kAnalysisDimensions; ++d) {
        Table& table = m_tables[d];
        const QString value = valueIn(entry, static_cast<AnalysisDimension>(d));
        auto it = table.index.constFind(value);
        if (it == table.index.constEnd()) {
            it = table.index.insert(value, table.rows.size());
            table.rows.append({value, {}, 0});
        }
        AnalysisRow& row = table.rows[*it];
        countEntry(row.tally, entry);
        row.postage += postage;
    }
}

QList<AnalysisRow> AnalysisTally::rows(AnalysisDimension dimension) const
{
    return m_tables[static_cast<int>(dimension)].rows;
}

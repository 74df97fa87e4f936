#pragma once

#include "diary/EntryRecord.h"
#include "diary/MonthFile.h"
#include "diary/Postage.h"
#include "diary/Tally.h"

#include <QHash>
#include <QList>
#include <QString>
#include <array>

// "分析": which kinds of contest pay off. Every entry is counted once in each dimension, in
// the row of its value there; a row holds the tally of those entries and their postage.
enum class AnalysisDimension { OboWay, OboKeishiki, SenkoWay, Cycle, Genre, Site, Winners };
inline constexpr int kAnalysisDimensions = 7;

struct AnalysisRow
{
    QString label;
    Tally tally;
    qint64 postage = 0; // of the mailed entries, at each entry date's rate
};

// The band of a number of winners: "1～10名", "11～100名", "101～1000名", "1001名以上",
// "全員", or "不明" for anything else (no number, or none).
QString winnersBand(const QString& number);

class AnalysisTally
{
public:
    // The fields add() reads; with the key date, which the period's scan tests.
    static constexpr EntryFieldMask kFieldsRead =
        fieldBit(KeyDate) | fieldBit(OtherDate) | fieldBit(Kekka) | fieldBit(HappyMoney) |
        fieldBit(Number) | fieldBit(OboWay) | fieldBit(OboKeishiki) | fieldBit(SenkoWay) |
        fieldBit(Cycle) | fieldBit(Genre) | fieldBit(Site);

    AnalysisTally(bool keyIsEndDay, PostageTable postage);

    void add(const EntryRecord& entry);
    // The rows of one dimension in the order their values were first met (the window sorts).
    QList<AnalysisRow> rows(AnalysisDimension dimension) const;

private:
    // A field's text as last met, with its row: entries read together share their texts'
    // buffers, so most look-ups compare a pointer instead of hashing the text. The slot
    // holds the text, so its buffer cannot be freed and reused for another text meanwhile.
    struct RecentField
    {
        QString text;
        qsizetype row = -1;
    };
    static constexpr int kRecentSlots = 64;
    struct Table
    {
        QList<AnalysisRow> rows;
        QHash<QString, qsizetype> index;
        std::array<RecentField, kRecentSlots> recent;
    };
    AnalysisRow& rowOf(int dimension, const EntryRecord& entry);

    bool m_keyIsEndDay;
    PostageTable m_postage;
    std::array<Table, kAnalysisDimensions> m_tables;
};

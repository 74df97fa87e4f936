#pragma once

#include "core/Currency.h"
#include "diary/EntryRecord.h"

#include <QDate>
#include <QString>
#include <QStringMatcher>
#include <optional>

// The choice lists' first item: no condition on that field.
inline const QString kNoCondition = QStringLiteral("指定なし");

// Inclusive ranges; bounds typed in reverse order are exchanged before a search.
struct DateRange
{
    QDate from;
    QDate to;
};

struct AmountRange
{
    Currency low;
    Currency high;
};

struct CountRange
{
    qint32 low = 0;
    qint32 high = 0;
};

// What the search form asks for. Every criterion that is set must hold.
struct SearchCriteria
{
    // Unset: every month of every year folder is read. Set: only the months it touches.
    std::optional<DateRange> keyDate;
    std::optional<DateRange> otherDate;
    std::optional<DateRange> happyDay;
    std::optional<AmountRange> id;
    std::optional<AmountRange> happyMoney;
    // Winners: a high bound of 0 finds only "全員"; otherwise "全員" and other texts
    // without a count pass only when the low bound is 0.
    std::optional<CountRange> number;

    // Contained text; empty means no condition. The comment is always case-sensitive.
    QString site;
    QString url;
    QString present;
    QString msg;
    QString pic;
    bool caseSensitive = false; // "大文字と小文字を区別する"

    // Choice lists: the field must contain the chosen text; kNoCondition (or empty) is none.
    // The result choice "全当選" finds every result that contains "当選".
    QString genre = kNoCondition;
    QString kekka = kNoCondition;
    QString oboKeishiki = kNoCondition;
    QString senkoWay = kNoCondition;
    QString cycle = kNoCondition;
    QString oboWay = kNoCondition;
};

// The criteria with every reversed range put in order; the form shows the exchanged
// bounds (AmountRange as Currency::toText, CountRange as a whole number).
SearchCriteria normalizedCriteria(SearchCriteria criteria);

// A winners bound as typed (digits only): the whole number, at most the largest 32-bit
// value; an empty box counts as 0.
qint32 countBoundFromText(const QString& text);

// Tests entries against criteria prepared once, for scanning many entries.
class SearchMatcher
{
public:
    explicit SearchMatcher(const SearchCriteria& criteria);
    bool matches(const EntryRecord& entry) const;

private:
    struct TextTest
    {
        int field;
        QStringMatcher matcher;
    };
    struct DateTest
    {
        int field;
        QString from;
        QString to;
        bool needsDate; // a missing win date never passes
    };

    bool passesNumber(const QString& number) const;

    QList<DateTest> m_dates;
    QList<TextTest> m_texts;
    std::optional<AmountRange> m_id;
    std::optional<AmountRange> m_happyMoney;
    std::optional<CountRange> m_number;
};

// One entry against the criteria (ranges are put in order first).
bool MatchSearchCriteria(const EntryRecord& entry, const SearchCriteria& criteria);

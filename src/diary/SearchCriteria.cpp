#include "diary/SearchCriteria.h"

#include <limits>
#include <utility>

namespace {

const QString kDateFormat = QStringLiteral("yyyy/MM/dd");

template <typename Range> void putInOrder(std::optional<Range>& range)
{
    if (range && range->to < range->from)
        std::swap(range->from, range->to);
}

template <typename Range> void putBoundsInOrder(std::optional<Range>& range)
{
    if (range && range->high < range->low)
        std::swap(range->low, range->high);
}

bool isChosen(const QString& choice)
{
    return !choice.isEmpty() && choice != kNoCondition;
}

// The count of a winners text such as "10名様"; nothing when it does not hold one.
std::optional<qint64> countOf(const QString& number)
{
    const qsizetype suffix = number.indexOf(QStringLiteral("名様"));
    if (suffix < 0)
        return std::nullopt;
    qint64 value = 0;
    int digits = 0;
    for (QChar c : QStringView(number).left(suffix)) {
        if (c == u' ' || c == QChar(0x3000))
            continue;
        // Full-width digits count like ASCII ones.
        int digit = -1;
        if (c >= u'0' && c <= u'9')
            digit = c.unicode() - u'0';
        else if (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19)
            digit = c.unicode() - 0xFF10;
        if (digit < 0)
            return std::nullopt;
        if (value > std::numeric_limits<qint32>::max())
            continue; // beyond every bound already
        value = value * 10 + digit;
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    return value;
}

bool inRange(const QString& text, const AmountRange& range)
{
    const std::optional<Currency> value = Currency::parse(text);
    return value && range.low <= *value && *value <= range.high;
}

} // namespace

SearchCriteria normalizedCriteria(SearchCriteria criteria)
{
    putInOrder(criteria.keyDate);
    putInOrder(criteria.otherDate);
    putInOrder(criteria.happyDay);
    putBoundsInOrder(criteria.id);
    putBoundsInOrder(criteria.happyMoney);
    putBoundsInOrder(criteria.number);
    return criteria;
}

qint32 countBoundFromText(const QString& text)
{
    qint64 value = 0;
    for (QChar c : text) {
        if (!c.isDigit() || c.unicode() > 127)
            continue;
        value =
            std::min<qint64>(value * 10 + (c.unicode() - u'0'), std::numeric_limits<qint32>::max());
    }
    return qint32(value);
}

SearchMatcher::SearchMatcher(const SearchCriteria& raw)
{
    const SearchCriteria c = normalizedCriteria(raw);
    auto addDate = [this](int field, const std::optional<DateRange>& range, bool needsDate) {
        if (range)
            m_dates.append({field, range->from.toString(kDateFormat),
                            range->to.toString(kDateFormat), needsDate});
    };
    addDate(KeyDate, c.keyDate, false);
    addDate(OtherDate, c.otherDate, false);
    addDate(HappyDay, c.happyDay, true);

    auto addText = [this](int field, const QString& text, Qt::CaseSensitivity cs) {
        if (!text.isEmpty())
            m_texts.append({field, QStringMatcher(text, cs)});
    };
    const Qt::CaseSensitivity cs = c.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    addText(Site, c.site, cs);
    addText(URL, c.url, cs);
    addText(Present, c.present, cs);
    addText(Pic, c.pic, cs);
    addText(Msg, c.msg, Qt::CaseSensitive);
    auto addChoice = [&](int field, const QString& choice) {
        if (isChosen(choice))
            addText(field, choice, Qt::CaseSensitive);
    };
    addChoice(Genre, c.genre);
    addChoice(Kekka, c.kekka == u"全当選" ? QStringLiteral("当選") : c.kekka);
    addChoice(OboKeishiki, c.oboKeishiki);
    addChoice(SenkoWay, c.senkoWay);
    addChoice(Cycle, c.cycle);
    addChoice(OboWay, c.oboWay);

    m_id = c.id;
    m_happyMoney = c.happyMoney;
    m_number = c.number;
}

bool SearchMatcher::passesNumber(const QString& number) const
{
    if (m_number->high == 0)
        return number == u"全員";
    if (const std::optional<qint64> count = countOf(number))
        return m_number->low <= *count && *count <= m_number->high;
    return m_number->low == 0;
}

bool SearchMatcher::matches(const EntryRecord& entry) const
{
    // Dates are "yyyy/MM/dd", so text order is date order.
    for (const DateTest& test : m_dates) {
        const QString& value = entry[test.field];
        if (test.needsDate && (value.isEmpty() || value == kNoHappyDay))
            return false;
        if (value < test.from || value > test.to)
            return false;
    }
    for (const TextTest& test : m_texts) {
        if (test.matcher.indexIn(QStringView(entry[test.field])) < 0)
            return false;
    }
    if (m_id && !inRange(entry[ID], *m_id))
        return false;
    if (m_happyMoney && !inRange(entry[HappyMoney], *m_happyMoney))
        return false;
    if (m_number && !passesNumber(entry[Number]))
        return false;
    return true;
}

bool MatchSearchCriteria(const EntryRecord& entry, const SearchCriteria& criteria)
{
    return SearchMatcher(criteria).matches(entry);
}

#include "diary/SearchCriteria.h"
#include "support/TempProgramFolder.h"

#include <QTest>
#include <functional>

namespace {

using Edit = std::function<void(EntryRecord&)>;
using Ask = std::function<void(SearchCriteria&)>;

EntryRecord entry(const Edit& edit)
{
    EntryRecord e = makeEntry(QStringLiteral("2024/01/10"), QStringLiteral("10"));
    e[Site] = QStringLiteral("abc-shop");
    e[Msg] = QStringLiteral("Memo");
    edit(e);
    return e;
}

} // namespace

Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(Ask)

class TestSearchCriteria : public QObject
{
    Q_OBJECT

private slots:
    void match_data()
    {
        QTest::addColumn<Ask>("ask");
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<bool>("found");
        auto row = [](const char* name, Ask ask, Edit edit, bool found) {
            QTest::newRow(name) << ask << edit << found;
        };
        const Edit same = [](EntryRecord&) {};
        auto field = [](int f, const char16_t* value) -> Edit {
            return [f, value](EntryRecord& e) { e[f] = QString::fromUtf16(value); };
        };

        row(
            "no criteria", [](SearchCriteria&) {}, same, true);

        // Key date and other date ranges, bounds inclusive, reversed bounds exchanged.
        auto keyRange = [](QDate a, QDate b) -> Ask {
            return [=](SearchCriteria& c) { c.keyDate = DateRange{a, b}; };
        };
        row("key date at start", keyRange({2023, 11, 15}, {2024, 2, 10}),
            field(KeyDate, u"2023/11/15"), true);
        row("key date at end", keyRange({2023, 11, 15}, {2024, 2, 10}),
            field(KeyDate, u"2024/02/10"), true);
        row("key date before", keyRange({2023, 11, 15}, {2024, 2, 10}),
            field(KeyDate, u"2023/11/14"), false);
        row("key date after", keyRange({2023, 11, 15}, {2024, 2, 10}),
            field(KeyDate, u"2024/02/11"), false);
        row("key date reversed range", keyRange({2024, 2, 10}, {2023, 11, 15}),
            field(KeyDate, u"2024/01/01"), true);
        auto otherRange = [](QDate a, QDate b) -> Ask {
            return [=](SearchCriteria& c) { c.otherDate = DateRange{a, b}; };
        };
        row("other date inside", otherRange({2024, 1, 1}, {2024, 1, 31}),
            field(OtherDate, u"2024/01/31"), true);
        row("other date outside", otherRange({2024, 1, 1}, {2024, 1, 31}),
            field(OtherDate, u"2024/02/01"), false);

        // Win date: an entry without one never passes.
        auto winRange = [](SearchCriteria& c) {
            c.happyDay = DateRange{QDate(1900, 1, 1), QDate(2100, 12, 31)};
        };
        row("win date inside", winRange, field(HappyDay, u"2024/03/01"), true);
        row("no win date", winRange, field(HappyDay, u"----/--/--"), false);
        row("empty win date", winRange, field(HappyDay, u""), false);

        // ID and won amount as numbers, reversed bounds exchanged.
        auto ids = [](int lo, int hi) -> Ask {
            return [=](SearchCriteria& c) {
                c.id = AmountRange{Currency::fromUnits(lo), Currency::fromUnits(hi)};
            };
        };
        row("ID 9 in 10..9", ids(10, 9), field(ID, u"9"), true);
        row("ID 10 in 10..9", ids(10, 9), field(ID, u"10"), true);
        row("ID 11 in 10..9", ids(10, 9), field(ID, u"11"), false);
        row("ID compared as number", ids(9, 10), field(ID, u"0009"), true);
        row("ID not a number", ids(0, 999999999), field(ID, u"abc"), false);
        auto money = [](SearchCriteria& c) {
            c.happyMoney = AmountRange{Currency::fromUnits(5000), Currency::fromUnits(1000)};
        };
        row("amount inside", money, field(HappyMoney, u"1000"), true);
        row("amount outside", money, field(HappyMoney, u"5001"), false);

        // Winners.
        auto winners = [](int lo, int hi) -> Ask {
            return [=](SearchCriteria& c) { c.number = CountRange{lo, hi}; };
        };
        row("3 in 1-5", winners(1, 5), field(Number, u"3名様"), true);
        row("10 in 1-5", winners(1, 5), field(Number, u"10名様"), false);
        row("全員 in 1-5", winners(1, 5), field(Number, u"全員"), false);
        row("全員 in 0-5", winners(0, 5), field(Number, u"全員"), true);
        row("3 in 0-5", winners(0, 5), field(Number, u"3名様"), true);
        row("全員 in 5-0 (exchanged)", winners(5, 0), field(Number, u"全員"), true);
        row("全員 with up 0", winners(0, 0), field(Number, u"全員"), true);
        row("3 with up 0", winners(0, 0), field(Number, u"3名様"), false);
        row("full-width count", winners(1, 5), field(Number, u"３名様"), true);
        row("text without a count, low 1", winners(1, 5), field(Number, u"多数名様"), false);
        row("text without a count, low 0", winners(0, 5), field(Number, u"多数名様"), true);

        // Texts with and without case sensitivity; the comment always exact.
        auto site = [](const char16_t* text, bool cs) -> Ask {
            return [=](SearchCriteria& c) {
                c.site = QString::fromUtf16(text);
                c.caseSensitive = cs;
            };
        };
        row("site ABC finds abc-shop", site(u"ABC", false), same, true);
        row("site ABC exact misses abc-shop", site(u"ABC", true), same, false);
        row("site abc exact finds abc-shop", site(u"abc", true), same, true);
        row("site other text", site(u"xyz", false), same, false);
        auto msg = [](const char16_t* text) -> Ask {
            return [=](SearchCriteria& c) {
                c.msg = QString::fromUtf16(text);
                c.caseSensitive = false;
            };
        };
        row("comment memo misses Memo", msg(u"memo"), same, false);
        row("comment Memo finds Memo", msg(u"Memo"), same, true);
        row(
            "URL text", [](SearchCriteria& c) { c.url = "EXAMPLE.JP"; }, same, true);
        row(
            "prize text", [](SearchCriteria& c) { c.present = "賞"; }, same, true);
        row(
            "picture text on empty picture", [](SearchCriteria& c) { c.pic = "jpg"; }, same, false);

        // Choices: contained text, "指定なし" no condition, "全当選" any win.
        auto result = [](const char16_t* text) -> Ask {
            return [=](SearchCriteria& c) { c.kekka = QString::fromUtf16(text); };
        };
        row("全当選 finds 当選", result(u"全当選"), field(Kekka, u"当選"), true);
        row("全当選 finds 小物当選", result(u"全当選"), field(Kekka, u"小物当選"), true);
        row("全当選 finds 大物当選", result(u"全当選"), field(Kekka, u"大物当選"), true);
        row("全当選 misses 落選", result(u"全当選"), field(Kekka, u"落選"), false);
        row("小物当選 finds 小物当選", result(u"小物当選"), field(Kekka, u"小物当選"), true);
        row("小物当選 misses 中物当選", result(u"小物当選"), field(Kekka, u"中物当選"), false);
        row("小物当選 misses 当選", result(u"小物当選"), field(Kekka, u"当選"), false);
        row("指定なし result", result(u"指定なし"), field(Kekka, u"落選"), true);
        row(
            "genre", [](SearchCriteria& c) { c.genre = "現金"; }, field(Genre, u"現金"), true);
        row(
            "genre other", [](SearchCriteria& c) { c.genre = "現金"; }, field(Genre, u"ペット"),
            false);
        row(
            "entry format", [](SearchCriteria& c) { c.oboKeishiki = "感想"; },
            field(OboKeishiki, u"意見・感想"), true);
        row(
            "selection", [](SearchCriteria& c) { c.senkoWay = "先着"; }, same, false);
        row(
            "cycle", [](SearchCriteria& c) { c.cycle = "不定期"; }, same, true);
        row(
            "cycle other", [](SearchCriteria& c) { c.cycle = "毎月"; }, field(Cycle, u"毎週"),
            false);
        row(
            "entry method", [](SearchCriteria& c) { c.oboWay = "ハガキ応募"; }, same, false);

        // Together: every criterion must hold.
        auto several = [](SearchCriteria& c) {
            c.site = "SHOP";
            c.kekka = "全当選";
            c.number = CountRange{0, 20};
            c.keyDate = DateRange{QDate(2024, 1, 1), QDate(2024, 1, 31)};
        };
        row("together all hold", several, field(Kekka, u"中物当選"), true);
        row("together one fails", several, field(Kekka, u"応募済み"), false);
        row("together another fails", several, field(Number, u"30名様"), false);
    }
    void match()
    {
        QFETCH(Ask, ask);
        QFETCH(Edit, edit);
        QFETCH(bool, found);
        SearchCriteria criteria;
        ask(criteria);
        QCOMPARE(MatchSearchCriteria(entry(edit), criteria), found);
    }

    void reversedBoundsAreShownExchanged()
    {
        SearchCriteria c;
        c.id = AmountRange{Currency::fromUnits(10), Currency::fromUnits(9)};
        c.number = CountRange{countBoundFromText("5"), countBoundFromText("")};
        c.otherDate = DateRange{QDate(2024, 5, 1), QDate(2024, 4, 1)};
        const SearchCriteria n = normalizedCriteria(c);
        QCOMPARE(n.id->low.toText(), u"9");
        QCOMPARE(n.id->high.toText(), u"10");
        QCOMPARE(n.number->low, 0);
        QCOMPARE(n.number->high, 5);
        QCOMPARE(n.otherDate->from, QDate(2024, 4, 1));
        QCOMPARE(countBoundFromText("99999999999"), std::numeric_limits<qint32>::max());
    }
};

QTEST_GUILESS_MAIN(TestSearchCriteria)
#include "tst_searchcriteria.moc"

#include "DiaryGenerator.h"

#include "diary/MonthFile.h"

#include <QDate>
#include <QDir>
#include <algorithm>

namespace {

// A small integer hash, so an entry depends only on its place in the diary.
quint32 mix(quint32 x)
{
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

template <size_t N> QString pick(const char16_t* const (&items)[N], quint32 r)
{
    return QString::fromUtf16(items[r % N]);
}

const char16_t* const kSites[] = {u"ABC-Shop",     u"abc-shop",       u"ズミラ食品",
                                  u"サンプル電機", u"Example Drinks", u"みどり書店",
                                  u"ＡＢＣストア", u"North Travel"};
const char16_t* const kGenres[] = {u"現金",   u"商品券・図書カード", u"家電ＡＶ製品", u"食べ物",
                                   u"飲み物", u"旅行・宿泊券",       u"本・CD・DVD",  u"その他"};
const char16_t* const kPresents[] = {u"ホットプレート",   u"QUOカード500円分", u"旅行券3万円分",
                                     u"ビール詰め合わせ", u"図書カード",       u"タブレット端末",
                                     u"お米5kg"};
const char16_t* const kResults[] = {u"不明",     u"不明", u"応募済み", u"応募済み", u"落選",
                                    u"落選",     u"落選", u"未応募",   u"小物当選", u"中物当選",
                                    u"大物当選", u"当選", u"その他"};
const char16_t* const kFormats[] = {u"アンケート", u"クイズ", u"簡単", u"会員登録", u"投稿・投票"};
const char16_t* const kSelections[] = {u"抽選", u"先着", u"もれなく", u"優秀者"};
const char16_t* const kCycles[] = {u"不定期", u"毎月", u"毎週", u"毎日"};
const char16_t* const kMethods[] = {u"ネット応募", u"郵送応募", u"携帯応募", u"ハガキ応募"};
const char16_t* const kComments[] = {
    u"", u"", u"", u"レシート2枚必要", u"Memo: check mail", u"memo: 当選メール確認済み"};

QString dateText(const QDate& date)
{
    return date.toString(u"yyyy/MM/dd");
}

} // namespace

EntryRecord generatedEntry(const DiaryShape& shape, int year, int month, int index)
{
    quint32 r = mix(shape.seed ^ mix(quint32(year * 12 + month) ^ mix(quint32(index))));
    auto next = [&r]() { return r = mix(r + 0x9e3779b9U); };

    const QDate key(year, month, 1 + int(next() % 28));
    const QDate other = key.addDays(-int(next() % 40));
    EntryRecord e;
    e[KeyDate] = dateText(key);
    e[OtherDate] = dateText(other);
    e[ID] = QString::number((year - shape.firstYear) * 12 * 1000 + month * 1000 + index + 1);
    e[Site] = pick(kSites, next());
    e[URL] =
        QStringLiteral("https://www.example.jp/campaign/%1/%2.html").arg(year).arg(next() % 100000);
    e[Genre] = pick(kGenres, next());
    e[Present] = pick(kPresents, next());
    e[Kekka] = pick(kResults, next());
    const bool won = e.isWon();
    e[HappyMoney] = won ? QString::number(500 * (1 + next() % 20)) : QStringLiteral("0");
    const quint32 winners = next() % 12;
    e[Number] = winners == 0 ? QStringLiteral("全員")
                             : QString::number(winners * 5) + QStringLiteral("名様");
    e[HappyDay] = won ? dateText(key.addDays(10 + int(next() % 30))) : kNoHappyDay;
    e[OboKeishiki] = pick(kFormats, next());
    e[SenkoWay] = pick(kSelections, next());
    e[Cycle] = pick(kCycles, next());
    e[OboWay] = pick(kMethods, next());
    e[Msg] = pick(kComments, next());
    e[Pic] =
        next() % 10 == 0 ? QStringLiteral("/home/user/Pictures/prize%1.jpg").arg(index) : QString();
    return e;
}

qint64 writeGeneratedDiary(const AppPaths& paths, const DiaryShape& shape)
{
    // A real diary also has its summary and settings folders; a search must pass them by.
    if (!QDir().mkpath(paths.summaryFolder()) || !QDir().mkpath(paths.iniFolder()))
        return -1;
    qint64 written = 0;
    for (int year = shape.firstYear; year < shape.firstYear + shape.years; ++year) {
        for (int month = 1; month <= 12; ++month) {
            QList<EntryRecord> entries;
            entries.reserve(shape.entriesPerMonth);
            for (int i = 0; i < shape.entriesPerMonth; ++i)
                entries.append(generatedEntry(shape, year, month, i));
            std::stable_sort(
                entries.begin(), entries.end(),
                [](const EntryRecord& a, const EntryRecord& b) { return a[KeyDate] < b[KeyDate]; });
            const MonthTextBuild build = formatMonthText(entries, shape.passwordLine);
            if (!build.ok())
                return -1;
            const QString path = paths.monthFilePath(
                QString::number(year), QString::number(month).rightJustified(2, u'0'));
            if (!writeMonthFile(path, build.plain).isEmpty())
                return -1;
            written += entries.size();
        }
    }
    return written;
}

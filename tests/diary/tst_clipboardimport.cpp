#include "diary/ClipboardImport.h"
#include "diary/Deployment.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

const QString kSample = QStringLiteral("ID:12345 賞品:ホットプレート <http://example.jp/x>\r\n"
                                       "URL http://www.example.jp/campaign/\r\n"
                                       "2024/index.html\r\n"
                                       "当選数:10名様 締切:2024/03/31\r\n"
                                       "サイト名:サンプル食品\r\n"
                                       "紹介文:新商品発売記念キャンペーン\r\n"
                                       "［家電ＡＶ製品│アンケート│抽選│毎月│ネット応募］\r\n");

// One listing in the site's layout; an empty url leaves the "URL " line out.
QString
listing(const QString& id, const QString& deadline, const QString& url = QString(),
        const QString& classification = QStringLiteral("［現金│アンケート│抽選│毎月│ネット応募］"))
{
    QString text = QStringLiteral("ID:%1 賞品:商品券 <http://example.jp/%1>\n").arg(id);
    if (!url.isEmpty())
        text += QStringLiteral("URL ") + url + u'\n';
    text += QStringLiteral("当選数:5名様 締切:%1\n").arg(deadline);
    text += QStringLiteral("サイト名:応募先%1\n紹介文:説明\n").arg(id);
    text += classification + u'\n';
    return text;
}

ImportParseOptions options(bool keyIsEndDay = true)
{
    ImportParseOptions o;
    o.keyIsEndDay = keyIsEndDay;
    o.viewedDay = QDate(2024, 2, 20);
    return o;
}

} // namespace

class TestClipboardImport : public QObject
{
    Q_OBJECT

private slots:
    void sampleListing()
    {
        const ImportParse parsed = parseClipboardListings(kSample, options(true));
        QVERIFY(parsed.skipped.isEmpty());
        QCOMPARE(parsed.records.size(), 1);
        const EntryRecord& r = parsed.records.first();
        QCOMPARE(r[KeyDate], u"2024/03/31");
        QCOMPARE(r[ID], u"12345");
        QCOMPARE(r[Site], u"サンプル食品");
        QCOMPARE(r[URL], u"http://www.example.jp/campaign/2024/index.html");
        QCOMPARE(r[Genre], u"家電ＡＶ製品");
        QCOMPARE(r[Present], u"ホットプレート");
        QCOMPARE(r[Kekka], u"不明");
        QCOMPARE(r[HappyMoney], u"0");
        QCOMPARE(r[Number], u"10名様");
        QCOMPARE(r[OtherDate], u"2024/02/20");
        QCOMPARE(r[HappyDay], kNoHappyDay);
        QCOMPARE(r[OboKeishiki], u"アンケート");
        QCOMPARE(r[SenkoWay], u"抽選");
        QCOMPARE(r[Cycle], u"毎月");
        QCOMPARE(r[OboWay], u"ネット応募");
        QCOMPARE(r[Msg], QString());
        QCOMPARE(r[Pic], QString());
    }

    void entryDateAsKey()
    {
        const ImportParse parsed = parseClipboardListings(kSample, options(false));
        QCOMPARE(parsed.records.size(), 1);
        QCOMPARE(parsed.records.first()[KeyDate], u"2024/02/20");
        QCOMPARE(parsed.records.first()[OtherDate], u"2024/03/31");
    }

    void values_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("expected");

        QTest::newRow("no URL line: pick-up page")
            << listing("777", "2024/03/01") << int(URL) << deployment::kSitePickupPrefix + "777";
        QTest::newRow("doubled scheme")
            << listing("1", "2024/03/01", "http://https://www.example.jp/a") << int(URL)
            << "https://www.example.jp/a";
        QTest::newRow("URL wrapped over three lines")
            << listing("1", "2024/03/01", "http://www.example.jp/\nlong/path/\nindex.html")
            << int(URL) << "http://www.example.jp/long/path/index.html";
        QTest::newRow("URL line trailing blanks")
            << listing("1", "2024/03/01", "http://www.example.jp/a   ") << int(URL)
            << "http://www.example.jp/a";
        QTest::newRow("cycle missing: method fourth")
            << listing("1", "2024/03/01", {}, "［現金│アンケート│抽選│ネット応募］") << int(OboWay)
            << "ネット応募";
        QTest::newRow("cycle missing: irregular")
            << listing("1", "2024/03/01", {}, "［現金│アンケート│抽選│ネット応募］") << int(Cycle)
            << "不定期";
        QTest::newRow("unknown cycle word")
            << listing("1", "2024/03/01", {}, "［現金│アンケート│抽選│隔週│郵送応募］")
            << int(OboWay) << "隔週";
        QTest::newRow("classification wrapped")
            << listing("1", "2024/03/01", {}, "［現金│アンケート│\n抽選│毎週│ハガキ応募］")
            << int(OboWay) << "ハガキ応募";
        QTest::newRow("short classification leaves method empty")
            << listing("1", "2024/03/01", {}, "［現金│アンケート］") << int(OboWay) << "";
        QTest::newRow("extra elements ignored")
            << listing("1", "2024/03/01", {}, "［現金│アンケート│抽選│毎日│ネット応募│余分］")
            << int(OboWay) << "ネット応募";
        QTest::newRow("prize without link")
            << QStringLiteral("ID: 42 賞品: 図書カード \n当選数:全員 "
                              "締切:2024/03/01\nサイト名:A\n紹介文:\n［現金］\n")
            << int(Present) << "図書カード";
        QTest::newRow("ID trimmed")
            << QStringLiteral("ID: 42 賞品: 図書カード \n当選数:全員 "
                              "締切:2024/03/01\nサイト名:A\n紹介文:\n［現金］\n")
            << int(ID) << "42";
        QTest::newRow("winners kept as written")
            << QStringLiteral("ID: 42 賞品: 図書カード \n当選数:全員 "
                              "締切:2024/03/01\nサイト名:A\n紹介文:\n［現金］\n")
            << int(Number) << "全員";
        QTest::newRow("full-width spaces stay")
            << QStringLiteral("ID:5 賞品:x\n当選数:1名様 "
                              "締切:2024/03/01\nサイト名:　全角　\n紹介文:\n［現金］\n")
            << int(Site) << "　全角　";
        QTest::newRow("site wrapped and quotes replaced")
            << QStringLiteral("ID:5 賞品:x\n当選数:1名様 "
                              "締切:2024/03/01\nサイト名:\"A\"\n“社”\n紹介文:\n［現金］\n")
            << int(Site) << " A 　社　";
        QTest::newRow("folded to the stored forms")
            << QStringLiteral("ID:5 賞品:x\n当選数:1名様 "
                              "締切:2024/03/01\nサイト名:A〜B−¢\n紹介文:\n［現金］\n")
            << int(Site) << "A～B－￠";
        QTest::newRow("deadline on the next line")
            << QStringLiteral(
                   "ID:5 賞品:x\n当選数:3名様\n締切:2024/04/02\nサイト名:A\n紹介文:\n［現金］\n")
            << int(KeyDate) << "2024/04/02";
        QTest::newRow("ID label inside a line")
            << QStringLiteral("【新着】 ID:99 賞品:x\n当選数:3名様 "
                              "締切:2024/04/02\nサイト名:A\n紹介文:\n［現金］\n")
            << int(ID) << "99";
        QTest::newRow("very long line is read whole")
            << QStringLiteral("ID:5 賞品:") + QString(2000, u'長') +
                   QStringLiteral("\n当選数:3名様 締切:2024/04/02\nサイト名:A\n紹介文:\n［現金］\n")
            << int(Present) << QString(2000, u'長');
        QTest::newRow("line breaks of any platform")
            << QStringLiteral(
                   "ID:5 賞品:x\r当選数:3名様 締切:2024/04/02\r\nサイト名:A\n紹介文:\r［現金］")
            << int(Site) << "A";
    }
    void values()
    {
        QFETCH(QString, text);
        QFETCH(int, field);
        QFETCH(QString, expected);
        const ImportParse parsed = parseClipboardListings(text, options(true));
        QVERIFY(parsed.skipped.isEmpty());
        QCOMPARE(parsed.records.size(), 1);
        QCOMPARE(parsed.records.first()[field], expected);
    }

    void severalListings()
    {
        const QString text = QStringLiteral("ズミラ広場 新着懸賞\n\n") +
                             listing("301", "2024/04/10", "http://a.example.jp/\nx.html") +
                             QStringLiteral("\n") + listing("302", "2024/03/15") +
                             listing("303", "2024/04/01");
        const ImportParse parsed = parseClipboardListings(text, options(true));
        QVERIFY(parsed.skipped.isEmpty());
        QCOMPARE(parsed.records.size(), 3);
        QCOMPARE(parsed.records[0][URL], u"http://a.example.jp/x.html");
        QCOMPARE(parsed.records[1][URL], deployment::kSitePickupPrefix + "302");
        QCOMPARE(parsed.records[2][Site], u"応募先303");
    }

    void skippedListingsAreReported_data()
    {
        QTest::addColumn<QString>("bad");
        QTest::addColumn<int>("reason");
        using R = SkippedListing::Reason;
        QTest::newRow("no prize label")
            << QStringLiteral(
                   "ID:900 商品券\n当選数:5名様 締切:2024/03/01\nサイト名:A\n紹介文:\n［現金］\n")
            << int(R::NoPrize);
        QTest::newRow("no deadline")
            << QStringLiteral("ID:900 賞品:x\n当選数:5名様\nサイト名:A\n紹介文:\n［現金］\n")
            << int(R::NoDeadline);
        QTest::newRow("deadline not a date")
            << QStringLiteral(
                   "ID:900 賞品:x\n当選数:5名様 締切:随時\nサイト名:A\n紹介文:\n［現金］\n")
            << int(R::BadDeadline);
        QTest::newRow("deadline not a real day")
            << QStringLiteral(
                   "ID:900 賞品:x\n当選数:5名様 締切:2024/02/30\nサイト名:A\n紹介文:\n［現金］\n")
            << int(R::BadDeadline);
        QTest::newRow("deadline without leading zeros")
            << QStringLiteral(
                   "ID:900 賞品:x\n当選数:5名様 締切:2024/3/1\nサイト名:A\n紹介文:\n［現金］\n")
            << int(R::BadDeadline);
        QTest::newRow("no winners line")
            << QStringLiteral("ID:900 賞品:x\n締切:2024/03/01\nサイト名:A\n紹介文:\n［現金］\n")
            << int(R::CutShort);
        QTest::newRow("no classification")
            << QStringLiteral("ID:900 賞品:x\n当選数:5名様 締切:2024/03/01\nサイト名:A\n紹介文:\n")
            << int(R::CutShort);
        QTest::newRow("emoji in prize")
            << QStringLiteral("ID:900 賞品:ケーキ🎂\n当選数:5名様 "
                              "締切:2024/03/01\nサイト名:A\n紹介文:\n［現金］\n")
            << int(R::Unstorable);
        // Half of a pair: refused like any character the month files cannot hold.
        QTest::newRow("unpaired high surrogate in prize")
            << QStringLiteral("ID:900 賞品:ケーキ") + QChar(0xD83C) +
                   QStringLiteral("\n当選数:5名様 締切:2024/03/01\nサイト名:A\n紹介文:\n［現金］\n")
            << int(R::Unstorable);
        QTest::newRow("unpaired low surrogate in site")
            << QStringLiteral("ID:900 賞品:x\n当選数:5名様 締切:2024/03/01\nサイト名:A") +
                   QChar(0xDC00) + QStringLiteral("\n紹介文:\n［現金］\n")
            << int(R::Unstorable);
    }
    void skippedListingsAreReported()
    {
        QFETCH(QString, bad);
        QFETCH(int, reason);
        // The bad listing stands between two good ones; neither of those may be lost.
        const QString text = listing("100", "2024/03/01") + bad + listing("200", "2024/03/02");
        const ImportParse parsed = parseClipboardListings(text, options(true));
        QCOMPARE(parsed.records.size(), 2);
        QCOMPARE(parsed.records[0][ID], u"100");
        QCOMPARE(parsed.records[1][ID], u"200");
        QCOMPARE(parsed.records[1][Site], u"応募先200");
        QCOMPARE(parsed.skipped.size(), 1);
        QCOMPARE(parsed.skipped.first().id, u"900");
        QCOMPARE(int(parsed.skipped.first().reason), reason);
        QCOMPARE(parsed.skipped.first().line, 6);
    }

    void skippedMessageNamesEveryListing()
    {
        const QString text = listing("100", "2024/03/01") + QStringLiteral("ID: 賞品:x\n") +
                             listing("901", "2024/13/01") +
                             QStringLiteral("ID:902 賞品:途中まで\n");
        const ImportParse parsed = parseClipboardListings(text, options(true));
        QCOMPARE(parsed.records.size(), 1);
        QCOMPARE(skippedListingsMessage(parsed.skipped),
                 QStringLiteral("次の懸賞情報は読み取れなかったため、登録しませんでした。\r\n\r\nＩ"
                                "Ｄ番号：（6行目）、901、902"));
        QCOMPARE(skippedListingsMessage({}), QString());
    }

    void listingCutOffAtTheEnd()
    {
        const QString text = listing("100", "2024/03/01") +
                             QStringLiteral("ID:300 賞品:途中まで\nURL http://x.example.jp/");
        const ImportParse parsed = parseClipboardListings(text, options(true));
        QCOMPARE(parsed.records.size(), 1);
        QCOMPARE(parsed.skipped.size(), 1);
        QCOMPARE(parsed.skipped.first().id, u"300");
    }

    // Listings damaged at random (lines dropped, cut or strewn in): whatever is read must be
    // a whole record, and the reader must neither stop nor run past the text.
    void damagedTextGivesOnlyWholeRecords()
    {
        const QStringList good = splitClipboardLines(
            kSample + listing("55", "2025/01/31", "http://https://a.example.jp/") +
            listing("56", "2024/02/29", {}, "［現金│クイズ］"));
        const QStringList strewn = {
            "［│││］", "締切:", "ID:", "賞品:", "URL ", "当選数:締切:2024/02/29x", "］"};
        QRandomGenerator random(20261207);
        int records = 0;
        int skipped = 0;
        for (int round = 0; round < 1000; ++round) {
            QStringList lines;
            for (const QString& line : good) {
                switch (random.bounded(12)) {
                case 0:
                    break; // dropped
                case 1:
                    lines << line.left(random.bounded(int(line.size()) + 1));
                    break;
                case 2:
                    lines << strewn[random.bounded(int(strewn.size()))] << line;
                    break;
                default:
                    lines << line;
                }
            }
            const ImportParse parsed =
                parseClipboardListings(lines.join(u'\n'), options(random.bounded(2) == 0));
            records += int(parsed.records.size());
            skipped += int(parsed.skipped.size());
            for (const EntryRecord& r : parsed.records) {
                QVERIFY(QDate::fromString(r[KeyDate], u"yyyy/MM/dd").isValid());
                QVERIFY(QDate::fromString(r[OtherDate], u"yyyy/MM/dd").isValid());
                QVERIFY(!r[ID].isEmpty());
                QCOMPARE(r[Kekka], u"不明");
                for (const QString& field : r.fields)
                    QVERIFY(!field.contains(u'"'));
            }
        }
        QVERIFY(records > 500);
        QVERIFY(skipped > 500);
    }

    void unpairedSurrogateOutsideListings()
    {
        const QString text = QStringLiteral("新着") + QChar(0xDBFF) + u'\n' +
                             listing("1", "2024/04/10") + QChar(0xDC01) + u'\n' +
                             listing("2", "2024/03/15");
        const ImportParse parsed = parseClipboardListings(text, options(true));
        QVERIFY(parsed.skipped.isEmpty());
        QCOMPARE(parsed.records.size(), 2);
        QCOMPARE(parsed.records[1][Site], u"応募先2");
    }

    void textWithoutListings()
    {
        for (const QString& text :
             {QString(), QStringLiteral("こんにちは\n当選数:5名様 締切:2024/03/01\n［現金］\n")}) {
            const ImportParse parsed = parseClipboardListings(text, options(true));
            QVERIFY(parsed.records.isEmpty());
            QVERIFY(parsed.skipped.isEmpty());
        }
    }

    void sortingKeepsCopiedOrderAmongEqualDates()
    {
        ImportParse parsed =
            parseClipboardListings(listing("1", "2024/04/10") + listing("2", "2024/03/15") +
                                       listing("3", "2024/04/10") + listing("4", "2023/12/31"),
                                   options(true));
        sortImportedRows(parsed.records);
        QStringList ids;
        for (const EntryRecord& r : parsed.records)
            ids << r[ID];
        QCOMPARE(ids, (QStringList{"4", "2", "1", "3"}));
    }
};

QTEST_GUILESS_MAIN(TestClipboardImport)
#include "tst_clipboardimport.moc"

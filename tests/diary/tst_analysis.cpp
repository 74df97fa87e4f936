#include "diary/Analysis.h"
#include "diary/SearchScan.h"
#include "support/TempProgramFolder.h"

#include <QTest>
#include <functional>

class TestAnalysis : public QObject
{
    Q_OBJECT

private slots:
    void winnersFallIntoTheirBand_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("band");
        const char* rows[][2] = {
            {"1名様", "1～10名"},
            {"10名様", "1～10名"},
            {"11名様", "11～100名"},
            {"100名様", "11～100名"},
            {"101名様", "101～1000名"},
            {"1000名様", "101～1000名"},
            {"1001名様", "1001名以上"},
            {"250", "101～1000名"},
            {"全員", "全員"},
            {"0名様", "不明"},
            {"", "不明"},
            {"たくさん", "不明"},
        };
        for (const auto& row : rows)
            QTest::newRow(row[0]) << QString::fromUtf8(row[0]) << QString::fromUtf8(row[1]);
    }

    void winnersFallIntoTheirBand()
    {
        QFETCH(QString, number);
        QFETCH(QString, band);
        QCOMPARE(winnersBand(number), band);
    }

    // Every row against a recount by the field's own value, under both keys.
    void everyRowEqualsARecountOfItsEntries_data()
    {
        QTest::addColumn<bool>("keyIsEndDay");
        QTest::newRow("key: entry date") << false;
        QTest::newRow("key: deadline") << true;
    }

    void everyRowEqualsARecountOfItsEntries()
    {
        QFETCH(bool, keyIsEndDay);
        const QStringList ways{"ネット応募", "郵送応募", "ハガキ応募"};
        const QStringList results{"不明", "小物当選", "落選", "大物当選", "当選"};
        QList<EntryRecord> entries;
        for (int i = 0; i < 30; ++i) {
            EntryRecord e = makeEntry("2024/10/05", QString::number(i), "賞品", results[i % 5],
                                      QString::number(i % 5 == 1   ? 1000
                                                      : i % 5 == 3 ? 50000
                                                                   : 0));
            e[OtherDate] = i % 2 ? "2024/09/20" : "2024/10/03";
            e[OboWay] = ways[i % 3];
            e[Genre] = i % 4 ? "現金" : "食品";
            e[Site] = QString("サイト%1").arg(i % 6);
            e[Number] = QString("%1名様").arg(i * 50);
            entries.append(e);
        }
        AnalysisTally analysis(keyIsEndDay,
                               parsePostageTable(QString::fromUtf8(defaultPostageText())).table);
        for (const EntryRecord& e : entries)
            analysis.add(e);

        const struct
        {
            AnalysisDimension dimension;
            std::function<QString(const EntryRecord&)> value;
        } dimensions[] = {
            {AnalysisDimension::OboWay, [](const EntryRecord& e) { return e[OboWay]; }},
            {AnalysisDimension::Genre, [](const EntryRecord& e) { return e[Genre]; }},
            {AnalysisDimension::Site, [](const EntryRecord& e) { return e[Site]; }},
            {AnalysisDimension::Winners,
             [](const EntryRecord& e) { return winnersBand(e[Number]); }},
        };
        for (const auto& d : dimensions) {
            int entriesSeen = 0;
            for (const AnalysisRow& row : analysis.rows(d.dimension)) {
                int count = 0, wins = 0, large = 0;
                qint64 won = 0, postage = 0;
                for (const EntryRecord& e : entries) {
                    if (d.value(e) != row.label)
                        continue;
                    ++count;
                    wins += e[Kekka].contains("当選");
                    large += e[Kekka] == "大物当選";
                    won += e[Kekka].contains("当選") ? e[HappyMoney].toLongLong() : 0;
                    // The entry date: key date 2024/10/05 (85 yen), or the other date.
                    const QString sent = keyIsEndDay ? e[OtherDate] : e[KeyDate];
                    if (e[OboWay] != "ネット応募")
                        postage += sent < "2024/10/01" ? 63 : 85;
                }
                QCOMPARE(row.tally.entries, count);
                QCOMPARE(row.tally.wins, wins);
                QCOMPARE(row.tally.large, large);
                QCOMPARE(row.tally.wonAmount, Currency::fromUnits(won));
                QCOMPARE(row.postage, postage);
                entriesSeen += count;
            }
            QCOMPARE(entriesSeen, entries.size());
        }
    }

    // The scan of a period makes its entries with only the fields the tally reads; every
    // row is the one that the whole entries give.
    void aScanOfThePeriodGivesTheRowsOfTheWholeEntries()
    {
        TempProgramFolder folder;
        QList<EntryRecord> entries;
        for (int i = 0; i < 12; ++i) {
            EntryRecord e = makeEntry(QString("2024/10/%1").arg(i + 1, 2, 10, QChar('0')),
                                      QString::number(i), QString("賞品%1").arg(i),
                                      i % 3 ? "不明" : "中物当選", i % 3 ? "0" : "3000");
            e[OtherDate] = i % 2 ? "2024/09/20" : "2024/10/20";
            e[OboWay] = i % 2 ? "ハガキ応募" : "ネット応募";
            e[OboKeishiki] = QString("形式%1").arg(i % 2);
            e[SenkoWay] = QString("選考%1").arg(i % 3);
            e[Cycle] = QString("サイクル%1").arg(i % 4);
            e[Genre] = QString("ジャンル%1").arg(i % 5);
            e[Site] = QString("サイト%1").arg(i % 6);
            e[Number] = QString("%1名様").arg(i * 40);
            entries.append(e);
        }
        folder.writeMonth("2024", "10", entries);
        const PostageTable table = parsePostageTable(QString::fromUtf8(defaultPostageText())).table;
        AnalysisTally whole(false, table);
        for (const EntryRecord& e : entries)
            whole.add(e);
        AnalysisTally scanned(false, table);
        SearchScanHooks hooks;
        hooks.matched = [&scanned](const EntryRecord& e) { scanned.add(e); };
        hooks.matchedFields = AnalysisTally::kFieldsRead;
        SearchCriteria period;
        period.keyDate = DateRange{QDate(2024, 10, 1), QDate(2024, 10, 31)};
        QVERIFY(runSearch(folder.paths(), period, QString(), hooks).unreadable.isEmpty());
        for (int d = 0; d < kAnalysisDimensions; ++d) {
            const QList<AnalysisRow> expected = whole.rows(AnalysisDimension(d));
            const QList<AnalysisRow> rows = scanned.rows(AnalysisDimension(d));
            QCOMPARE(rows.size(), expected.size());
            for (qsizetype r = 0; r < rows.size(); ++r) {
                QCOMPARE(rows[r].label, expected[r].label);
                QVERIFY(rows[r].tally == expected[r].tally);
                QCOMPARE(rows[r].postage, expected[r].postage);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestAnalysis)
#include "tst_analysis.moc"

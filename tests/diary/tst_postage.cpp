#include "diary/Postage.h"
#include "support/TempProgramFolder.h"

#include <QTest>

class TestPostage : public QObject
{
    Q_OBJECT

private slots:
    // Each change of rate in the default table, on its first day and the day before.
    void theRateOfADayIsTheLatestThatHasBegun_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<int>("yen");
        const struct
        {
            const char* kind;
            QDate first;
            int before, from;
        } changes[] = {
            {"はがき", {2014, 4, 1}, 50, 52},       {"はがき", {2017, 6, 1}, 52, 62},
            {"はがき", {2019, 10, 1}, 62, 63},      {"はがき", {2024, 10, 1}, 63, 85},
            {"往復はがき", {2017, 6, 1}, 104, 124}, {"往復はがき", {2024, 10, 1}, 126, 170},
            {"封書", {2014, 4, 1}, 80, 82},         {"封書", {2019, 10, 1}, 82, 84},
            {"封書", {2024, 10, 1}, 84, 110},
        };
        for (const auto& c : changes) {
            const QString name = QString::fromUtf8(c.kind) + c.first.toString(" yyyy/MM/dd");
            QTest::newRow(qPrintable(name + " -1")) << c.kind << c.first.addDays(-1) << c.before;
            QTest::newRow(qPrintable(name)) << c.kind << c.first << c.from;
        }
        QTest::newRow("はがき long before") << "はがき" << QDate(1990, 1, 1) << 50;
    }

    void theRateOfADayIsTheLatestThatHasBegun()
    {
        QFETCH(QString, kind);
        QFETCH(QDate, day);
        QFETCH(int, yen);
        const PostageTableRead read = parsePostageTable(QString::fromUtf8(defaultPostageText()));
        QVERIFY(read.badLines.isEmpty());
        QCOMPARE(read.table.rateOn(kind, day), std::optional<int>(yen));
    }

    void aUsersLinesExtendTheTableAndBadOnesAreNamed()
    {
        const PostageTableRead read = parsePostageTable(
            QString::fromUtf8(defaultPostageText()) +
            "既定,封書\nはがき,2030/01/01,99\nはがき,2030/13/01,1\n封書,,x\n,2020/01/01,5\n");
        QCOMPARE(read.badLines, (QList<int>{21, 22, 23}));
        QCOMPARE(read.table.mailKind, QString("封書"));
        QCOMPARE(read.table.rateOn("はがき", QDate(2030, 1, 1)), std::optional<int>(99));
        QCOMPARE(read.table.rateOn("小包", QDate(2030, 1, 1)), std::nullopt);
    }

    // Mailed entries only, each at the rate of its entry date, under both keys.
    void aMonthsPostageCountsTheMailedEntries_data()
    {
        QTest::addColumn<bool>("keyIsEndDay");
        QTest::newRow("key: entry date") << false;
        QTest::newRow("key: deadline") << true;
    }

    void aMonthsPostageCountsTheMailedEntries()
    {
        QFETCH(bool, keyIsEndDay);
        const auto entry = [&](const QString& sent, const QString& way) {
            EntryRecord e = makeEntry(keyIsEndDay ? "2024/10/20" : sent, "1");
            e[OtherDate] = keyIsEndDay ? sent : "2024/10/20";
            e[OboWay] = way;
            return e;
        };
        const PostageTable table = parsePostageTable(QString::fromUtf8(defaultPostageText())).table;
        const MonthPostage postage =
            postageOf({entry("2024/09/30", "ハガキ応募"), entry("2024/10/01", "郵送応募"),
                       entry("2024/10/02", "ネット応募"), entry("----/--/--", "郵送応募")},
                      keyIsEndDay, table);
        QCOMPARE(postage.mailed, 3);
        QCOMPARE(postage.yen, qint64(63 + 85));
        QCOMPARE(postage.unpriced, 1);
    }
};

QTEST_GUILESS_MAIN(TestPostage)
#include "tst_postage.moc"

#include "support/TempProgramFolder.h"
#include "diary/SummaryFiles.h"

#include <QFile>
#include <QTest>

namespace {

Tally figures(int small, int medium, int large, int wins, int entries, qint64 won, qint64 expenses)
{
    Tally f;
    f.small = small;
    f.medium = medium;
    f.large = large;
    f.wins = wins;
    f.entries = entries;
    f.wonAmount = Currency::fromUnits(won);
    f.expenses = Currency::fromUnits(expenses);
    return f;
}

QByteArray zeroRow(int month) { return QByteArray::number(month) + ",0,0,0,0,0,0.00,0,0,0\r\n"; }

} // namespace

class TestSummaryFiles : public QObject
{
    Q_OBJECT

private slots:
    void emptyYearIsTwelveZeroRows()
    {
        QByteArray expected;
        for (int m = 1; m <= 12; ++m)
            expected += zeroRow(m);
        QCOMPARE(formatYearSummary(YearSummary()), expected);
    }

    void yearRowsByteForByte()
    {
        YearSummary year;
        year.months[6] = figures(1, 1, 0, 3, 8, 15000, 3000);
        year.months[11] = figures(0, 0, 0, 0, 0, 0, 800); // expenses without entries
        const QByteArray plain = formatYearSummary(year);
        const QList<QByteArray> lines = plain.split('\n');
        QCOMPARE(lines.size(), 13); // twelve lines, each ended by CR LF
        QCOMPARE(lines.at(6) + '\n', QByteArray("7,1,1,0,3,8,37.50,15000,3000,12000\r\n"));
        QCOMPARE(lines.at(11) + '\n', QByteArray("12,0,0,0,0,0,0.00,0,800,-800\r\n"));
        QCOMPARE(parseYearSummary(plain), year);
    }

    void lenientYearParse_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<int>("month");
        QTest::addColumn<QByteArray>("written");
        // Rate and balance are derived again; a stale pair does not survive.
        QTest::newRow("stale rate and balance") << QByteArray("1,0,0,1,2,4,99.99,7000,1000,0\r\n") << 1
                                               << QByteArray("1,0,0,1,2,4,50.00,7000,1000,6000\r\n");
        QTest::newRow("short file pads zero rows") << QByteArray("1,0,0,0,1,1,100.00,10,0,10\r\n") << 5
                                                  << zeroRow(5);
        QTest::newRow("garbage counts as zero") << QByteArray("1,x,0,0,0,zz,0.00,abc,12,-12\r\n") << 1
                                               << QByteArray("1,0,0,0,0,0,0.00,0,12,-12\r\n");
        QTest::newRow("bare LF lines") << QByteArray("1,0,0,0,0,3,0.00,0,0,0\n2,0,0,0,0,4,0.00,0,0,0\n") << 2
                                      << QByteArray("2,0,0,0,0,4,0.00,0,0,0\r\n");
    }
    void lenientYearParse()
    {
        QFETCH(QByteArray, plain);
        QFETCH(int, month);
        QFETCH(QByteArray, written);
        const QList<QByteArray> lines = formatYearSummary(parseYearSummary(plain)).split('\n');
        QCOMPARE(lines.at(month - 1) + '\n', written);
    }

    void targetColumn()
    {
        QList<TotalRow> rows = {{QStringLiteral("2026"), figures(0, 0, 0, 1, 2, 700000, 0), {}},
                                {QStringLiteral("2025"), figures(0, 0, 0, 1, 2, 500000, 100000), {}}};
        applyTargetColumn(rows, Currency::fromUnits(1000000));
        QCOMPARE(rows.at(0).year, QStringLiteral("2025"));
        QCOMPARE(rows.at(0).toTarget.toText(), QStringLiteral("600000"));
        QCOMPARE(rows.at(1).toTarget.toText(), QStringLiteral("-100000"));
        QCOMPARE(formatTotalSummary(rows),
                 QByteArray("2025,0,0,0,1,2,50.00,500000,100000,400000,600000\r\n"
                            "2026,0,0,0,1,2,50.00,700000,0,700000,-100000\r\n"));
        QCOMPARE(parseTotalSummary(formatTotalSummary(rows)), rows);

        applyTargetColumn(rows, Currency());
        QCOMPARE(rows.at(0).toTarget.toText(), QStringLiteral("-400000"));
    }

    void filesAreScrambledAtRest()
    {
        TempProgramFolder folder;
        const AppPaths paths = folder.paths();
        YearSummary year;
        year.months[0] = figures(0, 0, 1, 1, 1, 20000, 0);
        QVERIFY(writeYearSummary(paths.yearSummaryPath(QStringLiteral("2026")), year).isEmpty());
        QFile raw(paths.yearSummaryPath(QStringLiteral("2026")));
        QVERIFY(raw.open(QIODevice::ReadOnly));
        QVERIFY(raw.readAll() != formatYearSummary(year));
        QCOMPARE(folder.plainFile(QStringLiteral("data/0000/2026.log")), formatYearSummary(year));
        SummaryReadStatus status;
        QCOMPARE(readYearSummary(paths.yearSummaryPath(QStringLiteral("2026")), &status), year);
        QVERIFY(status.existed && status.ok());

        const QList<TotalRow> rows = {{QStringLiteral("2026"), year.months[0], Currency::fromUnits(980000)}};
        QVERIFY(writeTotalSummary(paths.totalSummaryPath(), rows).isEmpty());
        QCOMPARE(folder.plainFile(QStringLiteral("data/0000/total.log")),
                 QByteArray("2026,0,0,1,1,1,100.00,20000,0,20000,980000\r\n"));
        QCOMPARE(readTotalSummary(paths.totalSummaryPath()), rows);

        // An empty total summary leaves no file, like an empty month.
        QVERIFY(writeTotalSummary(paths.totalSummaryPath(), {}).isEmpty());
        QVERIFY(!QFile::exists(paths.totalSummaryPath()));
        QVERIFY(readTotalSummary(paths.totalSummaryPath(), &status).isEmpty());
        QVERIFY(!status.existed && status.ok());
    }
};

QTEST_GUILESS_MAIN(TestSummaryFiles)
#include "tst_summaryfiles.moc"

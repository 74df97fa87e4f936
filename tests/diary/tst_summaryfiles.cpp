#include "core/AtomicFile.h"
#include "core/Scramble.h"
#include "diary/SummaryFiles.h"
#include "support/TempProgramFolder.h"

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

QByteArray zeroRow(int month)
{
    return QByteArray::number(month) + ",0,0,0,0,0,0.00,0,0,0\r\n";
}

// A year file image: the given rows first, zero rows for the other months.
QByteArray twelveRows(const QByteArray& first, const QByteArray& second = QByteArray())
{
    QByteArray plain = first + second;
    for (int m = second.isEmpty() ? 2 : 3; m <= 12; ++m)
        plain += zeroRow(m);
    return plain;
}

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
        QCOMPARE(parseYearSummary(plain), std::optional(year));
    }

    void derivedFieldsAreRecomputed_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("written");
        // Rate and balance are derived again; a stale pair does not survive.
        QTest::newRow("stale rate and balance")
            << twelveRows("1,0,0,1,2,4,99.99,7000,1000,0\r\n")
            << QByteArray("1,0,0,1,2,4,50.00,7000,1000,6000\r\n");
        QTest::newRow("bare LF lines")
            << twelveRows("1,0,0,0,0,3,0.00,0,0,0\n").replace("\r\n", "\n")
            << QByteArray("1,0,0,0,0,3,0.00,0,0,0\r\n");
    }
    void derivedFieldsAreRecomputed()
    {
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, written);
        const std::optional<YearSummary> year = parseYearSummary(plain);
        QVERIFY(year);
        QCOMPARE(formatYearSummary(*year).left(written.size()), written);
    }

    // The year summary holds the only record of the expenses: what is not a summary as
    // written is damaged, never taken as zero rows.
    void damagedYearSummaries_data()
    {
        QTest::addColumn<QByteArray>("plain");
        const QByteArray good = twelveRows("1,0,0,1,2,4,50.00,7000,1000,6000\r\n");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("random bytes") << QByteArray("\x8a\x01\xff\x13zq\x80\xe3\x9c\x00\x7f\r\nkj");
        QTest::newRow("NUL bytes") << QByteArray(good.size(), '\0');
        QTest::newRow("NUL in a field") << QByteArray(good).replace(2, 1, QByteArray(1, '\0'));
        QTest::newRow("cut short") << good.left(good.size() - 30);
        QTest::newRow("a row cut short") << good.left(good.size() - 8) + "\r\n";
        QTest::newRow("thirteen rows") << good + "13,0,0,0,0,0,0.00,0,0,0\r\n";
        QTest::newRow("months out of order") << QByteArray(good).replace("1,0,0,1", "2,0,0,1");
        QTest::newRow("text for a count") << QByteArray(good).replace("1,0,0,1,2,4", "1,x,0,1,2,4");
        QTest::newRow("negative count") << QByteArray(good).replace("1,0,0,1,2,4", "1,-1,0,1,2,4");
        QTest::newRow("amount beyond range")
            << QByteArray(good).replace(",7000,", ",922337203685478,");
        QTest::newRow("balance beyond range")
            << QByteArray(good).replace(",7000,1000,", ",900000000000000,-900000000000000,");
        QTest::newRow("year sum beyond range")
            << twelveRows("1,0,0,1,2,4,50.00,900000000000000,0,0\r\n",
                          "2,0,0,1,2,4,50.00,900000000000000,0,0\r\n");
    }
    void damagedYearSummaries()
    {
        QFETCH(QByteArray, plain);
        QVERIFY(!parseYearSummary(plain));
    }

    void damagedTotalSummaries_data()
    {
        QTest::addColumn<QByteArray>("plain");
        const QByteArray good("2025,0,0,0,1,2,50.00,500000,100000,400000,600000\r\n"
                              "2026,0,0,0,1,2,50.00,700000,0,700000,-100000\r\n");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("random bytes") << QByteArray("\x13\x99\xfe,,\x01\r\n\xa5");
        QTest::newRow("NUL bytes") << QByteArray(good.size(), '\0');
        QTest::newRow("cut short") << good.left(good.size() - 12);
        QTest::newRow("amount beyond range")
            << QByteArray(good).replace(",700000,0,", ",922337203685478,0,");
        QTest::newRow("sum over the years beyond range")
            << QByteArray("2025,0,0,0,1,2,50.00,900000000000000,0,0,0\r\n"
                          "2026,0,0,0,1,2,50.00,900000000000000,0,0,0\r\n");
    }
    void damagedTotalSummaries()
    {
        QFETCH(QByteArray, plain);
        QVERIFY(!parseTotalSummary(plain));
    }

    void damagedFileIsReportedByName()
    {
        TempProgramFolder folder;
        const QString path = folder.paths().yearSummaryPath(QStringLiteral("2026"));
        QVERIFY(writeFileAtomically(
                    path, scrambleBytes(twelveRows("1,0,0,0,0,1,0.00,10,0,10\r\n").left(50)))
                    .isEmpty());
        SummaryReadStatus status;
        readYearSummary(path, &status);
        QVERIFY(status.existed && !status.ok());
        QVERIFY(status.error.contains(path));
    }

    void targetColumn()
    {
        QList<TotalRow> rows = {
            {QStringLiteral("2026"), figures(0, 0, 0, 1, 2, 700000, 0), {}},
            {QStringLiteral("2025"), figures(0, 0, 0, 1, 2, 500000, 100000), {}}};
        applyTargetColumn(rows, Currency::fromUnits(1000000));
        QCOMPARE(rows.at(0).year, QStringLiteral("2025"));
        QCOMPARE(rows.at(0).toTarget.toText(), QStringLiteral("600000"));
        QCOMPARE(rows.at(1).toTarget.toText(), QStringLiteral("-100000"));
        QCOMPARE(formatTotalSummary(rows),
                 QByteArray("2025,0,0,0,1,2,50.00,500000,100000,400000,600000\r\n"
                            "2026,0,0,0,1,2,50.00,700000,0,700000,-100000\r\n"));
        QCOMPARE(parseTotalSummary(formatTotalSummary(rows)), std::optional(rows));

        QVERIFY(applyTargetColumn(rows, Currency()));
        QCOMPARE(rows.at(0).toTarget.toText(), QStringLiteral("-400000"));
        // A running sum that does not fit is refused, never wrapped round.
        rows[0].figures.wonAmount = *Currency::parse(QStringLiteral("922337203685477"));
        QVERIFY(!applyTargetColumn(rows, Currency() - Currency::fromUnits(1)));
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

        const QList<TotalRow> rows = {
            {QStringLiteral("2026"), year.months[0], Currency::fromUnits(980000)}};
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

#include "support/TempProgramFolder.h"
#include "diary/Tally.h"

#include <QElapsedTimer>
#include <QTest>

// Prints how long the recount and row colouring of a large search list take.
class TestTallyBench : public QObject
{
    Q_OBJECT

private slots:
    void hundredThousandRows()
    {
        const QString day = QStringLiteral("2026/12/07");
        const QStringList results = {QStringLiteral("不明"), QStringLiteral("落選"), QStringLiteral("小物当選"),
                                     QStringLiteral("中物当選"), QStringLiteral("大物当選"), QStringLiteral("当選")};
        QList<EntryRecord> rows;
        rows.reserve(100000);
        for (int i = 0; i < 100000; ++i) {
            EntryRecord e = makeEntry(QStringLiteral("2026/12/01"), QString::number(i), QStringLiteral("賞品"),
                                      results.at(i % results.size()), QString::number(i % 7 * 1000));
            if (i % 10 == 0)
                e[HappyDay] = day;
            rows.append(e);
        }
        QElapsedTimer timer;
        timer.start();
        const EntryListTotals totals = refreshEntryTotals(rows, day);
        const qint64 ms = timer.elapsed();
        qInfo("recount and colouring of %lld rows: %lld ms", qlonglong(rows.size()), qlonglong(ms));

        QCOMPARE(totals.colours.size(), rows.size());
        QCOMPARE(totals.tally.entries, 100000);
        // Four of every six results are wins; 100000 = 6 × 16666 + 4 (the rest: 不明 落選 小物 中物).
        QCOMPARE(totals.tally.wins, 4 * 16666 + 2);
        QCOMPARE(totals.tally.small, 16667);
        QCOMPARE(totals.tally.large, 16666);
    }
};

QTEST_GUILESS_MAIN(TestTallyBench)
#include "tst_tallybench.moc"

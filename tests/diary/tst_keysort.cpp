#include "diary/KeySort.h"
#include "support/TempProgramFolder.h"

#include <QTest>

namespace {

// "date id" pairs, the prize carrying the original position so stability shows.
QList<EntryRecord> rowsOf(const QStringList& pairs)
{
    QList<EntryRecord> rows;
    for (const QString& pair : pairs) {
        const QStringList parts = pair.split(u' ');
        rows.append(makeEntry(parts.at(0), parts.value(1), QString::number(rows.size())));
    }
    return rows;
}

QStringList pairsOf(const QList<EntryRecord>& rows)
{
    QStringList pairs;
    for (const EntryRecord& row : rows)
        pairs.append(row[KeyDate] + u' ' + row[ID] + u'#' + row[Present]);
    return pairs;
}

} // namespace

class TestKeySort : public QObject
{
    Q_OBJECT

private slots:
    void sortMonthList_data()
    {
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<bool>("sortOn");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("by day, then ID as a number")
            << QStringList{"2017/03/05 120", "2017/03/05 15", "2017/03/01 999"} << true
            << QStringList{"2017/03/01 999#2", "2017/03/05 15#1", "2017/03/05 120#0"};
        QTest::newRow("leading zeros go")
            << QStringList{"2017/03/05 0042", "2017/03/05 007", "2017/03/05 000"} << true
            << QStringList{"2017/03/05 0#2", "2017/03/05 7#1", "2017/03/05 42#0"};
        QTest::newRow("equal pairs keep their order")
            << QStringList{"2017/03/02 5", "2017/03/01 5", "2017/03/02 5", "2017/03/01 05"} << true
            << QStringList{"2017/03/01 5#1", "2017/03/01 5#3", "2017/03/02 5#0", "2017/03/02 5#2"};
        QTest::newRow("non-numeric IDs after the numbers of their day, unchanged")
            << QStringList{"2017/03/05 ab", "2017/03/05 12",   "2017/03/04 x1",
                           "2017/03/05 ",   "2017/03/05 007z", "2017/03/05 3"}
            << true << QStringList{"2017/03/04 x1#2", "2017/03/05 3#5", "2017/03/05 12#1",
                                   "2017/03/05 ab#0", "2017/03/05 #3",  "2017/03/05 007z#4"};
        QTest::newRow("numbers longer than nine digits by value")
            << QStringList{"2017/03/05 1000000000000", "2017/03/05 999999999"} << true
            << QStringList{"2017/03/05 999999999#1", "2017/03/05 1000000000000#0"};
        // A month already in order with one entry added at the end, as a registration leaves it.
        QTest::newRow("added entry after its equals")
            << QStringList{"2017/03/01 5", "2017/03/02 7", "2017/03/02 9", "2017/03/03 1",
                           "2017/03/02 07"}
            << true
            << QStringList{"2017/03/01 5#0", "2017/03/02 7#1", "2017/03/02 7#4", "2017/03/02 9#2",
                           "2017/03/03 1#3"};
        QTest::newRow("added entry belongs last")
            << QStringList{"2017/03/01 5", "2017/03/02 7", "2017/03/03 1", "2017/03/31 2"} << true
            << QStringList{"2017/03/01 5#0", "2017/03/02 7#1", "2017/03/03 1#2", "2017/03/31 2#3"};
        QTest::newRow("added entry equal to the last row")
            << QStringList{"2017/03/01 5", "2017/03/03 1", "2017/03/03 001"} << true
            << QStringList{"2017/03/01 5#0", "2017/03/03 1#1", "2017/03/03 1#2"};
        QTest::newRow("added entry before every row")
            << QStringList{"2017/03/02 1", "2017/03/03 1", "2017/03/01 9"} << true
            << QStringList{"2017/03/01 9#2", "2017/03/02 1#0", "2017/03/03 1#1"};
        QTest::newRow("off: order and zeros stay")
            << QStringList{"2017/03/05 120", "2017/03/05 015", "2017/03/01 999"} << false
            << QStringList{"2017/03/05 120#0", "2017/03/05 015#1", "2017/03/01 999#2"};
    }
    void sortMonthList()
    {
        QFETCH(QStringList, input);
        QFETCH(bool, sortOn);
        QList<EntryRecord> rows = rowsOf(input);
        SortMonthList(rows, sortOn);
        QTEST(pairsOf(rows), "expected");
    }

    void columnSort_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("ID first click: 10 before 9")
            << int(ID) << QStringList{"9", "10", "010"} << true << QStringList{"10", "10", "9"};
        QTest::newRow("ID second click: 9 before 10")
            << int(ID) << QStringList{"10", "9", "abc"} << false << QStringList{"9", "10", "abc"};
        QTest::newRow("amounts as numbers")
            << int(HappyMoney) << QStringList{"5000", "300", "12000", "0"} << false
            << QStringList{"0", "300", "5000", "12000"};
        QTest::newRow("text column as text")
            << int(Site) << QStringList{"b", "a", "c"} << true << QStringList{"c", "b", "a"};
    }
    void columnSort()
    {
        QFETCH(int, field);
        QFETCH(QStringList, values);
        QFETCH(bool, descending);
        QList<EntryRecord> rows;
        for (const QString& v : values) {
            rows.append(makeEntry(QStringLiteral("2026/12/01"), QStringLiteral("1")));
            rows.last()[field] = v;
        }
        sortByColumn(rows, field, descending);
        QStringList actual;
        for (const EntryRecord& row : rows)
            actual.append(row[field]);
        QTEST(actual, "expected");
    }
};

QTEST_GUILESS_MAIN(TestKeySort)
#include "tst_keysort.moc"

#include "diary/MonthPrefetch.h"
#include "support/TempProgramFolder.h"

#include <QTest>

class TestMonthPrefetch : public QObject
{
    Q_OBJECT

private slots:
    // Months come out in the order asked for, each as a plain read gives it, whatever
    // order the workers finish in; missing and refused files keep their place.
    void handsOutInOrder_data()
    {
        QTest::addColumn<int>("take"); // how many are taken before it is destroyed
        QTest::newRow("all") << 40;
        QTest::newRow("stopped early") << 3;
        QTest::newRow("none") << 0;
    }
    void handsOutInOrder()
    {
        QFETCH(int, take);
        TempProgramFolder folder;
        QStringList paths;
        for (int i = 0; i < 40; ++i) {
            const QString year = QString::number(2000 + i / 12);
            const QString month = QString::number(i % 12 + 1).rightJustified(2, u'0');
            QList<EntryRecord> entries;
            for (int n = 0; n < i % 7; ++n)
                entries.append(makeEntry(year + u'/' + month + "/01", QString::number(i * 10 + n)));
            if (i % 9 != 4) // some months have no file
                folder.writeMonth(year, month, entries,
                                  i == 13 ? QStringLiteral("other") : QString());
            paths.append(folder.paths().monthFilePath(year, month));
        }
        MonthPrefetch prefetch(paths, QString());
        for (int i = 0; i < take; ++i) {
            const std::optional<MonthRead> got = prefetch.next();
            QVERIFY(got);
            const MonthRead plain = readMonthFile(paths[i], QString());
            QCOMPARE(int(got->status), int(plain.status));
            QCOMPARE(got->entries, plain.entries);
        }
        if (take == paths.size())
            QVERIFY(!prefetch.next());
    }

    void emptyListEndsAtOnce() { QVERIFY(!MonthPrefetch({}, QString()).next()); }
};

QTEST_GUILESS_MAIN(TestMonthPrefetch)
#include "tst_monthprefetch.moc"

// Prints how long the main window takes to open a month of 500 entries and to recount and
// colour a search list of 100 000 rows. Times are printed, not asserted.
#include "forms/EntryTableModel.h"
#include "support/MainWindowHarness.h"

#include <QElapsedTimer>
#include <QTest>

class BenchMainWindow : public QObject
{
    Q_OBJECT

    static QList<EntryRecord> entries(int count, const QString& month)
    {
        QList<EntryRecord> rows;
        rows.reserve(count);
        const QStringList results{"不明", "落選", "小物当選", "中物当選", "大物当選", "当選"};
        for (int i = 0; i < count; ++i) {
            const QString day = month + QStringLiteral("/%1").arg(i % 28 + 1, 2, 10, QChar(u'0'));
            EntryRecord e = makeEntry(day, QString::number(i), QStringLiteral("賞品%1").arg(i),
                                      results[i % results.size()], QString::number(i % 7 * 1000));
            e[Msg] = QStringLiteral("コメント%1\r\n二行目").arg(i);
            rows.append(e);
        }
        return rows;
    }

private slots:
    void monthOf500Entries()
    {
        MainWindowHarness h(QDate(2026, 7, 15));
        h.folder.writeMonth("2026", "07", entries(500, "2026/07"));
        h.start();
        h.window->show();
        QElapsedTimer timer;
        timer.start();
        h.window->monthPage().LoadMonthFile();
        QCoreApplication::processEvents();
        const qint64 loadMs = timer.elapsed();
        QCOMPARE(h.window->monthModel()->rowCount(), 500);
        timer.restart();
        QVERIFY(h.window->monthPage().SaveMonthFile());
        qInfo("month of 500 entries: load and colour %lld ms, save with summaries %lld ms", loadMs,
              timer.elapsed());
    }

    void recountOf100000SearchRows()
    {
        MainWindowHarness h(QDate(2026, 7, 15));
        h.start();
        h.selectTab("T_Search");
        h.window->searchModel()->setEntries(entries(100000, "2026/07"));
        QElapsedTimer timer;
        timer.start();
        h.window->RefreshTotals();
        qInfo("RefreshTotals over 100 000 search rows: %lld ms", timer.elapsed());
        QCOMPARE(h.panel("txtTotalCount"), QStringLiteral("100000"));
    }
};

QTEST_MAIN(BenchMainWindow)
#include "bench_mainwindow.moc"

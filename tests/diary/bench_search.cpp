// Measures searches over a diary of 20 years × 12 months × 400 entries (96 000 entries).
// Prints the times; a slow machine does not fail it. Give a program folder as the first
// argument to keep the generated diary between runs.
#include "support/DiaryGenerator.h"
#include "diary/SearchScan.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

class BenchSearch : public QObject
{
    Q_OBJECT

public:
    QString folder;

private:
    QTemporaryDir m_temp;
    DiaryShape m_shape;
    qint64 m_entries = 0;

    // Best and median of a few runs, so one slow run of a shared machine does not decide.
    void measure(const char* label, const SearchCriteria& criteria, qint64 expectedResults, qint64 expectedTested = -1)
    {
        QList<qint64> times;
        SearchOutcome outcome;
        int progressCalls = 0;
        SearchScanHooks hooks;
        hooks.progress = [&](const SearchProgress&) { ++progressCalls; };
        for (int run = 0; run < 3; ++run) {
            outcome = SearchOutcome(); // freeing the last results is not part of a search
            QElapsedTimer timer;
            timer.start();
            outcome = runSearch(AppPaths(folder), criteria, QString(), hooks);
            times.append(timer.elapsed());
        }
        std::sort(times.begin(), times.end());
        qInfo("%s: %lld results of %lld entries; best %lld ms, median %lld ms (%d progress calls)", label,
              qint64(outcome.results.size()), outcome.testedEntries, times.first(), times[times.size() / 2],
              progressCalls);
        QCOMPARE(outcome.testedEntries, expectedTested < 0 ? m_entries : expectedTested);
        if (expectedResults >= 0)
            QCOMPARE(qint64(outcome.results.size()), expectedResults);
        QVERIFY(outcome.unreadable.isEmpty());
    }

private slots:
    void initTestCase()
    {
        if (folder.isEmpty())
            folder = m_temp.path();
        m_entries = qint64(m_shape.years) * 12 * m_shape.entriesPerMonth;
        if (QFileInfo::exists(AppPaths(folder).monthFilePath(QString::number(m_shape.firstYear), "01")))
            return;
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(writeGeneratedDiary(AppPaths(folder), m_shape), m_entries);
        qInfo("wrote %lld entries in %lld ms", m_entries, timer.elapsed());
    }

    void noCriteria() { measure("no criteria", SearchCriteria{}, m_entries); }

    void siteText()
    {
        SearchCriteria c;
        c.site = QStringLiteral("abc"); // ABC-Shop and abc-shop, not ＡＢＣストア
        measure("site text \"abc\"", c, -1);
    }

    void commentAndResult()
    {
        SearchCriteria c;
        c.msg = QStringLiteral("memo");
        c.kekka = QStringLiteral("全当選");
        measure("comment \"memo\" and 全当選", c, -1);
    }

    void keyDateRange()
    {
        SearchCriteria c;
        c.keyDate = DateRange{QDate(2010, 11, 15), QDate(2012, 2, 10)};
        measure("key date range of 16 months", c, -1, 16 * m_shape.entriesPerMonth);
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    BenchSearch bench;
    QStringList args = app.arguments();
    if (args.size() > 1 && !args.at(1).startsWith(u'-')) {
        bench.folder = QDir(args.takeAt(1)).absolutePath();
        QDir().mkpath(bench.folder);
    }
    return QTest::qExec(&bench, args);
}

#include "bench_search.moc"

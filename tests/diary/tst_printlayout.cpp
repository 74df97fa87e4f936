#include "diary/PrintLayout.h"

#include <QTest>

using namespace printlayout;
using listexport::ExportInput;
using listexport::ListKind;

Q_DECLARE_METATYPE(printlayout::PageCounts)
Q_DECLARE_METATYPE(printlayout::Borders)

namespace {

const QStringList kEntry = {
    "2026/12/31", "123",  "応募先A", "http://x.example/", "食品",           "米",
    "小物当選",   "500",  "10名様",  "2026/12/01",        "2027/01/10",     "ハガキ",
    "抽選",       "毎月", "郵送",    "甘い, 白い",        "/home/u/pic.jpg"};
const QString kEntryLine =
    "2026/12/31,123,応募先A,http://x.example/,食品,米,小物当選,500,10名様,2026/12/01,2027/01/"
    "10,ハガキ,抽選,毎月,郵送,甘い, 白い";
const std::array<QString, 6> kPanel = {"1", "2", "50.00", "500", "120", "380"};
const QStringList kStatistics = {"当選総数（件）,応募総数（件）,当選率（％）", "1,2,50.00",
                                 "当選総額（円）,支出総額（円）,収支総額（円）", "500,120,380"};

QList<int> pieceWidths(const QStringList& pieces)
{
    QList<int> widths;
    for (const QString& piece : pieces)
        widths.append(ansiByteLength(piece));
    return widths;
}

} // namespace

class TestPrintLayout : public QObject
{
    Q_OBJECT

private slots:
    void byteWidths_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("bytes");
        QTest::newRow("ascii") << "abc,1" << 5;
        QTest::newRow("full-width") << "ＡＢあ漢" << 8;
        QTest::newRow("half-width kana") << "ｱｲｳﾞ" << 4;
        QTest::newRow("machine-dependent") << "①～" << 4;
        QTest::newRow("not in the code page") << "a😀" << 3;
        QTest::newRow("empty") << "" << 0;
    }
    void byteWidths()
    {
        QFETCH(QString, text);
        QFETCH(int, bytes);
        QCOMPARE(ansiByteLength(text), bytes);
    }

    void splitting_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("charsPerLine");
        QTest::addColumn<QList<int>>("widths");
        QTest::newRow("100 full-width at 80")
            << QString(100, QChar(u'あ')) << 80 << QList<int>{80, 80, 40};
        QTest::newRow("exactly the width") << QString(80, 'a') << 80 << QList<int>{80};
        QTest::newRow("one byte over") << QString(81, 'a') << 80 << QList<int>{80, 1};
        QTest::newRow("full-width never halved")
            << "a" + QString(40, QChar(u'あ')) << 80 << QList<int>{79, 2};
        QTest::newRow("surrogate pair whole") << "ab😀" << 3 << QList<int>{2, 2};
        QTest::newRow("empty line still a line") << "" << 80 << QList<int>{0};
    }
    void splitting()
    {
        QFETCH(QString, line);
        QFETCH(int, charsPerLine);
        QFETCH(QList<int>, widths);
        const QStringList pieces = splitLine(line, charsPerLine);
        QCOMPARE(pieceWidths(pieces), widths);
        QCOMPARE(pieces.join(QString()), line);
    }

    void pageBreaks_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<PageCounts>("counts");
        QTest::addColumn<QList<int>>("linesPerPage");
        QStringList sixtyOne{"header"};
        for (int i = 1; i <= 60; ++i)
            sixtyOne.append(QString::number(i));
        QTest::newRow("61st line opens page 2")
            << sixtyOne << PageCounts{60, 80} << QList<int>{60, 1};
        QTest::newRow("exactly one page")
            << sixtyOne.mid(0, 60) << PageCounts{60, 80} << QList<int>{60};
        QTest::newRow("wrapped pieces fill the page")
            << QStringList{"h", QString(25, 'x'), "y"} << PageCounts{2, 10} << QList<int>{2, 2, 1};
        QTest::newRow("header only prints nothing")
            << QStringList{"header"} << PageCounts{60, 80} << QList<int>{};
        QTest::newRow("no room prints nothing") << sixtyOne << PageCounts{0, 80} << QList<int>{};
    }
    void pageBreaks()
    {
        QFETCH(QStringList, lines);
        QFETCH(PageCounts, counts);
        QFETCH(QList<int>, linesPerPage);
        const QList<QStringList> pages = layOutPages(lines, counts);
        QList<int> sizes;
        for (const QStringList& page : pages)
            sizes.append(int(page.size()));
        QCOMPARE(sizes, linesPerPage);
        if (!pages.isEmpty())
            QCOMPARE(pages.first().first(), lines.first());
    }

    void counts_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<Borders>("margins");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("chars");
        // A4 with 5 mm unprintable borders: 200 x 287 mm printable.
        const Borders five{5, 5, 5, 5};
        QTest::newRow("9 pt") << 9 << five << 87 << 119;
        QTest::newRow("12 pt") << 12 << five << 65 << 89;
        QTest::newRow("18 pt") << 18 << five << 43 << 59;
        QTest::newRow("no margins") << 12 << Borders{} << 67 << 94;
        QTest::newRow("no height left") << 12 << Borders{5, 140, 5, 147} << 0 << 89;
        QTest::newRow("width negative") << 12 << Borders{100, 5, 101, 5} << 65 << 0;
    }
    void counts()
    {
        QFETCH(int, points);
        QFETCH(Borders, margins);
        QFETCH(int, lines);
        QFETCH(int, chars);
        const PaperGeometry a4{{5, 5, 5, 5}, 210, 297};
        const PageCounts counts = pageCounts(a4, margins, *metricsFor(points));
        QCOMPARE(counts.linesPerPage, lines);
        QCOMPARE(qMax(counts.charsPerLine, 0), chars);
        QCOMPARE(counts.fits(), lines > 0 && chars > 0);
    }

    void linesPerTab_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("keyIsEndDay");
        QTest::addColumn<bool>("withStatistics");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("expected");
        const QString entryHeaderTail = ",ＩＤ番号,応募先,URL,ジャンル,賞品名,結果,当選額,当選数,";
        const QString entryHeaderEnd = ",当選日,応募形式,選考方法,サイクル,応募方法,コメント";
        QTest::newRow("entries by deadline")
            << int(ListKind::Entries) << true << false << kEntry
            << QStringList{"締切日" + entryHeaderTail + "応募日" + entryHeaderEnd, kEntryLine};
        QTest::newRow("entries by entry date, statistics")
            << int(ListKind::Entries) << false << true << kEntry
            << QStringList{"応募日" + entryHeaderTail + "締切日" + entryHeaderEnd, kEntryLine} +
                   kStatistics;
        const QStringList yearRow = {"1", "1", "0", "0", "1", "2", "50.00", "500", "120", "380"};
        const QString summaryHeader =
            ",小物当選,中物当選,大物当選,当選総数,応募総数,当選率,当選総額,支出総額,収支総額";
        for (bool key : {true, false}) {
            QTest::addRow("year, key %d", key)
                << int(ListKind::Year) << key << true << yearRow
                << QStringList{"月" + summaryHeader, yearRow.join(',')} + kStatistics;
            QTest::addRow("total, key %d", key)
                << int(ListKind::Total) << key << false << yearRow + QStringList{"10000"}
                << QStringList{"年" + summaryHeader + ",目標収支金額",
                               (yearRow + QStringList{"10000"}).join(',')};
        }
    }
    void linesPerTab()
    {
        QFETCH(int, kind);
        QFETCH(bool, keyIsEndDay);
        QFETCH(bool, withStatistics);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, expected);
        ExportInput input;
        input.kind = ListKind(kind);
        input.keyIsEndDay = keyIsEndDay;
        input.withStatistics = withStatistics;
        input.panel = kPanel;
        input.rows = {rows};
        QList<int> progress;
        QCOMPARE(printLines(input, [&](int row) { progress.append(row); }), expected);
        QCOMPARE(progress, QList<int>{1});
    }
};

QTEST_GUILESS_MAIN(TestPrintLayout)
#include "tst_printlayout.moc"

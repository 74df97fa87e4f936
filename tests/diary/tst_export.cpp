#include "core/AtomicFile.h"
#include "diary/Export.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace listexport;

namespace {

QStringList entryRow(const QString& comment)
{
    // Seventeen columns; the URL (3) and picture path (16) must never reach the file.
    return {"2026/12/31", "123",    "応募先A",    "http://x.example/", "食品",   "米",   "小物当選",
            "500",        "10名様", "2026/12/01", "2027/01/10",        "ハガキ", "抽選", "毎月",
            "郵送",       comment,  "C:\\pic.jpg"};
}

const std::array<QString, 6> kPanel = {"1", "2", "50.00", "500", "120", "380"};

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

private slots:
    void formatFollowsTheExactLowerCaseExtension()
    {
        QCOMPARE(formatForPath("/tmp/a.csv"), Format::Csv);
        QCOMPARE(formatForPath("/tmp/a.CSV"), Format::Html);
        QCOMPARE(formatForPath("/tmp/a"), Format::Html);
        QCOMPARE(formatForPath("/tmp/a.html"), Format::Html);
    }

    void monthCsvByDeadlineWithStatistics()
    {
        ExportInput in;
        in.keyIsEndDay = true;
        in.rows = {entryRow("甘い, 白い")};
        in.withStatistics = true;
        in.panel = kPanel;
        QList<int> progress;
        const QString text = exportText(in, Format::Csv, [&](int row) { progress.append(row); });
        QCOMPARE(
            text,
            QStringLiteral(
                "\"締切日\",\"ＩＤ番号\",\"応募先\",\"ジャンル\",\"賞品名\",\"結果\",\"当選額\","
                "\"当選数\",\"応募日\","
                "\"当選日\",\"応募形式\",\"選考方法\",\"サイクル\",\"応募方法\",\"コメント\"\r\n"
                "\"2026/12/"
                "31\",\"123\",\"応募先A\",\"食品\",\"米\",\"小物当選\",\"500\",\"10名様\",\"2026/"
                "12/01\","
                "\"2027/01/10\",\"ハガキ\",\"抽選\",\"毎月\",\"郵送\",\"甘い, 白い\"\r\n"
                "\r\n"
                "\"当選総数（件）\",\"応募総数（件）\",\"当選率（％）\"\r\n"
                "\"1\",\"2\",\"50.00\"\r\n"
                "\"当選総額（円）\",\"支出総額（円）\",\"収支総額（円）\"\r\n"
                "\"500\",\"120\",\"380\"\r\n"));
        QCOMPARE(progress, QList<int>{1});
        // The file holds code page 932 bytes.
        const EncodedExport encoded = encodeExport(text);
        QVERIFY(encoded.unencodable.isEmpty());
        QVERIFY(encoded.bytes.startsWith(QByteArray("\"\x92\xf7\x90\xd8\x93\xfa\",\"\x82"
                                                    "h\x82"
                                                    "c\x94\xd4\x8d\x86\",")));
        QVERIFY(encoded.bytes.endsWith("\"500\",\"120\",\"380\"\r\n"));
    }

    void htmlValuesAreTextNeverMarkup_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("written");
        QTest::newRow("plain") << "東京都 \"A\"・Ｂ＆Ｃ＜＞"
                               << "東京都 \"A\"・Ｂ＆Ｃ＜＞";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("ampersand") << "A&B"
                                   << "A&amp;B";
        QTest::newRow("entity stays visible") << "&amp;"
                                              << "&amp;amp;";
        QTest::newRow("script") << "<script>alert(1)</script>"
                                << "&lt;script&gt;alert(1)&lt;/script&gt;";
        QTest::newRow("table end") << "</TD></TR></TABLE>"
                                   << "&lt;/TD&gt;&lt;/TR&gt;&lt;/TABLE&gt;";
        QTest::newRow("at both ends") << ">x<"
                                      << "&gt;x&lt;";
    }
    void htmlValuesAreTextNeverMarkup()
    {
        QFETCH(QString, value);
        QFETCH(QString, written);
        QCOMPARE(htmlText(value), written);
        // Every value of an entry or summary row, and of the statistics.
        ExportInput in;
        in.withStatistics = true;
        in.rows = {entryRow(value)};
        in.panel = {value, "2", "50.00", "500", "120", value};
        const QString html = exportText(in, Format::Html);
        QVERIFY(html.contains("<TD>郵送</TD><TD>" + written + "</TD></TR>\r\n"));
        QVERIFY(html.contains("<TR><TD NOWRAP>" + written + "</TD><TD NOWRAP>2</TD>"));
        QVERIFY(html.contains("<TD NOWRAP>120</TD><TD NOWRAP>" + written + "</TD></TR>"));
        QVERIFY(!html.contains("<script"));
    }

    void monthHtmlByEntryDateWithoutStatistics()
    {
        ExportInput in;
        in.keyIsEndDay = false;
        in.rows = {entryRow("新春, 記念")};
        in.panel = kPanel;
        QCOMPARE(exportText(in, Format::Html),
                 QStringLiteral(
                     "<TABLE BORDER= \"1\" >\r\n"
                     "<COL SPAN= \"1\" ALIGN=\"left\"><COL SPAN=\"1\" ALIGN=\"right\"><COL "
                     "SPAN=\"4\" ALIGN=\"left\">"
                     "<COL SPAN=\"2\" ALIGN=\"right\"><COL SPAN=\"7\" ALIGN=\"left\">\r\n"
                     "<TR><TD WIDTH=\"90\" NOWRAP>応募日</TD><TD WIDTH=\"60\" NOWRAP>ＩＤ番号</TD>"
                     "<TD WIDTH=\"200\" NOWRAP>応募先</TD><TD WIDTH=\"130\" NOWRAP>ジャンル</TD>"
                     "<TD WIDTH=\"200\" NOWRAP>賞品名</TD><TD WIDTH=\"70\" NOWRAP>結果</TD>"
                     "<TD WIDTH=\"80\" NOWRAP>当選額</TD><TD WIDTH=\"110\" NOWRAP>当選数</TD>"
                     "<TD WIDTH=\"90\" NOWRAP>締切日</TD><TD WIDTH=\"90\" NOWRAP>当選日</TD>"
                     "<TD WIDTH=\"110\" NOWRAP>応募形式</TD><TD WIDTH=\"70\" NOWRAP>選考方法</TD>"
                     "<TD WIDTH=\"70\" NOWRAP>サイクル</TD><TD WIDTH=\"90\" NOWRAP>応募方法</TD>"
                     "<TD WIDTH=\"300\" NOWRAP>コメント</TD></TR>\r\n"
                     "<TR><TD>2026/12/31</TD><TD>123</TD><TD>応募先A</TD><TD>食品</TD><TD>米</"
                     "TD><TD>小物当選</TD>"
                     "<TD>500</TD><TD>10名様</TD><TD>2026/12/01</TD><TD>2027/01/10</TD><TD>ハガキ</"
                     "TD><TD>抽選</TD>"
                     "<TD>毎月</TD><TD>郵送</TD><TD>新春, 記念</TD></TR>\r\n"
                     "</TABLE>\r\n"));
    }

    void yearListInBothFormatsWithStatistics()
    {
        ExportInput in;
        in.kind = ListKind::Year;
        in.rows = {{"1", "1", "0", "0", "1", "2", "50.00", "500", "120", "380"}};
        in.withStatistics = true;
        in.panel = kPanel;
        QCOMPARE(exportText(in, Format::Csv),
                 QStringLiteral(
                     "\"月\",\"小物当選\",\"中物当選\",\"大物当選\",\"当選総数\",\"応募総数\","
                     "\"当選率\","
                     "\"当選総額\",\"支出総額\",\"収支総額\"\r\n"
                     "\"1\",\"1\",\"0\",\"0\",\"1\",\"2\",\"50.00\",\"500\",\"120\",\"380\"\r\n"
                     "\r\n"
                     "\"当選総数（件）\",\"応募総数（件）\",\"当選率（％）\"\r\n"
                     "\"1\",\"2\",\"50.00\"\r\n"
                     "\"当選総額（円）\",\"支出総額（円）\",\"収支総額（円）\"\r\n"
                     "\"500\",\"120\",\"380\"\r\n"));
        QCOMPARE(
            exportText(in, Format::Html),
            QStringLiteral(
                "<TABLE BORDER= \"1\" >\r\n"
                "<COL SPAN= \"1\" ALIGN=\"left\"><COL SPAN=\"9\" ALIGN=\"right\">\r\n"
                "<TR><TD WIDTH=\"20\" NOWRAP>月</TD><TD WIDTH=\"80\" NOWRAP>小物当選</TD>"
                "<TD WIDTH=\"80\" NOWRAP>中物当選</TD><TD WIDTH=\"80\" NOWRAP>大物当選</TD>"
                "<TD WIDTH=\"80\" NOWRAP>当選総数</TD><TD WIDTH=\"80\" NOWRAP>応募総数</TD>"
                "<TD WIDTH=\"60\" NOWRAP>当選率</TD><TD WIDTH=\"80\" NOWRAP>当選総額</TD>"
                "<TD WIDTH=\"80\" NOWRAP>支出総額</TD><TD WIDTH=\"80\" "
                "NOWRAP>収支総額</TD></TR>\r\n"
                "<TR><TD>1</TD><TD>1</TD><TD>0</TD><TD>0</TD><TD>1</TD><TD>2</TD><TD>50.00</TD>"
                "<TD>500</TD><TD>120</TD><TD>380</TD></TR>\r\n"
                "</TABLE>\r\n"
                "<BR>\r\n"
                "<TABLE BORDER= \"1\" >\r\n"
                "<COL SPAN= \"3\" ALIGN=\"right\">\r\n"
                "<TR ALIGN=\"center\"><TD NOWRAP>当選総数（件）</TD><TD NOWRAP>応募総数（件）</TD>"
                "<TD NOWRAP>当選率（％）</TD></TR>\r\n"
                "<TR><TD NOWRAP>1</TD><TD NOWRAP>2</TD><TD NOWRAP>50.00</TD></TR>\r\n"
                "<TR ALIGN=\"center\"><TD NOWRAP>当選総額(円)</TD><TD NOWRAP>支出総額(円)</TD>"
                "<TD NOWRAP>収支総額(円)</TD></TR>\r\n"
                "<TR><TD NOWRAP>500</TD><TD NOWRAP>120</TD><TD NOWRAP>380</TD></TR>\r\n"
                "</TABLE>\r\n"));
    }

    void totalListWritesElevenColumns()
    {
        ExportInput in;
        in.kind = ListKind::Total;
        in.rows = {{"2026", "1", "0", "0", "1", "2", "50.00", "500", "120", "380", "-9620"}};
        QCOMPARE(exportText(in, Format::Csv),
                 QStringLiteral("\"年\",\"小物当選\",\"中物当選\",\"大物当選\",\"当選総数\","
                                "\"応募総数\",\"当選率\","
                                "\"当選総額\",\"支出総額\",\"収支総額\",\"目標収支金額\"\r\n"
                                "\"2026\",\"1\",\"0\",\"0\",\"1\",\"2\",\"50.00\",\"500\",\"120\","
                                "\"380\",\"-9620\"\r\n"));
        QCOMPARE(exportText(in, Format::Html).section("\r\n", 1, 2),
                 QStringLiteral(
                     "<COL SPAN= \"1\" ALIGN=\"left\"><COL SPAN=\"10\" ALIGN=\"right\">\r\n"
                     "<TR><TD WIDTH=\"30\" NOWRAP>年</TD><TD WIDTH=\"80\" NOWRAP>小物当選</TD>"
                     "<TD WIDTH=\"80\" NOWRAP>中物当選</TD><TD WIDTH=\"80\" NOWRAP>大物当選</TD>"
                     "<TD WIDTH=\"80\" NOWRAP>当選総数</TD><TD WIDTH=\"80\" NOWRAP>応募総数</TD>"
                     "<TD WIDTH=\"60\" NOWRAP>当選率</TD><TD WIDTH=\"80\" NOWRAP>当選総額</TD>"
                     "<TD WIDTH=\"80\" NOWRAP>支出総額</TD><TD WIDTH=\"80\" NOWRAP>収支総額</TD>"
                     "<TD WIDTH=\"100\" NOWRAP>目標収支金額</TD></TR>"));
    }

    void emptyListWritesHeaderAndStatisticsOnly()
    {
        ExportInput in;
        in.kind = ListKind::Year;
        in.withStatistics = true;
        in.panel = {"0", "0", "0.00", "0", "0", "0"};
        const QStringList lines = exportText(in, Format::Csv).split("\r\n");
        QCOMPARE(lines.size(),
                 7); // header, blank, four statistics records, and the end after the last CR LF
        QCOMPARE(lines[1], QString());
        QCOMPARE(lines[3], QStringLiteral("\"0\",\"0\",\"0.00\""));
    }

    // The file is written row by row; it must hold what the whole text encodes to, for
    // entries given as the list's records or as texts, across many write pieces.
    void fileHoldsTheEncodedText_data()
    {
        QTest::addColumn<bool>("csv");
        QTest::addColumn<bool>("asRecords");
        QTest::addColumn<int>("rows");
        QTest::newRow("csv, records") << true << true << 3;
        QTest::newRow("html, texts") << false << false << 3;
        QTest::newRow("csv, many pieces") << true << true << 2000;
        QTest::newRow("html, no rows") << false << true << 0;
    }
    void fileHoldsTheEncodedText()
    {
        QFETCH(bool, csv);
        QFETCH(bool, asRecords);
        QFETCH(int, rows);
        ExportInput in;
        in.withStatistics = true;
        in.panel = kPanel;
        for (int i = 0; i < rows; ++i) {
            const QStringList row = entryRow(QStringLiteral("行%1").arg(i));
            if (asRecords)
                in.entries.append(EntryRecord::fromStringList(row));
            else
                in.rows.append(row);
        }
        const Format format = csv ? Format::Csv : Format::Html;
        const QByteArray expected = encodeExport(exportText(in, format)).bytes;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("list.out"));
        int told = 0;
        const mode_t umask = ::umask(022);
        QVERIFY(writeExportFile(path, in, format, [&](int row) { told = row; }).ok());
        ::umask(umask);
        QCOMPARE(told, rows);
        QCOMPARE(permissionBits(path), 0644); // the user chose the place: the umask holds
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), expected);
    }

    void refusedRowLeavesTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("list.csv"));
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old list");
        }
        ExportInput in;
        for (int i = 0; i < 2000; ++i) // the refused row comes after pieces were written
            in.rows.append(entryRow(i == 1999 ? QStringLiteral("絵😀文字") : QStringLiteral("可")));
        const ExportWrite written = writeExportFile(path, in, Format::Csv);
        QCOMPARE(written.unencodable, QStringLiteral("😀"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("old list"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"list.csv"});
    }

    void textCodePage932CannotHoldIsRefusedWhole()
    {
        const EncodedExport encoded = encodeExport(QStringLiteral("\"米\",\"😀\"\r\n"));
        QCOMPARE(encoded.unencodable, QStringLiteral("😀"));
        QVERIFY(encoded.bytes.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"

#include "core/Cp932.h"
#include "diary/CsvDiaryImport.h"

#include <QTest>

namespace {

enum class Encoding { Cp932, Utf8, Utf8Bom };

QByteArray encoded(const QString& text, Encoding encoding)
{
    if (encoding == Encoding::Cp932) {
        QByteArray bytes;
        if (!cp932::encode(text, bytes))
            qFatal("test text outside code page 932");
        return bytes;
    }
    return (encoding == Encoding::Utf8Bom ? QByteArray("\xEF\xBB\xBF") : QByteArray()) +
           text.toUtf8();
}

// The fields a case checks, one string per record.
QString brief(const EntryRecord& e)
{
    return QStringList({e[KeyDate], e[OtherDate], e[ID], e[Present], e[HappyMoney], e[Number],
                        e[Kekka], e[Msg], e[Pic]})
        .join(u'|');
}

const QString kExportHeaderEnd =
    "\"締切日\",\"ＩＤ番号\",\"応募先\",\"ジャンル\",\"賞品名\",\"結果\",\"当選額\",\"当選数\","
    "\"応募日\",\"当選日\","
    "\"応募形式\",\"選考方法\",\"サイクル\",\"応募方法\",\"コメント\"\r\n";
const QString kExportHeaderNow =
    "\"応募日\",\"ＩＤ番号\",\"応募先\",\"ジャンル\",\"賞品名\",\"結果\",\"当選額\",\"当選数\","
    "\"締切日\",\"当選日\","
    "\"応募形式\",\"選考方法\",\"サイクル\",\"応募方法\",\"コメント\"\r\n";

} // namespace

class tst_CsvDiaryImport : public QObject
{
    Q_OBJECT

private slots:
    void awkwardInputs_data();
    void awkwardInputs();
    void notADiary();
};

void tst_CsvDiaryImport::awkwardInputs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<bool>("keyIsEndDay");
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<QList<int>>("skippedLines");
    QTest::addColumn<QStringList>("unknown");

    const auto e = [](Encoding x) { return int(x); };
    QTest::newRow("exported, deadline key, cp932")
        << kExportHeaderEnd +
               "\"2026/07/10\",\"12\",\"店\",\"現金\",\"賞金～\",\"小物当選\",\"5000\",\"3名様\","
               "\"2026/07/01\",\"2026/07/"
               "20\",\"クイズ\",\"抽選\",\"毎月\",\"ハガキ応募\",\"a\r\nb\"\r\n"
        << e(Encoding::Cp932) << true
        << QStringList{"2026/07/10|2026/07/01|12|賞金～|5000|3名様|小物当選|a\r\nb|"}
        << QList<int>{} << QStringList{};
    QTest::newRow("exported under the entry key, read with the deadline key")
        << kExportHeaderNow +
               "\"2026/07/01\",\"12\",\"店\",\"現金\",\"賞\",\"不明\",\"0\",\"全員\",\"2026/07/"
               "10\","
               "\"----/--/--\",\"クイズ\",\"抽選\",\"毎月\",\"ハガキ応募\",\"\"\r\n"
        << e(Encoding::Cp932) << true << QStringList{"2026/07/10|2026/07/01|12|賞|0|全員|不明||"}
        << QList<int>{} << QStringList{};
    QTest::newRow("spreadsheet order, missing columns, BOM")
        << "賞品名,当選額,応募日,ID番号\n米 5kg,\"1,200円\",2026-7-3,\n"
        << e(Encoding::Utf8Bom) << false
        << QStringList{"2026/07/03|2026/07/03|0|米 5kg|1200|0名様|不明||"} << QList<int>{}
        << QStringList{};
    QTest::newRow("quotes, commas and line breaks, UTF-8")
        << "締切日,コメント,賞品名,画像\r\n2026/08/01,\"one, "
           "\"\"two\"\"\nthree\",\"A,B\",/pics/a.jpg\r\n"
        << e(Encoding::Utf8) << true
        << QStringList{"2026/08/01|2026/08/01|0|A,B|0|0名様|不明|one,  two \r\nthree|/pics/a.jpg"}
        << QList<int>{} << QStringList{};
    QTest::newRow("full-width amounts and bare counts")
        << "締切日,当選額,当選数\n2026/08/01,１，０００円,5\n2026/08/02,,\n"
        << e(Encoding::Utf8) << true
        << QStringList{"2026/08/01|2026/08/01|0||1000|5名様|不明||",
                       "2026/08/02|2026/08/02|0||0|0名様|不明||"}
        << QList<int>{} << QStringList{};
    QTest::newRow("unreadable rows named by line, after a two-line field")
        << "締切日,応募日,賞品名,当選額\n"
           "2026/08/01,2026/07/01,\"two\nlines\",0\n" // lines 2-3
           "2026/13/01,2026/07/01,bad month,0\n"      // line 4
           "2026/08/01,2026/08/02,deadline first,0\n" // line 5
           "2026/08/01,2026/07/01,😀,0\n"              // line 6
           "2026/08/01,2026/07/01,money,12円50銭\n"   // line 7
           "\n"
           "2026/08/03,2026/07/01,ok,0\n" // line 9
        << e(Encoding::Utf8) << true
        << QStringList{"2026/08/01|2026/07/01|0|two\nlines|0|0名様|不明||",
                       "2026/08/03|2026/07/01|0|ok|0|0名様|不明||"}
        << QList<int>{4, 5, 6, 7} << QStringList{};
    QTest::newRow("unknown columns listed once")
        << "締切日,メモ,賞品名,メモ,備考\n2026/08/01,x,賞,y,z\n"
        << e(Encoding::Utf8) << true << QStringList{"2026/08/01|2026/08/01|0|賞|0|0名様|不明||"}
        << QList<int>{} << QStringList{"メモ", "備考"};
    QTest::newRow("saved with the statistics")
        << kExportHeaderEnd +
               "\"2026/07/10\",\"1\",\"店\",\"現金\",\"賞\",\"不明\",\"0\",\"1名様\",\"2026/07/"
               "01\","
               "\"----/--/--\",\"クイズ\",\"抽選\",\"毎月\",\"ハガキ応募\",\"\"\r\n\r\n"
               "\"当選総数（件）\",\"応募総数（件）\",\"当選率（％）\"\r\n\"0\",\"1\",\"0.00\"\r\n"
        << e(Encoding::Cp932) << true << QStringList{"2026/07/10|2026/07/01|1|賞|0|1名様|不明||"}
        << QList<int>{} << QStringList{};
    QTest::newRow("quote never closed")
        << "締切日,賞品名\n2026/08/01,ok\n2026/08/02,\"open\n"
        << e(Encoding::Utf8) << true << QStringList{"2026/08/01|2026/08/01|0|ok|0|0名様|不明||"}
        << QList<int>{3} << QStringList{};
}

void tst_CsvDiaryImport::awkwardInputs()
{
    QFETCH(QString, text);
    QFETCH(int, encoding);
    QFETCH(bool, keyIsEndDay);
    QFETCH(QStringList, records);
    QFETCH(QList<int>, skippedLines);
    QFETCH(QStringList, unknown);

    QString decoded;
    QVERIFY(decodeCsvText(encoded(text, Encoding(encoding)), decoded));
    const CsvDiary diary = readCsvDiary(decoded, {keyIsEndDay, QDate(2026, 6, 15)});
    QVERIFY(diary.error.isEmpty());
    QStringList got;
    for (const EntryRecord& r : diary.records)
        got << brief(r);
    QCOMPARE(got, records);
    QList<int> lines;
    for (const CsvSkippedRow& s : diary.skipped)
        lines << s.line;
    QCOMPARE(lines, skippedLines);
    QCOMPARE(diary.unknownColumns, unknown);
    for (const EntryRecord& r : diary.records) {
        for (const QString& field : r.fields)
            QVERIFY2(!field.contains(u'"'), qPrintable(field));
    }
    if (!skippedLines.isEmpty())
        QVERIFY(csvImportReport(diary).contains(QString::number(skippedLines.first()) + "行目"));
}

void tst_CsvDiaryImport::notADiary()
{
    QString text;
    QVERIFY(
        !decodeCsvText(QByteArray("\x82\xA0\x81\x20"), text)); // neither UTF-8 nor code page 932
    QVERIFY(decodeCsvText("name,price\nrice,100\n", text));
    const CsvDiary diary = readCsvDiary(text, {true, QDate(2026, 6, 15)});
    QVERIFY(!diary.error.isEmpty());
    QVERIFY(diary.records.isEmpty());
}

QTEST_GUILESS_MAIN(tst_CsvDiaryImport)
#include "tst_csvdiaryimport.moc"

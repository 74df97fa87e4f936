#include "core/Cp932.h"
#include "core/FileFaults.h"
#include "core/Scramble.h"
#include "diary/MonthFile.h"
#include "support/DiaryGenerator.h"
#include "support/TempProgramFolder.h"

#include <QFile>
#include <QTest>

class TestMonthFile : public QObject
{
    Q_OBJECT

private slots:
    void lineFormatIsByteExact()
    {
        EntryRecord e = makeEntry(QStringLiteral("2026/07/05"), QStringLiteral("123"));
        e[Msg] = QStringLiteral("一行目\r\n二行目, カンマ");
        const MonthTextBuild build = formatMonthText({e}, QStringLiteral("pw"));
        QVERIFY(build.ok());
        QString expected = QStringLiteral("\"StartPassword=pw\"\r\n");
        for (int f = 0; f < kEntryFieldCount; ++f)
            expected += (f ? QStringLiteral(",\"") : QStringLiteral("\"")) + e[f] + u'"';
        expected += QStringLiteral("\r\n");
        QByteArray expectedBytes;
        QVERIFY(cp932::encode(expected, expectedBytes));
        QCOMPARE(build.plain, expectedBytes);
        QVERIFY(build.plain.endsWith(",\"\"\r\n")); // no picture: an empty quoted field
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("msg");
        QTest::addColumn<QString>("password");
        QTest::newRow("plain") << "メモ"
                               << "";
        QTest::newRow("commas and lines") << "a,b\r\nc,\r\n\r\nd"
                                          << "";
        QTest::newRow("with password") << "x"
                                       << "秘密";
        QTest::newRow("folded wave dash") << "1〜2"
                                          << "";
    }
    void roundTrip()
    {
        QFETCH(QString, msg);
        QFETCH(QString, password);
        TempProgramFolder folder;
        QList<EntryRecord> entries;
        for (int i = 0; i < 3; ++i) {
            EntryRecord e = makeEntry(QStringLiteral("2026/07/0%1").arg(i + 1), QString::number(i));
            e[Msg] = msg;
            entries.append(e);
        }
        folder.writeMonth(QStringLiteral("2026"), QStringLiteral("07"), entries, password);
        const MonthRead read = readMonthFile(folder.paths().monthFilePath("2026", "07"), password);
        QCOMPARE(read.status, MonthRead::Status::Loaded);
        QCOMPARE(read.entries.size(), 3);
        QCOMPARE(read.entries[2][Msg], cp932::fold(msg));
        QCOMPARE(read.entries[1][ID], QStringLiteral("1"));
    }

    void quoteMarksBecomeSpaces()
    {
        QString text = QStringLiteral("a\"b“c”d");
        ReplaceQuoteMarks(text);
        QCOMPARE(text, QStringLiteral("a b　c　d"));
        // A stray quote that reached the writer is refused rather than breaking the file.
        EntryRecord e = makeEntry(QStringLiteral("2026/07/01"), QStringLiteral("1"));
        e[Present] = QStringLiteral("say \"hi\"");
        const MonthTextBuild build = formatMonthText({e}, QString());
        QVERIFY(!build.ok());
        QCOMPARE(build.badField, int(Present));
    }

    void unencodableFieldIsNamedNotReplaced()
    {
        EntryRecord e = makeEntry(QStringLiteral("2026/07/01"), QStringLiteral("1"));
        e[Site] = QStringLiteral("Café 😀");
        const MonthTextBuild build = formatMonthText({makeEntry("2026/07/01", "0"), e}, QString());
        QVERIFY(!build.ok());
        QCOMPARE(build.badEntry, 1);
        QCOMPARE(build.badField, int(Site));
        QVERIFY(build.plain.isEmpty());
    }

    void emptyMonthLeavesNoFile()
    {
        TempProgramFolder folder;
        const QString path = folder.paths().monthFilePath("2026", "07");
        folder.writeMonth("2026", "07", {makeEntry("2026/07/01", "1")});
        QVERIFY(QFile::exists(path));
        QVERIFY(writeMonthFile(path, formatMonthText({}, QString()).plain).isEmpty());
        QVERIFY(!QFile::exists(path));
        QCOMPARE(readMonthFile(path, QString()).status, MonthRead::Status::Missing);
        // With a password line due, the file holds only that line and reads as empty.
        folder.writeMonth("2026", "07", {}, QStringLiteral("pw"));
        const MonthRead read = readMonthFile(path, QStringLiteral("pw"));
        QCOMPARE(read.status, MonthRead::Status::Loaded);
        QVERIFY(read.entries.isEmpty());
    }

    void passwordRules_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("status");
        const int loaded = int(MonthText::Status::Loaded);
        const int refused = int(MonthText::Status::Refused);
        QTest::newRow("same password") << "Secret"
                                       << "Secret" << loaded;
        QTest::newRow("letter case differs") << "Secret"
                                             << "secret" << refused;
        QTest::newRow("password file, none set") << "Secret"
                                                 << "" << refused;
        QTest::newRow("no line, none set") << ""
                                           << "" << loaded;
        QTest::newRow("no line, password set") << ""
                                               << "Secret" << refused;
    }
    void passwordRules()
    {
        QFETCH(QString, written);
        QFETCH(QString, expected);
        QFETCH(int, status);
        const MonthTextBuild build = formatMonthText({makeEntry("2026/07/01", "9")}, written);
        const MonthText parsed = parseMonthText(build.plain, expected);
        QCOMPARE(int(parsed.status), status);
        QCOMPARE(parsed.entries.size(), status == int(MonthText::Status::Loaded) ? 1 : 0);
    }

    void damagedFiles_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QString>("password");
        const EntryRecord e = makeEntry("2026/07/01", "1");
        const QByteArray two = formatMonthText({e, e}, QString()).plain;
        const QByteArray secondLine = two.mid(two.indexOf("\r\n") + 2);
        QTest::newRow("last record cut short") << two.left(two.size() - 7) << "";
        QTest::newRow("second record cut after a field")
            << two.left(two.indexOf("\r\n") + 2 + 30) << "";
        QTest::newRow("first record cut short") << two.left(20) << "";
        QTest::newRow("record cut short after the password line")
            << QByteArray("\"StartPassword=pw\"\r\n") + secondLine.left(40) << "pw";
        QTest::newRow("not code page 932") << QByteArray("\"\x81") << "";
        const auto won = [](const char* amount) {
            return formatMonthText({makeEntry("2026/07/01", "1", "p", "当選", amount)}, QString())
                .plain;
        };
        QTest::newRow("amount beyond range") << won("922337203685478") << "";
        QTest::newRow("amounts whose sum overflows")
            << won("900000000000000") + won("900000000000000") << "";
        QByteArray notWon =
            formatMonthText({makeEntry("2026/07/01", "1", "p", "不明", "99999999999999999999")},
                            QString())
                .plain;
        QTest::newRow("amount beyond range, not won") << notWon << "";
    }
    void damagedFiles()
    {
        QFETCH(QByteArray, plain);
        QFETCH(QString, password);
        const MonthText parsed = parseMonthText(plain, password);
        QCOMPARE(parsed.status, MonthText::Status::Damaged);
        QVERIFY(parsed.entries.isEmpty());
    }

    void oddFilesReadAsTheyWillBeWritten_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("entries");
        const int loaded = int(MonthText::Status::Loaded);
        QTest::newRow("empty file, password set") << QByteArray() << "pw" << loaded << 0;
        QTest::newRow("empty file, none set") << QByteArray() << "" << loaded << 0;
        QTest::newRow("unquoted field holding a quote")
            << QByteArray("2026/07/01,1,a\"b,u,g,p,k,0,n,2026/07/01,----/--/--,a,b,c,d,m,\r\n")
            << "" << loaded << 1;
        // The writer puts a password line only for a password; an empty one is no match.
        QTest::newRow("empty password line, none set")
            << QByteArray(
                   "\"StartPassword=\",2026/07/01,1,s,u,g,p,k,0,n,2026/07/01,-,a,b,c,d,m,\r\n")
            << "" << int(MonthText::Status::Refused) << 0;
    }
    void oddFilesReadAsTheyWillBeWritten()
    {
        QFETCH(QByteArray, plain);
        QFETCH(QString, password);
        QFETCH(int, status);
        QFETCH(int, entries);
        const MonthText parsed = parseMonthText(plain, password);
        QCOMPARE(int(parsed.status), status);
        QCOMPARE(parsed.entries.size(), entries);
        if (entries == 0)
            return;
        const MonthTextBuild build = formatMonthText(parsed.entries, password);
        QVERIFY(build.ok());
        QCOMPARE(parseMonthText(build.plain, password).entries, parsed.entries);
    }

    void readerAcceptsUnquotedFieldsAndBlankLines()
    {
        QByteArray plain =
            "\r\n2026/07/01, 12 ,\"s\",u,g,p,k,0,n,2026/07/01,----/--/--,a,b,c,d,\"m\",\r\n";
        const MonthText parsed = parseMonthText(plain, QString());
        QCOMPARE(parsed.status, MonthText::Status::Loaded);
        QCOMPARE(parsed.entries.size(), 1);
        QCOMPARE(parsed.entries[0][ID], QStringLiteral("12"));
        QCOMPARE(parsed.entries[0][Msg], QStringLiteral("m"));
    }

    void repeatedTextsShareOneString()
    {
        EntryRecord a = makeEntry("2026/07/01", "1");
        EntryRecord b = makeEntry("2026/07/01", "2");
        a[Msg] = b[Msg] = QStringLiteral("同じ");
        const QByteArray plain = formatMonthText({a, b}, QString()).plain;
        FieldTexts texts;
        const MonthText first = parseMonthText(plain, QString(), &texts);
        const MonthText second = parseMonthText(plain, QString(), &texts);
        QCOMPARE(first.entries, (QList<EntryRecord>{a, b}));
        QCOMPARE(second.entries, first.entries);
        // Dates and choices share one buffer, across files too; free texts are never shared.
        QCOMPARE(second.entries[1][KeyDate].constData(), first.entries[0][KeyDate].constData());
        QCOMPARE(second.entries[1][Kekka].constData(), first.entries[0][Kekka].constData());
        QVERIFY(first.entries[1][Msg].constData() != first.entries[0][Msg].constData());
    }

    // An entry's own texts are read into one block; each must still be a string apart.
    void ownTextsStayApartWhenChanged()
    {
        EntryRecord e = makeEntry("2026/07/01", "123");
        e[Site] = QStringLiteral("サイト");
        e[URL] = QStringLiteral("https://example.jp/a");
        e[Present] = QStringLiteral("賞品");
        e[Msg] = QStringLiteral("メモ");
        const MonthText read = parseMonthText(formatMonthText({e}, QString()).plain, QString());
        QCOMPARE(read.entries, QList<EntryRecord>{e});
        EntryRecord changed = read.entries.first();
        for (int f : {ID, Site, URL, Present, Msg})
            QCOMPARE(changed[f].utf16()[changed[f].size()], u'\0');
        changed[Site].append(QStringLiteral("追加"));
        changed[URL][0] = u'H';
        changed[Present].clear();
        QCOMPARE(changed[ID], e[ID]);
        QCOMPARE(changed[Msg], e[Msg]);
        QCOMPARE(changed[Site], QStringLiteral("サイト追加"));
        QCOMPARE(changed[URL], QStringLiteral("Https://example.jp/a"));
        QCOMPARE(read.entries.first(), e); // the entry read is untouched
    }

    // Both readers refuse a file larger than any month by its size, as damaged, and call a
    // file that cannot be opened unreadable, not damaged. A month of 10 000 entries stays far
    // below the size.
    void filesTheReadersRefuse_data()
    {
        QTest::addColumn<bool>("large");
        QTest::addColumn<MonthRead::Status>("status");
        QTest::newRow("larger than any month") << true << MonthRead::Status::Damaged;
        QTest::newRow("cannot be opened") << false << MonthRead::Status::Unreadable;
    }
    void filesTheReadersRefuse()
    {
        QFETCH(bool, large);
        QFETCH(MonthRead::Status, status);
        TempProgramFolder folder;
        const QString path = folder.paths().monthFilePath("2026", "07");
        const QByteArray line = formatMonthText({makeEntry("2026/07/01", "1")}, QString()).plain;
        // Whole sound records, which a reader without the size check would load.
        const int lines = large ? int(kMonthFileSizeMax / line.size()) + 1 : 1;
        QVERIFY(writeMonthFile(path, line.repeated(lines)).isEmpty());
        if (!large)
            filefaults::refuseReads(path);
        QCOMPARE(readMonthFile(path, QString()).status, status);
        QCOMPARE(readMonthFields(path, QString()).status, status);
        filefaults::refuseReads(QString());
        if (!large)
            return;
        QList<EntryRecord> month;
        for (int i = 0; i < 10000; ++i)
            month.append(generatedEntry(DiaryShape(), 2026, 7, i));
        QVERIFY(formatMonthText(month, QString()).plain.size() * 4 < kMonthFileSizeMax);
    }

    void fileAtRestIsScrambled()
    {
        TempProgramFolder folder;
        folder.writeMonth("2026", "07", {makeEntry("2026/07/01", "1")});
        QFile file(folder.paths().monthFilePath("2026", "07"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray stored = file.readAll();
        QCOMPARE(scrambleBytes(stored), folder.plainFile("data/2026/07.log"));
        QVERIFY(!stored.contains("2026/07/01"));
    }
};

QTEST_GUILESS_MAIN(TestMonthFile)
#include "tst_monthfile.moc"

#include "core/Cp932.h"
#include "forms/EntryTableModel.h"
#include "support/MainWindowHarness.h"

#include <QFile>
#include <QProgressBar>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray cp932Bytes(const QString& text)
{
    QByteArray bytes;
    if (!cp932::encode(text, bytes))
        qFatal("test text not in code page 932");
    return bytes;
}

} // namespace

class TestExportWindow : public QObject
{
    Q_OBJECT

private slots:
    void saveWritesTheMonthOnShowAndSaysSo()
    {
        MainWindowHarness h(QDate(2026, 12, 7),
                            "[Setting]\r\nFormatKey=0\r\nAutoSumOutput=1\r\nDeleteKakunin=0\r\n");
        h.folder.writeMonth("2026", "12",
                            {makeEntry("2026/12/20", "11", "米", "小物当選", "500"),
                             makeEntry("2026/12/24", "22", "茶"), makeEntry("2026/12/25", "33")});
        h.start();
        // A delete takes the month through the road that writes the year summary too.
        h.clickRow("lvwMonth", 2);
        h.button("cmdDelete")->click();
        QVERIFY(h.button("cmdSave")->isVisibleTo(h.window.get()));
        QVERIFY(h.button("cmdPrint")->isVisibleTo(h.window.get()));
        const QString path = h.folder.paths().programFolder() + QStringLiteral("/一覧.csv");
        h.dialogs.queueFileName(path);
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.button("cmdSave")->click();

        QCOMPARE(h.dialogs.fileDialogs.size(), 1);
        QCOMPARE(h.dialogs.fileDialogs[0].filter,
                 QStringLiteral("*.csv (*.csv);;*.htm (*.htm);;*.html (*.html)"));
        QCOMPARE(h.dialogs.shown.size(), 1);
        QCOMPARE(h.dialogs.shown[0].box.text, QStringLiteral("保存しました"));
        QCOMPARE(h.dialogs.shown[0].box.caption, QStringLiteral("完了"));
        QCOMPARE(h.child<QProgressBar>("prgShinko")->value(), 2);
        const QString expected =
            QStringLiteral(
                "\"締切日\",\"ＩＤ番号\",\"応募先\",\"ジャンル\",\"賞品名\",\"結果\",\"当選額\","
                "\"当選数\",\"応募日\","
                "\"当選日\",\"応募形式\",\"選考方法\",\"サイクル\",\"応募方法\",\"コメント\"\r\n"
                "\"2026/12/"
                "20\",\"11\",\"応募先\",\"食品・飲料\",\"米\",\"小物当選\",\"500\",\"10名様\","
                "\"2026/12/20\","
                "\"----/--/--\",\"アンケート\",\"抽選\",\"不定期\",\"ネット応募\",\"\"\r\n"
                "\"2026/12/"
                "24\",\"22\",\"応募先\",\"食品・飲料\",\"茶\",\"不明\",\"0\",\"10名様\",\"2026/12/"
                "24\","
                "\"----/--/--\",\"アンケート\",\"抽選\",\"不定期\",\"ネット応募\",\"\"\r\n"
                "\r\n"
                "\"当選総数（件）\",\"応募総数（件）\",\"当選率（％）\"\r\n"
                "\"%1\",\"%2\",\"%3\"\r\n"
                "\"当選総額（円）\",\"支出総額（円）\",\"収支総額（円）\"\r\n"
                "\"%4\",\"%5\",\"%6\"\r\n")
                .arg(h.panel("txtHappyCount"), h.panel("txtTotalCount"), h.panel("txtPercent"),
                     h.panel("txtHappyMoney"), h.panel("txtUnhappyMoney"),
                     h.panel("txtTotalMoney"));
        QCOMPARE(h.panel("txtTotalCount"), QStringLiteral("2"));
        QCOMPARE(readAll(path), cp932Bytes(expected));

        // The year tab goes out as HTML when the name does not end in ".csv".
        h.selectTab("T_Year");
        const QString html = h.folder.paths().programFolder() + QStringLiteral("/year.CSV");
        h.dialogs.queueFileName(html);
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.button("cmdSave")->click();
        QCOMPARE(h.dialogs.shown.last().box.text, QStringLiteral("保存しました"));
        const QByteArray written = readAll(html);
        QVERIFY(written.startsWith("<TABLE BORDER= \"1\" >\r\n<COL SPAN= \"1\" ALIGN=\"left\"><COL "
                                   "SPAN=\"9\" ALIGN=\"right\">\r\n"));
        QCOMPARE(written.count("<TR><TD>"), 12);
        QVERIFY(written.endsWith("</TABLE>\r\n"));
        QVERIFY(h.dialogs.allAnswersUsed());
        QVERIFY(h.dialogs.unexpected.isEmpty());
    }

    void cancelWritesNothingAndFailureIsReportedNotCompleted()
    {
        MainWindowHarness h(QDate(2026, 12, 7));
        h.folder.writeMonth("2026", "12", {makeEntry("2026/12/20", "11")});
        h.start();
        h.dialogs.queueFileName(QString());
        h.button("cmdSave")->click();
        QVERIFY(h.dialogs.shown.isEmpty());
        QVERIFY(!h.button("cmdHensyu")->isEnabled());

        // A folder that cannot be made (a file stands in its place) fails even for root.
        const QString blocker = h.folder.paths().programFolder() + QStringLiteral("/blocker");
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        h.dialogs.queueFileName(blocker + QStringLiteral("/out.htm"));
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.button("cmdSave")->click();
        QCOMPARE(h.dialogs.shown.size(), 1);
        QVERIFY(h.dialogs.shown[0].box.text.startsWith(QStringLiteral("エラー番号 = 75\r")));
        QCOMPARE(h.dialogs.shown[0].box.caption, QStringLiteral("zumicho"));
        QCOMPARE(h.dialogs.shown[0].box.icon, MessageIcon::Exclamation);
        QCOMPARE(h.child<QProgressBar>("prgShinko")->value(), 0);
    }

    void textOutsideCodePage932IsRefusedWithoutAFile()
    {
        MainWindowHarness h(QDate(2026, 12, 7));
        EntryRecord entry = makeEntry("2026/12/20", "11");
        h.folder.writeMonth("2026", "12", {entry});
        h.start();
        entry[Msg] = QStringLiteral("é");
        h.window->monthModel()->replace(0, entry);
        const QString path = h.folder.paths().programFolder() + QStringLiteral("/list.csv");
        h.dialogs.queueFileName(path);
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.button("cmdSave")->click();
        QCOMPARE(h.dialogs.shown.size(), 1);
        QVERIFY(h.dialogs.shown[0].box.text.contains(QStringLiteral("「é」")));
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_MAIN(TestExportWindow)
#include "tst_exportwindow.moc"

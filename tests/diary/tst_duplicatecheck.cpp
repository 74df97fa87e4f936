#include "diary/DuplicateCheck.h"
#include "support/ScriptedDialogs.h"
#include "support/TempProgramFolder.h"

#include <QTest>

namespace {

EntryRecord sample()
{
    EntryRecord e =
        makeEntry(QStringLiteral("2026/12/20"), QStringLiteral("12345"), QStringLiteral("商品券"));
    e[OtherDate] = QStringLiteral("2026/12/07");
    e[Msg] = QStringLiteral("メモ");
    return e;
}

} // namespace

class TestDuplicateCheck : public QObject
{
    Q_OBJECT

private slots:
    void textIsExact()
    {
        const QString expected =
            QStringLiteral("ＩＤ番号 ＝ 12345\r\n締切日 ＝ 2026/12/20\r\n応募先 ＝ "
                           "応募先\r\nＵＲＬ ＝ http://www.example.jp/\r\n"
                           "ジャンル ＝ 食品・飲料\r\n賞品名 ＝ 商品券\r\n当選数 ＝ "
                           "10名様\r\n応募形式 ＝ アンケート\r\n"
                           "選考方法 ＝ 抽選\r\nサイクル ＝ 不定期\r\n応募方法 ＝ ネット応募");
        QCOMPARE(DuplicateCheckText(sample(), true), expected);
        // With the entry date as key the deadline is the other date.
        QVERIFY(DuplicateCheckText(sample(), false)
                    .contains(QStringLiteral("締切日 ＝ 2026/12/07\r\n")));
    }

    void question()
    {
        const MessageBoxSpec box = duplicateQuestion(QStringLiteral("X"));
        QCOMPARE(box.text, QStringLiteral("以下の内容は登録済みですが登録しますか？\r\n\r\nX"));
        QCOMPARE(box.caption, QStringLiteral("懸賞情報重複の確認"));
        QCOMPARE(box.icon, MessageIcon::Question);
        QCOMPARE(box.buttons, MessageButtons::YesNo);
        QCOMPARE(box.defaultButton, MessageAnswer::Yes);
    }

    void entryForm_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("asks");
        QTest::newRow("identical") << int(Msg) << "メモ" << true;
        QTest::newRow("other comment") << int(Msg) << "別のメモ" << true;
        QTest::newRow("other result") << int(Kekka) << "小物当選" << true;
        QTest::newRow("other entry date") << int(OtherDate) << "2026/12/01" << true;
        QTest::newRow("other URL") << int(URL) << "http://www.example.jp/b" << false;
        QTest::newRow("other winners") << int(Number) << "全員" << false;
        QTest::newRow("width differs") << int(Site) << "応募先 " << false;
    }
    void entryForm()
    {
        QFETCH(int, field);
        QFETCH(QString, value);
        QFETCH(bool, asks);
        const QList<EntryRecord> month = {
            makeEntry(QStringLiteral("2026/12/01"), QStringLiteral("1")), sample()};
        EntryRecord candidate = sample();
        candidate[field] = value;
        Settings settings;
        settings.keyIsEndDay = true;
        ScriptedDialogs dialogs;
        if (asks)
            dialogs.queueAnswer(MessageAnswer::No);
        QCOMPARE(mayRegisterEntry(month, candidate, settings, dialogs), !asks);
        QCOMPARE(dialogs.shown.size(), asks ? 1 : 0);
        if (asks) {
            // The box describes the registered row.
            QVERIFY(dialogs.shown.at(0).box.text.endsWith(DuplicateCheckText(sample(), true)));
            dialogs.queueAnswer(MessageAnswer::Yes);
            QVERIFY(mayRegisterEntry(month, candidate, settings, dialogs));
        }
        settings.noTyohuku = false;
        QVERIFY(mayRegisterEntry(month, candidate, settings, dialogs));
        QVERIFY(dialogs.allAnswersUsed());
    }

    void manualEntryTwice()
    {
        EntryRecord manual = sample();
        manual[ID] = QStringLiteral("0");
        ScriptedDialogs dialogs;
        QVERIFY(mayRegisterEntry({}, manual, Settings(), dialogs));
        dialogs.queueAnswer(MessageAnswer::No);
        QVERIFY(!mayRegisterEntry({manual}, manual, Settings(), dialogs));
    }
};

QTEST_GUILESS_MAIN(TestDuplicateCheck)
#include "tst_duplicatecheck.moc"

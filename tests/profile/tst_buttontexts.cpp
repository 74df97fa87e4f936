#include "profile/ButtonTexts.h"
#include "profile/KanaWidth.h"

#include <QTest>

Q_DECLARE_METATYPE(FieldRow)
Q_DECLARE_METATYPE(ProfileKey)

namespace {

using K = ProfileKey;

UserProfile fullProfile()
{
    UserProfile p;
    p[K::UserName1] = QStringLiteral("山田");
    p[K::UserName2] = QStringLiteral("花子");
    p[K::UserNameKana1] = QStringLiteral("やまだ");
    p[K::UserNameKana2] = QStringLiteral("はなこ");
    p[K::UserMail] = QStringLiteral("hanako@example.jp");
    p[K::UserZip1] = QStringLiteral("123");
    p[K::UserZip2] = QStringLiteral("4567");
    p[K::UserAddress1] = QStringLiteral("東京都");
    p[K::UserAddress2] = QStringLiteral("千代田区");
    p[K::UserAddress3] = QStringLiteral("1-1");
    p[K::UserAddressKana1] = QStringLiteral("とうきょうと");
    p[K::UserAddressKana2] = QStringLiteral("ちよだく");
    p[K::UserAddressKana3] = QStringLiteral("１－１");
    p[K::UserTel11] = QStringLiteral("03");
    p[K::UserTel13] = QStringLiteral("1234");
    p[K::UserTel21] = QStringLiteral("090");
    p[K::UserTel22] = QStringLiteral("1111");
    p[K::UserTel23] = QStringLiteral("2222");
    p[K::UserBirthday] = QStringLiteral("1970/01/01");
    p[K::UserSex] = QStringLiteral("女性");
    p[K::UserJob] = QStringLiteral("会社員");
    return p;
}

} // namespace

class TestFieldTexts : public QObject
{
    Q_OBJECT

private slots:
    void texts_data()
    {
        QTest::addColumn<FieldRow>("row");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("katakana");
        QTest::addColumn<QString>("text");
        const auto R = [](FieldRow row, int index, bool katakana, const char16_t* text) {
            return std::tuple(row, index, katakana, QString::fromUtf16(text));
        };
        const std::tuple<FieldRow, int, bool, QString> rows[] = {
            R(FieldRow::UserName, 0, false, u"山田　花子"),
            R(FieldRow::UserName, 2, false, u"花子"),
            R(FieldRow::UserNameKana, 0, true, u"ヤマダ　ハナコ"),
            R(FieldRow::UserNameKana, 1, true, u"ヤマダ"),
            R(FieldRow::UserNameKana, 0, false, u"やまだ　はなこ"),
            R(FieldRow::UserMail, 0, false, u"hanako@example.jp"),
            R(FieldRow::UserMail, 1, false, u"hanako"),
            R(FieldRow::UserMail, 2, false, u"example.jp"),
            R(FieldRow::UserZip, 0, false, u"123-4567"),
            R(FieldRow::UserAddress, 0, false, u"東京都千代田区1-1"),
            R(FieldRow::UserAddress, 3, false, u"1-1"),
            R(FieldRow::UserAddressKana, 0, true, u"トウキョウトチヨダク１－１"),
            R(FieldRow::UserAddressKana, 2, true, u"チヨダク"),
            R(FieldRow::UserTel1, 0, false, u"03--1234"),
            R(FieldRow::UserTel2, 0, false, u"090-1111-2222"),
            R(FieldRow::UserTel2, 3, false, u"2222"),
            R(FieldRow::UserBirthday, 0, false, u"1970/01/01"),
            R(FieldRow::UserBirthday, 1, false, u"1970"),
            R(FieldRow::UserBirthday, 2, false, u"01"),
            R(FieldRow::UserBirthday, 3, false, u"01"),
            R(FieldRow::UserSex, 0, false, u"女性"),
            R(FieldRow::UserJob, 0, false, u"会社員"),
        };
        for (const auto& [row, index, katakana, text] : rows)
            QTest::addRow("%s(%d)%s", qPrintable(fieldControlName(row)), index,
                          katakana ? " katakana" : "")
                << row << index << katakana << text;
    }

    void texts()
    {
        QFETCH(FieldRow, row);
        QFETCH(int, index);
        QFETCH(bool, katakana);
        QFETCH(QString, text);
        QCOMPARE(fieldText(fullProfile(), row, index, katakana, QDate(2026, 12, 7)), text);
    }

    void joinedTextsWithMissingParts_data()
    {
        QTest::addColumn<ProfileKey>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<FieldRow>("row");
        QTest::addColumn<QString>("text");
        QTest::newRow("address part 4 after an ideographic space")
            << K::UserAddress4 << QStringLiteral("ビル5F") << FieldRow::UserAddress
            << QStringLiteral("東京都千代田区1-1　ビル5F");
        QTest::newRow("kana address part 4 inside the conversion")
            << K::UserAddressKana4 << QStringLiteral("びる") << FieldRow::UserAddressKana
            << QStringLiteral("トウキョウトチヨダク１－１　ビル");
        QTest::newRow("empty given name keeps the space")
            << K::UserName2 << QString() << FieldRow::UserName << QStringLiteral("山田　");
        QTest::newRow("second @ ends the domain part") << K::UserMail << QStringLiteral("a@b@c.jp")
                                                       << FieldRow::UserMail << QStringLiteral("b");
    }

    void joinedTextsWithMissingParts()
    {
        QFETCH(ProfileKey, key);
        QFETCH(QString, value);
        QFETCH(FieldRow, row);
        QFETCH(QString, text);
        UserProfile p = fullProfile();
        p[key] = value;
        const int index = key == K::UserMail ? 2 : 0;
        QCOMPARE(fieldText(p, row, index, true, QDate(2026, 12, 7)), text);
    }

    void addressPart4Alone()
    {
        UserProfile p;
        p[K::UserAddress4] = QStringLiteral("ビル5F");
        p[K::UserAddressKana4] = QStringLiteral("びる");
        QCOMPARE(fieldText(p, FieldRow::UserAddress, 0, false, {}), QStringLiteral("　ビル5F"));
        // Only part 4 set: no leading space in the kana row.
        QCOMPARE(fieldText(p, FieldRow::UserAddressKana, 0, true, {}), QStringLiteral("ビル"));
    }

    void age_data()
    {
        QTest::addColumn<QDate>("birthday");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("text");
        QTest::newRow("day before the birthday")
            << QDate(1971, 1, 1) << QDate(1990, 12, 31) << QStringLiteral("19歳");
        QTest::newRow("on the birthday")
            << QDate(1971, 1, 1) << QDate(1991, 1, 1) << QStringLiteral("20歳");
        QTest::newRow("same month, earlier day")
            << QDate(1980, 6, 15) << QDate(2026, 6, 14) << QStringLiteral("45歳");
        QTest::newRow("leap day on 28 Feb")
            << QDate(2000, 2, 29) << QDate(2026, 2, 28) << QStringLiteral("25歳");
    }

    void age()
    {
        QFETCH(QDate, birthday);
        QFETCH(QDate, today);
        QFETCH(QString, text);
        UserProfile p;
        p[K::UserBirthday] = birthday.toString(QStringLiteral("yyyy/MM/dd"));
        QCOMPARE(fieldText(p, FieldRow::UserAge, 0, false, today), text);
    }

    void enableRules()
    {
        UserProfile p;
        p[K::UserName1] = QStringLiteral("山田");
        p[K::UserTel11] = QStringLiteral("03");
        p[K::UserMail] = QStringLiteral("nobody");
        QVERIFY(!fieldEnabled(p, FieldRow::UserName, 0));
        QVERIFY(fieldEnabled(p, FieldRow::UserName, 1));
        QVERIFY(!fieldEnabled(p, FieldRow::UserName, 2));
        QVERIFY(fieldEnabled(p, FieldRow::UserTel1, 0));
        QVERIFY(!fieldEnabled(p, FieldRow::UserTel1, 2));
        QVERIFY(!fieldEnabled(p, FieldRow::UserTel2, 0));
        QVERIFY(fieldEnabled(p, FieldRow::UserMail, 1));
        QVERIFY(!fieldEnabled(p, FieldRow::UserMail, 2)); // no "@"
        QVERIFY(!fieldEnabled(p, FieldRow::UserZip, 0));
        QVERIFY(!fieldEnabled(p, FieldRow::UserAge, 0));
        QVERIFY(!fieldEnabled(p, FieldRow::UserSex, 0));
        p[K::UserBirthday] = QStringLiteral("1970/01/01");
        p[K::UserZip2] = QStringLiteral("4567");
        for (int i = 0; i <= 3; ++i)
            QVERIFY(fieldEnabled(p, FieldRow::UserBirthday, i));
        QVERIFY(fieldEnabled(p, FieldRow::UserAge, 0));
        QVERIFY(fieldEnabled(p, FieldRow::UserZip, 0));
        QVERIFY(!fieldEnabled(p, FieldRow::UserZip, 1));
    }

    void kanaConversions()
    {
        QCOMPARE(kana::toKatakana(QStringLiteral("ゔぁゕゖー漢字1")),
                 QStringLiteral("ヴァヵヶー漢字1"));
        QCOMPARE(kana::toFullWidth(QStringLiteral("よつや1-2 ｰｶﾞ")),
                 QStringLiteral("よつや１－２　ーガ"));
        QCOMPARE(kana::toHalfWidth(QStringLiteral("１２")), QStringLiteral("12"));
        QVERIFY(kana::isAvailable());
        QVERIFY(kana::isHiraganaLetter(QChar(0x3041)) && kana::isHiraganaLetter(QChar(0x3096)));
        QVERIFY(!kana::isHiraganaLetter(QChar(0x3097)) && !kana::isHiraganaLetter(u'ア'));
    }
};

QTEST_GUILESS_MAIN(TestFieldTexts)
#include "tst_buttontexts.moc"

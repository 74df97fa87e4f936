#include "profile/ProfileValidation.h"

#include <QTest>

Q_DECLARE_METATYPE(ProfileKey)

namespace {

using K = ProfileKey;

const QString kBadMailShape = QStringLiteral("入力されたメールアドレスは正しくありません｡ ");
const QString kWideMail = QStringLiteral("入力されたメールアドレスに全角文字が含まれています。");
const QString kForbiddenMail =
    QStringLiteral("メールアドレスに不正な文字が含まれています。\r\n\r\n不正な文字　　　"
                   "! \" # $ % & ' ( ) * + , / : ; < = > ? [ \\ ] ^ ` { | }  ");

QString kanaMessage(const char16_t* field, const char16_t* part)
{
    return QStringLiteral("「%1」の「%2」の項目に、'ふりがな' 以外の文字が入力されています。")
        .arg(QString::fromUtf16(field), QString::fromUtf16(part));
}

QString addressMessage(const char16_t* part)
{
    return QStringLiteral("「住所(かな)」の「%1」の項目に、'ふりがな' と '数字' "
                          "以外の文字が入力されています。")
        .arg(QString::fromUtf16(part));
}

} // namespace

class TestProfileValidation : public QObject
{
    Q_OBJECT

private slots:
    void refusals_data()
    {
        QTest::addColumn<ProfileKey>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, K key, const QString& value, const QString& message) {
            QTest::newRow(name) << key << value << message;
        };
        row("two @", K::UserMail, QStringLiteral("a@b@c.jp"), kBadMailShape);
        row("no dot after @", K::UserMail, QStringLiteral("a.b@example"), kBadMailShape);
        row("nothing before @", K::UserMail, QStringLiteral("@example.jp"), kBadMailShape);
        row("nothing after the dot", K::UserMail, QStringLiteral("a@example."), kBadMailShape);
        row("full-width letter", K::UserMail, QStringLiteral("ａ@example.jp"), kWideMail);
        row("half of a surrogate pair", K::UserMail, QStringLiteral("a@example.jp") + QChar(0xD83D),
            kWideMail);
        row("comma", K::UserMail, QStringLiteral("a,b@example.jp"), kForbiddenMail);
        row("space", K::UserMail, QStringLiteral("a b@example.jp"), kForbiddenMail);
        row("grave accent", K::UserMail, QStringLiteral("a`b@example.jp"), kForbiddenMail);
        row("half-width space in family name", K::UserName1, QStringLiteral("山 田"),
            QStringLiteral("「お名前(漢字)」の「姓」の項目に半角文字が含まれています。"));
        row("half-width katakana in family name", K::UserName1, QStringLiteral("ﾔﾏﾀﾞ"),
            QStringLiteral("「お名前(漢字)」の「姓」の項目に半角文字が含まれています。"));
        row("ideographic space in family name", K::UserName1, QStringLiteral("山　田"),
            QStringLiteral("「お名前(漢字)」の「姓」の項目に全角スペースが含まれています。"));
        row("ascii in given name", K::UserName2, QStringLiteral("Hanako"),
            QStringLiteral("「お名前(漢字)」の「名」の項目に半角文字が含まれています。"));
        row("ideographic space in given name", K::UserName2, QStringLiteral("花　子"),
            QStringLiteral("「お名前(漢字)」の「名」の項目に全角スペースが含まれています。"));
        row("katakana in kana family name", K::UserNameKana1, QStringLiteral("ヤマダ"),
            kanaMessage(u"お名前(かな)", u"姓"));
        row("kanji in kana family name", K::UserNameKana1, QStringLiteral("山だ"),
            kanaMessage(u"お名前(かな)", u"姓"));
        row("digit in kana given name", K::UserNameKana2, QStringLiteral("はなこ2"),
            kanaMessage(u"お名前(かな)", u"名"));
        row("space in kana given name", K::UserNameKana2, QStringLiteral("はな　こ"),
            kanaMessage(u"お名前(かな)", u"名"));
        row("digits in kana prefecture", K::UserAddressKana1, QStringLiteral("よつや1-2"),
            kanaMessage(u"住所(かな)", u"都道府県"));
        row("katakana in kana city", K::UserAddressKana2, QStringLiteral("チヨダ"),
            addressMessage(u"市区町村"));
        row("letter in kana block", K::UserAddressKana3, QStringLiteral("1ばんa"),
            addressMessage(u"番地"));
        row("kanji in kana building", K::UserAddressKana4, QStringLiteral("びる館"),
            addressMessage(u"建物"));
    }

    void refusals()
    {
        QFETCH(ProfileKey, key);
        QFETCH(QString, value);
        QFETCH(QString, message);
        UserProfile p;
        p[key] = value;
        const ProfileCheck check = validateProfile(p);
        QVERIFY(!check.ok);
        QCOMPARE(check.message, message);
        QCOMPARE(check.box, key);
        QCOMPARE(check.rewritten[key], value); // a refused box keeps what was typed
    }

    void acceptedAndRewritten_data()
    {
        QTest::addColumn<ProfileKey>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty profile") << K::UserMail << QString() << QString();
        QTest::newRow("plain mail") << K::UserMail << QStringLiteral("a.b-c_d@mail.example.jp")
                                    << QStringLiteral("a.b-c_d@mail.example.jp");
        QTest::newRow("half-width long vowel")
            << K::UserNameKana1 << QStringLiteral("ぱーてぃｰ") << QStringLiteral("ぱーてぃー");
        QTest::newRow("digits in kana city")
            << K::UserAddressKana2 << QStringLiteral("よつや1-2") << QStringLiteral("よつや１－２");
        QTest::newRow("full-width digits and spaces")
            << K::UserAddressKana4 << QStringLiteral("びる ３０１")
            << QStringLiteral("びる　３０１");
        QTest::newRow("kanji address is not checked")
            << K::UserAddress3 << QStringLiteral("1-1 A") << QStringLiteral("1-1 A");
    }

    void acceptedAndRewritten()
    {
        QFETCH(ProfileKey, key);
        QFETCH(QString, value);
        QFETCH(QString, stored);
        UserProfile p;
        p[key] = value;
        const ProfileCheck check = validateProfile(p);
        QVERIFY2(check.ok, qPrintable(check.message));
        QCOMPARE(check.rewritten[key], stored);
    }

    void checksRunInOrder()
    {
        UserProfile p;
        p[K::UserNameKana1] = QStringLiteral("やまだｰ");
        p[K::UserNameKana2] = QStringLiteral("ハナコ");
        p[K::UserAddressKana2] = QStringLiteral("ABC");
        const ProfileCheck check = validateProfile(p);
        QCOMPARE(check.box, K::UserNameKana2);
        // The family name passed before the given name failed, and is rewritten already.
        QCOMPARE(check.rewritten[K::UserNameKana1], QStringLiteral("やまだー"));

        p[K::UserMail] = QStringLiteral("bad");
        QCOMPARE(validateProfile(p).box, K::UserMail);
    }

    void unstorableText()
    {
        UserProfile p;
        p[K::UserAddress2] = QStringLiteral("葛飾区");
        QVERIFY(checkStorable(p).ok);
        p[K::UserJob] = QStringLiteral("🍣職人");
        const ProfileCheck check = checkStorable(p);
        QVERIFY(!check.ok);
        QCOMPARE(check.box, K::UserJob);
        QVERIFY(check.message.startsWith(QStringLiteral("「職業」の項目に保存できない文字")));
    }
};

QTEST_GUILESS_MAIN(TestProfileValidation)
#include "tst_profilevalidation.moc"

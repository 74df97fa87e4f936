#include "profile/ProfileValidation.h"

#include "core/Cp932.h"
#include "profile/KanaWidth.h"

namespace {

using K = ProfileKey;

ProfileCheck fail(ProfileCheck check, K box, const QString& message)
{
    check.ok = false;
    check.box = box;
    check.message = message;
    return check;
}

bool mailShapeIsValid(const QString& mail)
{
    // One "@", something before it, and after it something, a ".", something. Not with a
    // regular expression: it fails on an unpaired surrogate, which is told as a wide character.
    const qsizetype at = mail.indexOf(u'@');
    if (at < 1 || mail.count(u'@') != 1)
        return false;
    const qsizetype dot = mail.indexOf(u'.', at + 2);
    return dot >= 0 && dot < mail.size() - 1;
}

bool isKanaNameCharacter(QChar c)
{
    return kana::isHiraganaLetter(c) || c == u'ー' || c == u'ｰ';
}

bool isKanaAddressCharacter(QChar c)
{
    if (kana::isHiraganaLetter(c) || c == u'ー' || c == u'－' || c == u'-' || c == u'　' ||
        c == u' ' || (c >= u'0' && c <= u'9'))
        return true;
    const QString half = kana::toHalfWidth(QString(c));
    return half.size() == 1 && half[0] >= u'0' && half[0] <= u'9';
}

template <typename Pred> bool allOf(const QString& text, Pred pred)
{
    for (QChar c : text) {
        if (!pred(c))
            return false;
    }
    return true;
}

QString kanaMessage(const QString& field, const QString& part)
{
    return QStringLiteral("「%1」の「%2」の項目に、'ふりがな' 以外の文字が入力されています。")
        .arg(field, part);
}

QString boxTitle(K key)
{
    switch (key) {
    case K::UserName1:
        return QStringLiteral("お名前(漢字)」の「姓");
    case K::UserName2:
        return QStringLiteral("お名前(漢字)」の「名");
    case K::UserNameKana1:
        return QStringLiteral("お名前(かな)」の「姓");
    case K::UserNameKana2:
        return QStringLiteral("お名前(かな)」の「名");
    case K::UserMail:
        return QStringLiteral("メールアドレス");
    case K::UserZip1:
    case K::UserZip2:
        return QStringLiteral("郵便番号");
    case K::UserAddress1:
        return QStringLiteral("住所(漢字)」の「都道府県");
    case K::UserAddress2:
        return QStringLiteral("住所(漢字)」の「市区町村");
    case K::UserAddress3:
        return QStringLiteral("住所(漢字)」の「番地");
    case K::UserAddress4:
        return QStringLiteral("住所(漢字)」の「建物");
    case K::UserAddressKana1:
        return QStringLiteral("住所(かな)」の「都道府県");
    case K::UserAddressKana2:
        return QStringLiteral("住所(かな)」の「市区町村");
    case K::UserAddressKana3:
        return QStringLiteral("住所(かな)」の「番地");
    case K::UserAddressKana4:
        return QStringLiteral("住所(かな)」の「建物");
    case K::UserTel11:
    case K::UserTel12:
    case K::UserTel13:
        return QStringLiteral("電話番号1");
    case K::UserTel21:
    case K::UserTel22:
    case K::UserTel23:
        return QStringLiteral("電話番号2");
    case K::UserJob:
        return QStringLiteral("職業");
    case K::UserBirthday:
        return QStringLiteral("生年月日");
    case K::UserSex:
        return QStringLiteral("性別");
    }
    return QString();
}

} // namespace

QString forbiddenMailCharacters()
{
    return QStringLiteral("! \" # $ % & ' ( ) * + , / : ; < = > ? [ \\ ] ^ ` { | }  ");
}

ProfileCheck validateProfile(const UserProfile& input)
{
    ProfileCheck check;
    check.rewritten = input;
    UserProfile& p = check.rewritten;

    const QString& mail = p[K::UserMail];
    if (!mail.isEmpty()) {
        if (!mailShapeIsValid(mail))
            return fail(check, K::UserMail,
                        QStringLiteral("入力されたメールアドレスは正しくありません｡ "));
        if (!allOf(mail, [](QChar c) { return c.unicode() <= 0xFF; }))
            return fail(check, K::UserMail,
                        QStringLiteral("入力されたメールアドレスに全角文字が含まれています。"));
        const QString forbidden = forbiddenMailCharacters();
        for (qsizetype i = 0; i < forbidden.size(); i += 2) {
            if (mail.contains(forbidden[i]))
                return fail(
                    check, K::UserMail,
                    QStringLiteral(
                        "メールアドレスに不正な文字が含まれています。\r\n\r\n不正な文字　　　") +
                        forbidden);
        }
    }

    const struct
    {
        K key;
        const char16_t* part;
    } names[] = {{K::UserName1, u"姓"}, {K::UserName2, u"名"}};
    for (const auto& name : names) {
        const QString& text = p[name.key];
        const QString part = QString::fromUtf16(name.part);
        if (kana::toFullWidth(text) != text)
            return fail(check, name.key,
                        QStringLiteral("「お名前(漢字)」の「%1」の項目に半角文字が含まれています。")
                            .arg(part));
        if (text.contains(u'　'))
            return fail(
                check, name.key,
                QStringLiteral("「お名前(漢字)」の「%1」の項目に全角スペースが含まれています。")
                    .arg(part));
    }

    const struct
    {
        K key;
        const char16_t* field;
        const char16_t* part;
    } kanaBoxes[] = {
        {K::UserNameKana1, u"お名前(かな)", u"姓"},
        {K::UserNameKana2, u"お名前(かな)", u"名"},
        {K::UserAddressKana1, u"住所(かな)", u"都道府県"},
    };
    for (const auto& box : kanaBoxes) {
        QString& text = p[box.key];
        if (!allOf(text, isKanaNameCharacter))
            return fail(check, box.key,
                        kanaMessage(QString::fromUtf16(box.field), QString::fromUtf16(box.part)));
        text = kana::toFullWidth(text);
    }

    const struct
    {
        K key;
        const char16_t* part;
    } addressParts[] = {{K::UserAddressKana2, u"市区町村"},
                        {K::UserAddressKana3, u"番地"},
                        {K::UserAddressKana4, u"建物"}};
    for (const auto& box : addressParts) {
        QString& text = p[box.key];
        if (!allOf(text, isKanaAddressCharacter))
            return fail(check, box.key,
                        QStringLiteral("「住所(かな)」の「%1」の項目に、'ふりがな' と '数字' "
                                       "以外の文字が入力されています。")
                            .arg(QString::fromUtf16(box.part)));
        text = kana::toFullWidth(text);
    }
    return check;
}

ProfileCheck checkStorable(const UserProfile& input)
{
    // Tab order of the editor, so the first offending box is the one the user meets first.
    static const K order[] = {
        K::UserName1,        K::UserName2,        K::UserNameKana1,    K::UserNameKana2,
        K::UserMail,         K::UserZip1,         K::UserZip2,         K::UserAddress1,
        K::UserAddress2,     K::UserAddress3,     K::UserAddress4,     K::UserAddressKana1,
        K::UserAddressKana2, K::UserAddressKana3, K::UserAddressKana4, K::UserTel11,
        K::UserTel12,        K::UserTel13,        K::UserTel21,        K::UserTel22,
        K::UserTel23,        K::UserJob,
    };
    ProfileCheck check;
    check.rewritten = input;
    for (K key : order) {
        const QChar bad = cp932::firstUnencodable(input[key]);
        if (!bad.isNull())
            return fail(check, key,
                        QStringLiteral("「%1」の項目に保存できない文字「%2」が含まれています。")
                            .arg(boxTitle(key), QString(bad)));
    }
    return check;
}

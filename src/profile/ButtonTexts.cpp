#include "profile/ButtonTexts.h"

#include "profile/KanaWidth.h"

namespace {

using K = ProfileKey;

// The profile keys behind the part buttons of each row, in button order.
QList<K> partKeys(FieldRow row)
{
    switch (row) {
    case FieldRow::UserName:
        return {K::UserName1, K::UserName2};
    case FieldRow::UserNameKana:
        return {K::UserNameKana1, K::UserNameKana2};
    case FieldRow::UserZip:
        return {K::UserZip1, K::UserZip2};
    case FieldRow::UserAddress:
        return {K::UserAddress1, K::UserAddress2, K::UserAddress3, K::UserAddress4};
    case FieldRow::UserAddressKana:
        return {K::UserAddressKana1, K::UserAddressKana2, K::UserAddressKana3, K::UserAddressKana4};
    case FieldRow::UserTel1:
        return {K::UserTel11, K::UserTel12, K::UserTel13};
    case FieldRow::UserTel2:
        return {K::UserTel21, K::UserTel22, K::UserTel23};
    default:
        return {};
    }
}

const QString kIdeographicSpace = QStringLiteral("　");

} // namespace

int fieldPartCount(FieldRow row)
{
    switch (row) {
    case FieldRow::UserName:
    case FieldRow::UserNameKana:
    case FieldRow::UserMail:
    case FieldRow::UserZip:
        return 2;
    case FieldRow::UserAddress:
    case FieldRow::UserAddressKana:
        return 4;
    case FieldRow::UserTel1:
    case FieldRow::UserTel2:
    case FieldRow::UserBirthday:
        return 3;
    default:
        return 0;
    }
}

QString fieldCaption(FieldRow row)
{
    static const char16_t* const captions[kFieldRowCount] = {
        u"お名前(漢字)", u"お名前(ルビ)", u"メールアドレス", u"郵便番号",
        u"住所(漢字)",   u"住所(ルビ)",   u"電話番号1",      u"電話番号2",
        u"生年月日",     u"年齢",         u"性別",           u"職業",
    };
    return QString::fromUtf16(captions[static_cast<int>(row)]);
}

QString fieldControlName(FieldRow row)
{
    static const char* const names[kFieldRowCount] = {
        "cmdUserName",     "cmdUserNameKana",    "cmdUserMail", "cmdUserZip",
        "cmdUserAddress",  "cmdUserAddressKana", "cmdUserTel1", "cmdUserTel2",
        "cmdUserBirthday", "cmdUserAge",         "cmdUserSex",  "cmdUserJob",
    };
    return QString::fromLatin1(names[static_cast<int>(row)]);
}

int ageAt(const QDate& birthday, const QDate& today)
{
    if (!birthday.isValid() || !today.isValid())
        return -1;
    int age = today.year() - birthday.year();
    if (today.month() < birthday.month() ||
        (today.month() == birthday.month() && today.day() < birthday.day()))
        --age;
    return age;
}

QString fieldText(const UserProfile& p, FieldRow row, int index, bool katakana, const QDate& today)
{
    const auto K_ = [katakana](const QString& text) {
        return katakana ? kana::toKatakana(text) : text;
    };
    const QList<K> parts = partKeys(row);
    switch (row) {
    case FieldRow::UserName:
        return index == 0 ? p[K::UserName1] + kIdeographicSpace + p[K::UserName2]
                          : p[parts[index - 1]];
    case FieldRow::UserNameKana:
        return K_(index == 0 ? p[K::UserNameKana1] + kIdeographicSpace + p[K::UserNameKana2]
                             : p[parts[index - 1]]);
    case FieldRow::UserMail:
        return index == 0 ? p[K::UserMail] : index == 1 ? p.mail1() : p.mail2();
    case FieldRow::UserZip:
        return index == 0 ? p[K::UserZip1] + u'-' + p[K::UserZip2] : p[parts[index - 1]];
    case FieldRow::UserAddress: {
        if (index > 0)
            return p[parts[index - 1]];
        QString text = p[K::UserAddress1] + p[K::UserAddress2] + p[K::UserAddress3];
        if (!p[K::UserAddress4].isEmpty())
            text += kIdeographicSpace + p[K::UserAddress4];
        return text;
    }
    case FieldRow::UserAddressKana: {
        if (index > 0)
            return K_(p[parts[index - 1]]);
        const QString first =
            p[K::UserAddressKana1] + p[K::UserAddressKana2] + p[K::UserAddressKana3];
        if (first.isEmpty())
            return K_(p[K::UserAddressKana4]);
        return K_(p[K::UserAddressKana4].isEmpty()
                      ? first
                      : first + kIdeographicSpace + p[K::UserAddressKana4]);
    }
    case FieldRow::UserTel1:
    case FieldRow::UserTel2:
        return index == 0 ? p[parts[0]] + u'-' + p[parts[1]] + u'-' + p[parts[2]]
                          : p[parts[index - 1]];
    case FieldRow::UserBirthday:
        switch (index) {
        case 0:
            return p[K::UserBirthday];
        case 1:
            return p.birthYear();
        case 2:
            return p.birthMonth();
        default:
            return p.birthDay();
        }
    case FieldRow::UserAge: {
        const int age = ageAt(p.birthDate(), today);
        return age < 0 ? QString() : QString::number(age) + QStringLiteral("歳");
    }
    case FieldRow::UserSex:
        return p[K::UserSex];
    case FieldRow::UserJob:
        return p[K::UserJob];
    }
    return QString();
}

bool fieldEnabled(const UserProfile& p, FieldRow row, int index)
{
    const QList<K> parts = partKeys(row);
    const auto anySet = [&p, &parts] {
        for (K key : parts) {
            if (!p[key].isEmpty())
                return true;
        }
        return false;
    };
    switch (row) {
    case FieldRow::UserName:
    case FieldRow::UserNameKana:
        return index == 0 ? !p[parts[0]].isEmpty() && !p[parts[1]].isEmpty()
                          : !p[parts[index - 1]].isEmpty();
    case FieldRow::UserMail:
        return index == 0   ? !p[K::UserMail].isEmpty()
               : index == 1 ? !p.mail1().isEmpty()
                            : !p.mail2().isEmpty();
    case FieldRow::UserZip:
    case FieldRow::UserAddress:
    case FieldRow::UserAddressKana:
    case FieldRow::UserTel1:
    case FieldRow::UserTel2:
        return index == 0 ? anySet() : !p[parts[index - 1]].isEmpty();
    case FieldRow::UserBirthday:
    case FieldRow::UserAge:
        return !p[K::UserBirthday].isEmpty();
    case FieldRow::UserSex:
        return !p[K::UserSex].isEmpty();
    case FieldRow::UserJob:
        return !p[K::UserJob].isEmpty();
    }
    return false;
}

QList<std::pair<QString, QString>> formFillValues(const UserProfile& p, const QDate& today)
{
    const auto text = [&p, &today](FieldRow row, int index) {
        return fieldText(p, row, index, false, today);
    };
    const int age = ageAt(p.birthDate(), today);
    const QList<std::pair<QString, QString>> all = {
        {QStringLiteral("name"), text(FieldRow::UserName, 0)},
        {QStringLiteral("family"), p[K::UserName1]},
        {QStringLiteral("given"), p[K::UserName2]},
        {QStringLiteral("kana"), text(FieldRow::UserNameKana, 0)},
        {QStringLiteral("familyKana"), p[K::UserNameKana1]},
        {QStringLiteral("givenKana"), p[K::UserNameKana2]},
        {QStringLiteral("email"), p[K::UserMail]},
        {QStringLiteral("postal"), text(FieldRow::UserZip, 0)},
        {QStringLiteral("postal1"), p[K::UserZip1]},
        {QStringLiteral("postal2"), p[K::UserZip2]},
        {QStringLiteral("address"), text(FieldRow::UserAddress, 0)},
        {QStringLiteral("addressKana"), text(FieldRow::UserAddressKana, 0)},
        {QStringLiteral("pref"), p[K::UserAddress1]},
        {QStringLiteral("city"), p[K::UserAddress2]},
        {QStringLiteral("street"), p[K::UserAddress3]},
        {QStringLiteral("building"), p[K::UserAddress4]},
        {QStringLiteral("tel"), text(FieldRow::UserTel1, 0)},
        {QStringLiteral("tel1"), p[K::UserTel11]},
        {QStringLiteral("tel2"), p[K::UserTel12]},
        {QStringLiteral("tel3"), p[K::UserTel13]},
        {QStringLiteral("mobile"), text(FieldRow::UserTel2, 0)},
        {QStringLiteral("mobile1"), p[K::UserTel21]},
        {QStringLiteral("mobile2"), p[K::UserTel22]},
        {QStringLiteral("mobile3"), p[K::UserTel23]},
        {QStringLiteral("bday"), p[K::UserBirthday]},
        {QStringLiteral("bdayYear"), p.birthYear()},
        {QStringLiteral("bdayMonth"), p.birthMonth()},
        {QStringLiteral("bdayDay"), p.birthDay()},
        {QStringLiteral("age"), age < 0 ? QString() : QString::number(age)},
        {QStringLiteral("sex"), p[K::UserSex]},
        {QStringLiteral("job"), p[K::UserJob]},
    };
    QList<std::pair<QString, QString>> values;
    for (const auto& v : all) {
        // A part left empty would make "-" or "　" of a whole value.
        const QString stripped = QString(v.second).remove(u'-').remove(u'　');
        if (!stripped.isEmpty())
            values.append(v);
    }
    return values;
}

#include "profile/UserProfile.h"

#include "core/AtomicFile.h"
#include "core/Cp932.h"
#include "core/IniFile.h"
#include "core/Scramble.h"

#include <QDir>

namespace {

constexpr const char* kKeyNames[kProfileKeyCount] = {
    "UserName1",        "UserName2",        "UserMail",         "UserZip1",         "UserZip2",
    "UserAddressKana1", "UserAddressKana2", "UserAddressKana3", "UserAddressKana4", "UserAddress1",
    "UserAddress2",     "UserAddress3",     "UserAddress4",     "UserNamekana1",    "UserNamekana2",
    "UserJob",          "UserTel11",        "UserTel12",        "UserTel13",        "UserTel21",
    "UserTel22",        "UserTel23",        "UserBirthday",     "UserSex",
};

const QString kSection = QStringLiteral("UserProfile");

} // namespace

QString profileKeyName(ProfileKey key)
{
    return QString::fromLatin1(kKeyNames[static_cast<int>(key)]);
}

QString UserProfile::mail1() const
{
    const QString& mail = (*this)[ProfileKey::UserMail];
    return mail.section(u'@', 0, 0);
}

QString UserProfile::mail2() const
{
    const QString& mail = (*this)[ProfileKey::UserMail];
    // The text between the first and a second "@", if any.
    return mail.section(u'@', 1, 1);
}

QDate UserProfile::birthDate() const
{
    // The editor writes "yyyy/MM/dd"; a hand-edited file may drop the leading zeros.
    return QDate::fromString((*this)[ProfileKey::UserBirthday], QStringLiteral("yyyy/M/d"));
}

QString UserProfile::birthYear() const
{
    return birthDate().toString(QStringLiteral("yyyy"));
}

QString UserProfile::birthMonth() const
{
    return birthDate().toString(QStringLiteral("MM"));
}

QString UserProfile::birthDay() const
{
    return birthDate().toString(QStringLiteral("dd"));
}

QString formatProfileText(const UserProfile& profile)
{
    QString text = QStringLiteral("[UserProfile]\r\n");
    for (int i = 0; i < kProfileKeyCount; ++i)
        text +=
            QString::fromLatin1(kKeyNames[i]) + u'=' + profile.values[i] + QStringLiteral("\r\n");
    return text;
}

UserProfile parseProfile(const QByteArray& plainBytes)
{
    UserProfile profile;
    // Key lookup ignores case, so "UserNameKana1" and "UserNamekana1" are the same key.
    for (int i = 0; i < kProfileKeyCount; ++i)
        profile.values[i] = GetIniValue(kSection, QString::fromLatin1(kKeyNames[i]), plainBytes);
    return profile;
}

UserProfile loadUserProfileFile(const QString& path, bool* existed, StoredFile* file)
{
    StoredFile local;
    StoredFile& found = file ? *file : local;
    const QByteArray plain = readStoredIniFile(path, kSection, 1024 * 1024, found);
    if (existed)
        *existed = found.condition != FileCondition::Missing;
    return parseProfile(plain);
}

QString saveUserProfileFile(const QString& path, const UserProfile& profile)
{
    // What the user typed never replaces a profile that could not be read.
    if (cannotBeRead(path))
        return QStringLiteral("「%1」を読み込めないため、上書きしません。")
            .arg(QDir::toNativeSeparators(path));
    QByteArray plain;
    if (!cp932::encode(formatProfileText(profile), plain))
        return QStringLiteral("保存できない文字が含まれています。");
    return writeFileAtomically(path, scrambleBytes(plain));
}

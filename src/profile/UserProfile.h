#pragma once

#include "core/DamagedFile.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <array>

// The user's own profile as kept in "user.dat", one string per key.
enum class ProfileKey {
    UserName1,
    UserName2,
    UserMail,
    UserZip1,
    UserZip2,
    UserAddressKana1,
    UserAddressKana2,
    UserAddressKana3,
    UserAddressKana4,
    UserAddress1,
    UserAddress2,
    UserAddress3,
    UserAddress4,
    UserNameKana1,
    UserNameKana2,
    UserJob,
    UserTel11,
    UserTel12,
    UserTel13,
    UserTel21,
    UserTel22,
    UserTel23,
    UserBirthday,
    UserSex,
};
constexpr int kProfileKeyCount = 24;

// The key as written to the file; the kana name keys keep their historic lower-case "k".
QString profileKeyName(ProfileKey key);

struct UserProfile
{
    std::array<QString, kProfileKeyCount> values;

    QString& operator[](ProfileKey key) { return values[static_cast<size_t>(key)]; }
    const QString& operator[](ProfileKey key) const { return values[static_cast<size_t>(key)]; }

    // Derived parts: the mail address split at "@" and the birthday's "yyyy", "MM", "dd".
    QString mail1() const;
    QString mail2() const;
    QDate birthDate() const; // invalid when the birthday is empty or not a date
    QString birthYear() const;
    QString birthMonth() const;
    QString birthDay() const;

    bool operator==(const UserProfile&) const = default;
};

// The plain file text: "[UserProfile]" and the 24 key lines in file order, CR LF.
QString formatProfileText(const UserProfile& profile);

// Reads a plain file image; either spelling of the kana name keys is accepted and missing
// keys read as "".
UserProfile parseProfile(const QByteArray& plainBytes);

// Loads the scrambled file; a missing file gives an empty profile and `existed` false.
// `file` tells how it was found: of a damaged file (too large, not code page 932, cut short)
// what could be read is returned, and the file must be kept before it is written over; one
// that cannot be read gives an empty profile and must never be written over.
UserProfile loadUserProfileFile(const QString& path, bool* existed = nullptr,
                                StoredFile* file = nullptr);

// Writes the scrambled file atomically. Empty on success, else what went wrong; text that
// code page 932 cannot hold is refused and nothing is written, and so is an existing file
// that cannot be read.
QString saveUserProfileFile(const QString& path, const UserProfile& profile);

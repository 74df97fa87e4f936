#pragma once

#include "profile/UserProfile.h"

#include <QDate>

// The field buttons of the assistant's window: nine rows of a main button (index 0) and
// part buttons (1 and up), then three single buttons.
enum class FieldRow {
    UserName,
    UserNameKana,
    UserMail,
    UserZip,
    UserAddress,
    UserAddressKana,
    UserTel1,
    UserTel2,
    UserBirthday,
    UserAge,
    UserSex,
    UserJob,
};
constexpr int kFieldRowCount = 12;

// The number of part buttons of a row (0 for the three single buttons).
int fieldPartCount(FieldRow row);

// "お名前(漢字)" ... "職業": the main button's caption.
QString fieldCaption(FieldRow row);

// The control name of a row's buttons ("cmdUserName").
QString fieldControlName(FieldRow row);

// Age in whole years on `today`; -1 when the birthday is not a date.
int ageAt(const QDate& birthday, const QDate& today);

// The text a click on button `index` of `row` types. `katakana` is the ruby choice
// "カタカナ"; `today` matters only for the age.
QString fieldText(const UserProfile& profile, FieldRow row, int index, bool katakana,
                  const QDate& today);

// Whether the button is enabled for this profile.
bool fieldEnabled(const UserProfile& profile, FieldRow row, int index);

// The profile as one-click form filling in the browser takes it: the keys the page's field
// rules ask for ("name", "family", "kana", "postal1", "tel", "bdayYear", ...), kana in
// hiragana, empty values left out.
QList<std::pair<QString, QString>> formFillValues(const UserProfile& profile, const QDate& today);

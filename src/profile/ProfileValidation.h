#pragma once

#include "profile/UserProfile.h"

// The checks the profile editor runs before it saves, in their fixed order.
struct ProfileCheck
{
    bool ok = true;
    QString message;                        // the text of the "入力エラー" box when not ok
    ProfileKey box = ProfileKey::UserName1; // the box that gets the focus when not ok
    // The boxes' texts after the checks that passed rewrote kana boxes to full width.
    UserProfile rewritten;
};

ProfileCheck validateProfile(const UserProfile& input);

// The forbidden characters of a mail address as the message lists them.
QString forbiddenMailCharacters();

// The first box (in tab order) holding a character that code page 932 cannot store, with the
// message for it; ok when everything can be stored.
ProfileCheck checkStorable(const UserProfile& input);

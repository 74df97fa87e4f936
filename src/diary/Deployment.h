#pragma once

#include <QString>

// Addresses that belong to a deployment rather than to the program. They are kept here
// only, so a packager changes them in one place.
namespace deployment {

// The contest-information site "ズミラ広場"; ends with a slash.
inline const QString kSiteHome = QStringLiteral("https://www.example.jp/");
inline const QString kSiteContact = kSiteHome + QStringLiteral("toiawase.html");
// A listing's own page is this prefix followed by its ID number.
inline const QString kSitePickupPrefix = kSiteHome + QStringLiteral("search-pickup.cgi?links=");
// Listing pages reached through a category; opened as the pick-up page instead.
inline const QString kSiteCategoryPrefix =
    kSiteHome + QStringLiteral("cgi-bin/zumira/search-bunrui.cgi?links=");

// The developer's home page and support mail address.
inline const QString kDeveloperHome = QStringLiteral("https://www.example.com/");
inline const QString kDeveloperMail = QStringLiteral("support@example.com");

} // namespace deployment

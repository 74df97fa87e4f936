#pragma once

#include <QString>

// A message through the desktop's notification service (org.freedesktop.Notifications on
// the session bus). Returns an empty string when the service took it, else what failed.
QString sendDesktopNotification(const QString& summary, const QString& body);

#pragma once

#include "assistant/WindowsVersion.h"

#include <QString>

#include <optional>

// Runs a command line and returns what it wrote to standard output ("" when it could not
// be started). Waits at most 65535 ms.
QString RunAndCapture(const QString& commandLine);

// The Windows version; unset on other systems, where no width adjustment applies.
std::optional<WindowsVersion> GetWindowsVersion();

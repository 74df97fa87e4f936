#pragma once

#include <QString>

// The Windows version record and what the assistant's window makes of it.
struct WindowsVersion
{
    int major = 0;
    int minor = 0;
    int build = 0;
    int platformId = 0;
    QString servicePack;

    // Versions after 6.1 may be reported as 6.2; the "ver" command tells the real one.
    bool needsCorrection() const { return major > 6 || (major == 6 && minor > 1); }
    // Takes major, minor and build from the output of "cmd /C ver"
    // ("Microsoft Windows [Version 10.0.19045.3803]"). Unparsable output changes nothing.
    void correctFromVer(QString output);
    // Twips added to the window's width: -400 up to version 5, 0 for 6.0 to 6.3, else +600.
    int widthAdjustment() const;
};

#pragma once

#include "core/Currency.h"
#include "core/DamagedFile.h"
#include "core/FileCrypto.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

class Dialogs;

// The sixteen entry-list columns whose widths (in twips) the settings keep, in file order.
enum class WidthKey {
    NowDay,
    ID,
    Site,
    URL,
    Genre,
    Present,
    Kekka,
    HappyMoney,
    Number,
    EndDay,
    HappyDay,
    OboKeishiki,
    SenkoWay,
    Cycle,
    OboWay,
    Msg
};
constexpr int kWidthKeyCount = 16;

// The most days ahead that "締切間近" may look.
inline constexpr int kDeadlineDaysMax = 99;

// The diary's options, column widths, start password, target balance and window position,
// as kept in data/ini/zumicho.ini. The main window's settings tab binds to one of these.
struct Settings
{
    bool keyIsEndDay = false;                           // FormatKey: deadline (true) or entry date
    QString dreamMoneyText = QStringLiteral("1000000"); // text of the target box
    Currency dreamMoneyValue = Currency::fromUnits(1000000); // target as read at the last load
    bool dreamMoneyReached = false;                          // DreamMoneyFlag as read or set
    std::array<QString, kWidthKeyCount> widths = defaultWidths();
    bool startPassword = false;
    QString startPasswordText;
    // The data files are encrypted under a key from the start password. The password is then
    // kept nowhere: only `keyRecord` (data/ini/key.txt beside the settings), which checks it.
    bool encryptData = false;
    KeyRecord keyRecord; // invalid when key.txt is damaged: nothing may then be opened
    bool startZumira = false;
    bool formState = false;
    bool noTyohuku = true;
    bool sortOn = true;
    bool deleteKakunin = false;
    bool allDeleteKakunin = true;
    bool autoSumOutput = true;
    // Entries whose deadline is this many days away at most count as coming up (0-99),
    // and whether start-up tells about them.
    int deadlineDays = 7;
    bool deadlineNotice = true;
    // Window position in twips; present only when the file held it.
    std::optional<int> mainTop;
    std::optional<int> mainLeft;

    static std::array<QString, kWidthKeyCount> defaultWidths();
    static const char* widthKeyName(int index);

    QString& width(WidthKey key) { return widths[static_cast<int>(key)]; }
    const QString& width(WidthKey key) const { return widths[static_cast<int>(key)]; }

    // The flag as it is written: set only while the target is the one it was reached for,
    // so a new target re-arms the message.
    bool dreamMoneyFlagToWrite() const;
    // The start password that every month file must carry: empty while the option is off,
    // whatever text is still kept, and while the files are encrypted (they carry no password).
    QString passwordInForce() const
    {
        return startPassword && !encryptData ? startPasswordText : QString();
    }
};

// Parses the plain text of the settings file with the read rules and defaults.
Settings parseSettings(const QByteArray& plainText);

// The plain text of the settings file, byte for byte; `top`/`left` are the window's edges
// in twips. Fails (returns false) when the password cannot be held in code page 932.
bool formatSettings(const Settings& settings, int top, int left, QByteArray& plainText);

// The key record beside a settings file: data/ini/key.txt. Its presence says the data files are
// encrypted.
QString keyRecordPathBeside(const QString& settingsPath);

// Reads the scrambled settings file, and the key record beside it. When it does not exist, the
// defaults are returned and `existed` is false; the caller then writes them. `file` tells how it
// was found: of a damaged file (not code page 932, cut short, too large) what could be read is
// returned, with defaults for the rest, and the file must be kept before it is written over; of one
// that cannot be read, the defaults, and it must never be written over.
Settings LoadSettings(const QString& settingsPath, bool& existed, StoredFile* file = nullptr);

// Writes the scrambled settings file; an existing file that cannot be read is left alone.
// Returns an empty string on success.
QString SaveSettings(const QString& settingsPath, const Settings& settings, int top, int left);

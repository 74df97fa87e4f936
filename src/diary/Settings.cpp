#include "diary/Settings.h"

#include "core/AtomicFile.h"
#include "core/Cp932.h"
#include "core/IniFile.h"
#include "core/Scramble.h"

#include <QFileInfo>

#include <algorithm>

namespace {

const QString kSetting = QStringLiteral("Setting");
const QString kPosition = QStringLiteral("Position");

constexpr const char* kWidthNames[kWidthKeyCount] = {
    "SizeNowDay",   "SizeID",         "SizeSite",   "SizeURL",    "SizeGenre",    "SizePresent",
    "SizeKekka",    "SizeHappyMoney", "SizeNumber", "SizeEndDay", "SizeHappyDay", "SizeOboKeishiki",
    "SizeSenkoWay", "SizeCycle",      "SizeOboWay", "SizeMsg"};

constexpr const char* kWidthDefaults[kWidthKeyCount] = {
    "1100", "750",  "2250", "0",    "1500", "3000", "900",  "1050",
    "1000", "1100", "1100", "1350", "1000", "850",  "1000", "99999"};

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

std::array<QString, kWidthKeyCount> Settings::defaultWidths()
{
    std::array<QString, kWidthKeyCount> widths;
    for (int i = 0; i < kWidthKeyCount; ++i)
        widths[i] = QString::fromLatin1(kWidthDefaults[i]);
    return widths;
}

const char* Settings::widthKeyName(int index)
{
    return kWidthNames[index];
}

bool Settings::dreamMoneyFlagToWrite() const
{
    return dreamMoneyReached && Currency::parseOrZero(dreamMoneyText) == dreamMoneyValue;
}

Settings parseSettings(const QByteArray& plainText)
{
    const auto value = [&](const QString& section, const char* key) {
        return GetIniValue(section, QString::fromLatin1(key), plainText);
    };
    Settings s;
    if (const QString top = value(kPosition, "MainTop"); !top.isEmpty()) {
        s.mainTop = top.toInt();
        if (const QString left = value(kPosition, "MainLeft"); !left.isEmpty())
            s.mainLeft = left.toInt();
    }
    s.keyIsEndDay = value(kSetting, "FormatKey") == u"0";
    s.dreamMoneyText = value(kSetting, "DreamMoney");
    if (s.dreamMoneyText.isEmpty())
        s.dreamMoneyText = QStringLiteral("1000000");
    s.dreamMoneyValue = Currency::parseOrZero(s.dreamMoneyText);
    s.dreamMoneyReached = value(kSetting, "DreamMoneyFlag") == u"1";
    for (int i = 0; i < kWidthKeyCount; ++i) {
        const QString width = value(kSetting, kWidthNames[i]);
        s.widths[i] = width.isEmpty() ? QString::fromLatin1(kWidthDefaults[i]) : width;
    }
    s.startPassword = value(kSetting, "StartPassword") == u"1";
    s.startPasswordText = value(kSetting, "StartPasswordInput");
    // Options that default to on are off only for "0"; the others are on only for "1".
    s.startZumira = value(kSetting, "StartZumira") == u"1";
    s.formState = value(kSetting, "FormState") == u"1";
    s.noTyohuku = value(kSetting, "NoTyohuku") != u"0";
    s.sortOn = value(kSetting, "SortOn") != u"0";
    s.deleteKakunin = value(kSetting, "DeleteKakunin") == u"1";
    s.allDeleteKakunin = value(kSetting, "AllDeleteKakunin") != u"0";
    s.autoSumOutput = value(kSetting, "AutoSumOutput") != u"0";
    bool isNumber = false;
    const int days = value(kSetting, "SimekiriDays").toInt(&isNumber);
    if (isNumber)
        s.deadlineDays = std::clamp(days, 0, kDeadlineDaysMax);
    s.deadlineNotice = value(kSetting, "SimekiriStart") != u"0";
    return s;
}

bool formatSettings(const Settings& s, int top, int left, QByteArray& plainText)
{
    QString text;
    const auto line = [&](const QString& content) { text += content + QStringLiteral("\r\n"); };
    const auto pair = [&](const char* key, const QString& value) {
        line(QString::fromLatin1(key) + u'=' + value);
    };
    line(QStringLiteral("[Setting]"));
    pair("FormatKey", s.keyIsEndDay ? QStringLiteral("0") : QStringLiteral("1"));
    pair("DreamMoney", Currency::parseOrZero(s.dreamMoneyText).toText());
    pair("DreamMoneyFlag", flag(s.dreamMoneyFlagToWrite()));
    for (int i = 0; i < kWidthKeyCount; ++i)
        pair(kWidthNames[i], s.widths[i]);
    pair("StartPassword", flag(s.startPassword));
    // An encrypted diary keeps its password nowhere.
    pair("StartPasswordInput", s.encryptData ? QString() : s.startPasswordText);
    pair("StartZumira", flag(s.startZumira));
    pair("FormState", flag(s.formState));
    pair("NoTyohuku", flag(s.noTyohuku));
    pair("SortOn", flag(s.sortOn));
    pair("DeleteKakunin", flag(s.deleteKakunin));
    pair("AllDeleteKakunin", flag(s.allDeleteKakunin));
    pair("AutoSumOutput", flag(s.autoSumOutput));
    // Keys added later go last in their section, where older readers skip them.
    pair("SimekiriDays", QString::number(s.deadlineDays));
    pair("SimekiriStart", flag(s.deadlineNotice));
    line(QString());
    line(QStringLiteral("[Position]"));
    pair("MainTop", QString::number(top));
    pair("MainLeft", QString::number(left));
    return cp932::encode(text, plainText);
}

Settings LoadSettings(const QString& settingsPath, bool& existed, StoredFile* file)
{
    StoredFile local;
    StoredFile& found = file ? *file : local;
    const QByteArray plain = readStoredIniFile(settingsPath, kSetting, 1024 * 1024, found);
    existed = found.condition != FileCondition::Missing;
    Settings settings = parseSettings(plain);
    const QString keyPath = keyRecordPathBeside(settingsPath);
    if (QFileInfo::exists(keyPath)) {
        settings.encryptData = true;
        const ReadResult read = readWholeFile(keyPath, 4096);
        if (read.ok)
            settings.keyRecord = KeyRecord::fromText(QString::fromLatin1(read.bytes).trimmed());
    }
    return settings;
}

QString keyRecordPathBeside(const QString& settingsPath)
{
    return QFileInfo(settingsPath).path() + QStringLiteral("/key.txt");
}

QString SaveSettings(const QString& settingsPath, const Settings& settings, int top, int left)
{
    if (cannotBeRead(settingsPath))
        return QStringLiteral("読み込めないファイルのため、上書きしません。");
    QByteArray plain;
    if (!formatSettings(settings, top, left, plain))
        return QStringLiteral("text that code page 932 cannot hold");
    return writeFileAtomically(settingsPath, scrambleBytes(plain));
}

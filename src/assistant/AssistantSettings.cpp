#include "assistant/AssistantSettings.h"

#include "core/AtomicFile.h"
#include "core/Cp932.h"
#include "core/IniFile.h"
#include "core/Scramble.h"

#include <QHash>

#include <cmath>

namespace {

const QString kPosition = QStringLiteral("Position");
const QString kOption = QStringLiteral("UserInputOption");

std::optional<int> toInteger(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    // "nan" and "inf" read as numbers but are no position.
    if (!ok || !std::isfinite(value) || value < -2147483648.0 || value > 2147483647.0)
        return std::nullopt;
    return static_cast<int>(qRound64(value));
}

} // namespace

QStringList rubyChoices()
{
    return {QStringLiteral("ひらがな"), QStringLiteral("カタカナ")};
}

QStringList keyInputBeforeChoices()
{
    return {QStringLiteral("Ctrl + V"), QStringLiteral("Alt , E , P"),
            QStringLiteral("Shift + Ins")};
}

QStringList keyInputAfterChoices()
{
    return {QStringLiteral("なし"), QStringLiteral("Tabキー"), QStringLiteral("Enterキー")};
}

AssistantSettings parseAssistantSettings(const QByteArray& plain)
{
    AssistantSettings s;
    const QString top = GetIniValue(kPosition, QStringLiteral("UserInputTop"), plain);
    if (!top.isEmpty()) {
        s.top = toInteger(top);
        const QString left = GetIniValue(kPosition, QStringLiteral("UserInputLeft"), plain);
        if (!left.isEmpty())
            s.left = toInteger(left);
    }
    const QString formState = GetIniValue(kOption, QStringLiteral("FormState"), plain);
    if (const auto value = toInteger(formState); value && (*value == 0 || *value == 1))
        s.formState = *value == 1;
    const auto text = [&plain](const char* key, const QString& fallback) {
        const QString value = GetIniValue(kOption, QString::fromLatin1(key), plain);
        return value.isEmpty() ? fallback : value;
    };
    s.ruby = text("Ruby", s.ruby);
    s.keyInputBefore = text("KeyInputBefore", s.keyInputBefore);
    s.keyInputAfter = text("KeyInputAfter", s.keyInputAfter);
    return s;
}

QByteArray formatAssistantSettings(const AssistantSettings& s, int top, int left)
{
    const QString text = QStringLiteral("[Position]\r\n"
                                        "UserInputTop=%1\r\n"
                                        "UserInputLeft=%2\r\n"
                                        "[UserInputOption]\r\n"
                                        "FormState=%3\r\n"
                                        "Ruby=%4\r\n"
                                        "KeyInputBefore=%5\r\n"
                                        "KeyInputAfter=%6\r\n")
                             .arg(QString::number(top), QString::number(left),
                                  s.formState ? QStringLiteral("1") : QStringLiteral("0"), s.ruby,
                                  s.keyInputBefore, s.keyInputAfter);
    QByteArray bytes;
    if (!cp932::encode(text, bytes))
        return QByteArray();
    return bytes;
}

AssistantSettings loadAssistantSettings(const QString& path, StoredFile* file)
{
    StoredFile local;
    return parseAssistantSettings(
        readStoredIniFile(path, kOption, 1024 * 1024, file ? *file : local));
}

QString saveAssistantSettings(const QString& path, const AssistantSettings& settings, int top,
                              int left)
{
    if (cannotBeRead(path))
        return QStringLiteral("読み込めないファイルのため、上書きしません。");
    const QByteArray plain = formatAssistantSettings(settings, top, left);
    if (plain.isEmpty())
        return QStringLiteral("保存できない文字が含まれています。");
    return writeFileAtomically(path, scrambleBytes(plain));
}

QString pasteKeySequence(const QString& keyInputBefore)
{
    static const QHash<QString, QString> sequences = {
        {QStringLiteral("Ctrl + V"), QStringLiteral("^v")},
        // The menu keys of the old desktop type a stray "p" into browsers and most Linux
        // programs, which have no such menu; the choice is kept and pastes as Ctrl + V.
        {QStringLiteral("Alt , E , P"), QStringLiteral("^v")},
        {QStringLiteral("Shift + Ins"), QStringLiteral("+{Insert}")},
    };
    return sequences.value(keyInputBefore);
}

QString afterKeySequence(const QString& keyInputAfter)
{
    static const QHash<QString, QString> sequences = {
        {QStringLiteral("Tabキー"), QStringLiteral("{TAB}")},
        {QStringLiteral("Enterキー"), QStringLiteral("{ENTER}")},
    };
    return sequences.value(keyInputAfter);
}

QList<KeyStroke> parseKeySequence(const QString& sequence)
{
    static const QHash<QString, QString> named = {
        {QStringLiteral("TAB"), QStringLiteral("Tab")},
        {QStringLiteral("ENTER"), QStringLiteral("Return")},
        {QStringLiteral("INSERT"), QStringLiteral("Insert")},
    };
    QList<KeyStroke> strokes;
    QStringList held;
    for (qsizetype i = 0; i < sequence.size(); ++i) {
        const QChar c = sequence[i];
        if (c == u'^' || c == u'%' || c == u'+') {
            held << (c == u'^'   ? QStringLiteral("Control_L")
                     : c == u'%' ? QStringLiteral("Alt_L")
                                 : QStringLiteral("Shift_L"));
            continue;
        }
        QString key;
        if (c == u'{') {
            const qsizetype close = sequence.indexOf(u'}', i + 1);
            if (close < 0)
                break; // a broken sequence sends nothing more
            key = named.value(sequence.mid(i + 1, close - i - 1).toUpper());
            i = close;
            if (key.isEmpty()) {
                held.clear();
                continue;
            }
        } else {
            key = QString(c);
        }
        strokes.append({held, key});
        held.clear();
    }
    return strokes;
}

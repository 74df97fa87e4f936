#pragma once

#include "core/DamagedFile.h"
#include "platform/KeyStroke.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What "zumikey.ini" keeps: the window position in twips and the options.
struct AssistantSettings
{
    std::optional<int> top;  // twips; unset keeps the designed position
    std::optional<int> left; // applied only together with a top
    bool formState = true;   // always on top
    QString ruby = QStringLiteral("ひらがな");
    QString keyInputBefore = QStringLiteral("Ctrl + V");
    QString keyInputAfter = QStringLiteral("なし");

    bool operator==(const AssistantSettings&) const = default;
};

QStringList rubyChoices();           // "ひらがな", "カタカナ"
QStringList keyInputBeforeChoices(); // "Ctrl + V", "Alt , E , P", "Shift + Ins"
QStringList keyInputAfterChoices();  // "なし", "Tabキー", "Enterキー"

// Reads a plain file image; missing, empty or non-numeric values keep the defaults.
AssistantSettings parseAssistantSettings(const QByteArray& plainBytes);

// The plain file image, lines in their fixed order with CR LF. `top` and `left` are the
// window's edges in twips. Empty when some text cannot be held in code page 932.
QByteArray formatAssistantSettings(const AssistantSettings& settings, int top, int left);

// Loads the scrambled file; all defaults when it is missing. `file` tells how it was found:
// of a damaged file (too large, not code page 932, cut short) what could be read is
// returned, and the file must be kept before it is written over; one that cannot be read
// gives the defaults and must never be written over.
AssistantSettings loadAssistantSettings(const QString& path, StoredFile* file = nullptr);

// Writes the scrambled file atomically; an existing file that cannot be read is left alone.
// Empty on success, else what went wrong.
QString saveAssistantSettings(const QString& path, const AssistantSettings& settings, int top,
                              int left);

// The key sequence a combo text stands for, in the "^" Ctrl, "%" Alt, "+" Shift, "{NAME}"
// notation; empty for "なし" and for texts that are not in the lists.
QString pasteKeySequence(const QString& keyInputBefore);
QString afterKeySequence(const QString& keyInputAfter);

// Splits a key sequence into strokes; a modifier applies to the next key only.
QList<KeyStroke> parseKeySequence(const QString& sequence);

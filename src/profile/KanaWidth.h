#pragma once

#include <QString>

// Kana and width conversions with the usual Japanese correspondences (ICU transforms).
namespace kana {

// True when the platform's transforms could be built (ICU with its data).
bool isAvailable();

// Hiragana letters are U+3041 to U+3096.
bool isHiraganaLetter(QChar c);

// Every hiragana letter becomes its full-width katakana twin; other characters stay.
QString toKatakana(const QString& text);

// ASCII, the blank and half-width katakana become full width ("ｰ" becomes "ー").
QString toFullWidth(const QString& text);

// Full-width ASCII forms and katakana become half width.
QString toHalfWidth(const QString& text);

} // namespace kana

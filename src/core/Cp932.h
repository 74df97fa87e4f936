#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// Text at rest is code page 932. Linux input methods produce a few characters whose
// Windows twins are the ones that code page 932 holds; they are folded before encoding.
namespace cp932 {

// True when the platform converter for code page 932 is present.
bool isAvailable();

// Replaces the Linux-side variants with the characters code page 932 can hold.
QString fold(const QString& text);

// The first character of `text` (after folding) that code page 932 cannot hold, or a null
// QChar when every character can be stored.
QChar firstUnencodable(const QString& text);

// Encodes after folding. Returns false (and leaves `out` unspecified) when some character
// cannot be held: such text is refused, never stored as "?".
bool encode(const QString& text, QByteArray& out);
// The same, appended to what `out` holds; on false the appended part is unspecified.
bool appendEncoded(QStringView text, QByteArray& out);
// The same, written at `to`, which must have room for two bytes per character and is moved
// past what was written: for a caller that puts many short texts into one buffer.
bool encodeInto(QStringView text, char*& to);
// The same for a field between quote marks: a quote mark in it also fails.
bool encodeFieldInto(QStringView text, char*& to);

// Decodes; returns false when the bytes are not valid code page 932. All bytes are decoded
// even then, with U+FFFD where they were not valid, so such text must never be stored.
bool decode(const QByteArray& bytes, QString& out);

} // namespace cp932

#pragma once

#include <QByteArray>
#include <QString>

class Dialogs;

// The reversible transform that keeps every stored file unreadable in a text editor.
// The first byte is kept and keys the rest; the same call scrambles and unscrambles.

// Transforms one block in place with one key byte.
void ScrambleBlock(char* block, qsizetype length, unsigned char key);
void ScrambleBlock(QByteArray& block, unsigned char key);

// Transforms a whole file image in memory, in place when `bytes` is not shared (a text
// moved in). Each call owns its generator, so calls are independent and re-entrant.
QByteArray scrambleBytes(QByteArray bytes);

// True when `path` names an existing file (hidden files included); false for an empty path.
bool FileExists(const QString& path);

// File to file. A missing source shows the "ファイルが在りません" box and writes nothing;
// an empty source writes nothing. The target is replaced atomically.
// Returns true when a target was written.
bool ScrambleFile(const QString& source, const QString& target, Dialogs& dialogs);

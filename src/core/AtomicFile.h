#pragma once

#include <QByteArray>
#include <QString>

struct ReadResult
{
    bool ok = false;
    QByteArray bytes;
    QString error;
};

// Reads a whole file; files larger than `maxSize` are refused rather than loaded.
ReadResult readWholeFile(const QString& path, qint64 maxSize = 256 * 1024 * 1024);

// Writes `bytes` through a temporary file in the same folder and renames it over `path`,
// then syncs the folder, so a crash leaves either the old or the new file. Creates missing
// folders. Returns an empty string on success, else a description of the failure.
QString writeFileAtomically(const QString& path, const QByteArray& bytes);

// Removes a file and syncs its folder. True when the file is gone afterwards.
bool removeFileDurably(const QString& path);

// Removes temporary files that a killed process may have left beside the files of
// `folder` and its sub-folders ("name.XXXXXX" next to "name").
int removeStrayTemporaries(const QString& folder);

#pragma once

#include "diary/EntryRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

// Writers for saving a list on show as CSV or as an HTML table fragment. They see only
// texts, so the window hands over the list's cells and the statistics panel.
namespace listexport {

enum class ListKind { Entries, Year, Total }; // Entries: the month and search lists
enum class Format { Csv, Html };

struct ExportInput
{
    ListKind kind = ListKind::Entries;
    bool keyIsEndDay = true;
    // The rows: the entries of the month or search list (shared with the list, not copied),
    // or every column of each row as a summary list holds it (10 per year row, 11 per total
    // row). `rows` also serves entries given as 17 texts each.
    QList<EntryRecord> entries;
    QList<QStringList> rows;
    qsizetype rowCount() const { return entries.isEmpty() ? rows.size() : entries.size(); }
    // The text of a cell; empty for a column the row does not have.
    const QString& cell(qsizetype row, int column) const;
    bool withStatistics = false;
    // 当選総数, 応募総数, 当選率, 当選総額, 支出総額, 収支総額.
    std::array<QString, 6> panel;
};

// Only a name ending exactly in ".csv" is CSV; ".CSV", ".htm" or no extension is HTML.
Format formatForPath(const QString& path);

// A value as the HTML table holds it: "&", "<" and ">" as "&amp;", "&lt;" and "&gt;". Text
// without them is unchanged.
QString htmlText(const QString& text);

// The list columns written for a kind (the URL and picture path of an entry never are).
QList<int> exportedColumns(ListKind kind);
QStringList headerTexts(ListKind kind, bool keyIsEndDay);
// The headers over the three counts and over the three amounts of the statistics.
std::array<QStringList, 2> statisticsHeaders();

// The whole file as text with CR LF line ends. `rowWritten` is told 1, 2, ... per row.
QString exportText(const ExportInput& input, Format format,
                   const std::function<void(int)>& rowWritten = {});

struct EncodedExport
{
    QByteArray bytes;
    // The first character that code page 932 cannot hold; empty when `bytes` is complete.
    QString unencodable;
};
EncodedExport encodeExport(const QString& text);

struct ExportWrite
{
    QString unencodable; // the first character code page 932 cannot hold: nothing was written
    QString error;       // a write that failed, naming the file
    bool ok() const { return unencodable.isEmpty() && error.isEmpty(); }
};

// Writes the file in code page 932, row by row as it is built, through a temporary file that
// takes the place of `path` only when complete: a refused character or a failed write leaves
// `path` as it was, and no text of the whole file is ever held.
ExportWrite writeExportFile(const QString& path, const ExportInput& input, Format format,
                            const std::function<void(int)>& rowWritten = {});

} // namespace listexport

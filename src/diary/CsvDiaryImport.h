#pragma once

#include "diary/EntryRecord.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// Taking in a diary kept as CSV: a file this diary saved from a month or search list, or a
// spreadsheet whose first line names its columns with the diary's column titles (any
// order). Columns that are missing take the entry form's defaults; unknown columns are
// ignored and named once.

// One record of the file and the line it starts on (1-based).
struct CsvRecord
{
    int line = 0;
    QStringList fields;
    bool unterminatedQuote = false; // a quoted field ran to the end of the file
};

// Text as UTF-8 (with or without byte order mark) or code page 932. False when the bytes
// are neither.
bool decodeCsvText(const QByteArray& bytes, QString& text);

// Splits text into records: commas between fields, quoted fields may hold commas, line
// breaks and doubled quotes. Lines ending in CR LF, LF or CR.
QList<CsvRecord> parseCsvRecords(const QString& text);

struct CsvImportOptions
{
    bool keyIsEndDay = false;
    // The day the main window shows: the entry form's date when no date column is given.
    QDate viewedDay;
};

struct CsvSkippedRow
{
    int line = 0;
    QString reason; // what the user is told
};

struct CsvDiary
{
    QList<EntryRecord> records; // in file order
    QList<CsvSkippedRow> skipped;
    QStringList unknownColumns;
    // Set when the file cannot be taken in at all (no known column title).
    QString error;
};

CsvDiary readCsvDiary(const QString& text, const CsvImportOptions& options);

// The one box after an import: skipped lines with their reasons and the ignored columns;
// empty when there is nothing to tell.
QString csvImportReport(const CsvDiary& diary, int maxLines = 30);
inline const QString kCsvImportCaption = QStringLiteral("CSV取込");

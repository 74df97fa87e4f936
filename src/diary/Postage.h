#pragma once

#include "core/AppPaths.h"
#include "diary/EntryRecord.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

// Postage rates by date, from a small text file of our own beside the diary that the user
// may extend: one rate a line, "kind,first day (yyyy/MM/dd, empty: from the start),yen",
// "#" starts a comment, and a line "既定,kind" names the kind that mailed entries use.
struct PostageRate
{
    QString kind;
    QDate from; // invalid: from the start
    int yen = 0;
};

struct PostageTable
{
    QList<PostageRate> rates;
    QString mailKind = QStringLiteral("はがき"); // the kind of a "郵送応募" entry

    // The rate of `kind` on `day`: the one with the latest first day not after it.
    std::optional<int> rateOn(const QString& kind, const QDate& day) const;
};

struct PostageTableRead
{
    PostageTable table;
    QList<int> badLines; // 1-based line numbers that are no rate, comment or kind line
};

inline const QString kPostageFileName = QStringLiteral("postage.txt");

PostageTableRead parsePostageTable(const QString& text);
// The file written when there is none yet: postcards, return postcards and letters.
QByteArray defaultPostageText();

struct PostageLoad
{
    QString path;
    PostageTableRead read;
    QString error; // the file could not be read (it is left alone) or the defaults written
};

// The table beside the data folder. When there is none yet the defaults are written there
// for the user to extend; a file that cannot be read is never replaced, its defaults used.
PostageLoad loadPostageTable(const AppPaths& paths);

struct MonthPostage
{
    int mailed = 0;   // entries sent by post
    qint64 yen = 0;   // their postage
    int unpriced = 0; // mailed entries with no rate for their date (or no date)
};

// The postage of one entry: none when it was not mailed; an empty optional inside when it was
// but no rate holds for its entry date.
std::optional<std::optional<int>> postageOfEntry(const EntryRecord& entry, bool keyIsEndDay,
                                                 const PostageTable& table);

// The postage of the mailed entries of a month, each at the rate of its entry date.
MonthPostage postageOf(const QList<EntryRecord>& entries, bool keyIsEndDay,
                       const PostageTable& table);

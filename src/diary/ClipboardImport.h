#pragma once

#include "diary/Deployment.h"
#include "diary/EntryRecord.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// Turns listings copied from the contest-information site into entry records.
//
// A listing, line by line as copied (labels at the start of a line unless noted):
//   ...ID:<id> 賞品:<prize> <http://...>     "ID:" anywhere in the line starts a listing
//   URL <address>                            optional, may wrap over several lines
//   当選数:<winners> 締切:<yyyy/MM/dd>
//   サイト名:<site>
//   紹介文:<text>                             not used
//   ［genre│format│selection│cycle│method］   may wrap; the cycle may be missing

struct ImportParseOptions
{
    // The deadline is the key date (else the entry date is).
    bool keyIsEndDay = false;
    // The day the main window shows; it becomes the entry date of every listing.
    QDate viewedDay;
    // Prefix of the address given to a listing without a "URL " line; the ID follows it.
    QString pickupPrefix = deployment::kSitePickupPrefix;
};

// A listing that could not be read; it is left out and reported to the user.
struct SkippedListing
{
    enum class Reason {
        CutShort,    // the text ends, or the next listing begins, before its classification
        NoId,        // nothing between "ID:" and "賞品:"
        NoPrize,     // no "賞品:" after "ID:"
        NoDeadline,  // no "締切:" after "当選数:"
        BadDeadline, // the deadline is not a real date written "yyyy/MM/dd"
        Unstorable,  // a character that the month files cannot hold
    };
    QString id;   // as far as it could be read; may be empty
    int line = 0; // 1-based line of the listing's "ID:" line
    Reason reason = Reason::CutShort;
};

struct ImportParse
{
    QList<EntryRecord> records; // in the order of the copied text
    QList<SkippedListing> skipped;
};

// The message shown once after an import that left listings out ("" when none was):
// their ID numbers, or the line of a listing whose ID could not be read.
QString skippedListingsMessage(const QList<SkippedListing>& skipped);
inline const QString kSkippedListingsCaption = QStringLiteral("取込登録");

// Splits at hard line breaks (CR LF, LF or CR) and drops trailing blanks of each line.
// There is no limit on the length of a line.
QStringList splitClipboardLines(const QString& text);

// Reads every listing of the text. Text without "ID:" gives no records and no skips.
ImportParse parseClipboardListings(const QString& text, const ImportParseOptions& options);

// Orders parsed rows ascending by the text of one column, keeping the copied order among
// equal texts. The key date column groups the rows by month for registration.
void sortImportedRows(QList<EntryRecord>& rows, int column = KeyDate);

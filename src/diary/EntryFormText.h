#pragma once

#include <QString>
#include <optional>

// How the entry form turns what its boxes hold into stored fields, and stored fields back
// into box contents.
namespace entryform {

// The page buttons open only real web addresses.
bool isWebAddress(const QString& url);

// 当選額 as stored: the amount read as a currency value, written back as plain digits
// ("0012" gives "12", an empty or unreadable box "0").
QString storedAmount(const QString& text);

// 当選数 as stored: "全員", or the count read as a whole number followed by "名様"
// ("003" gives "3名様"). A count that is not a whole number is kept as typed.
QString storedWinners(const QString& count, const QString& unit);

// What a stored 当選数 puts into the count box and the unit list; nothing when the text
// is neither a count of "名様" nor "全員" (text kept from a copied listing).
struct WinnersFields
{
    QString count;
    QString unit;
};
std::optional<WinnersFields> winnersFields(const QString& stored);

// True when the stored winners text is exactly what the form would write for it, so a
// save may rebuild it; other texts are kept unless the user changes the winners.
bool isPlainWinners(const QString& stored);

// The text of a picture load error: number, source and description.
QString pictureErrorText(int number, const QString& source, const QString& description);

// Comments are stored with CR LF line ends; the edit box works with LF.
QString storedComment(const QString& boxText);
QString commentForBox(const QString& stored);

} // namespace entryform

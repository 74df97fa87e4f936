#include "diary/EntryFormText.h"

#include "core/Currency.h"

#include <QRegularExpression>

namespace entryform {

namespace {

const QString kPeople = QStringLiteral("名様");
const QString kEveryone = QStringLiteral("全員");

bool isWholeNumber(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,18}$"));
    return digits.match(text).hasMatch();
}

} // namespace

bool isWebAddress(const QString& url)
{
    return url.startsWith(QLatin1String("http://")) || url.startsWith(QLatin1String("https://"));
}

QString storedAmount(const QString& text)
{
    return Currency::parseOrZero(text).toText();
}

QString storedWinners(const QString& count, const QString& unit)
{
    if (unit == kEveryone)
        return kEveryone;
    if (isWholeNumber(count))
        return QString::number(count.toLongLong()) + kPeople;
    return count + kPeople;
}

std::optional<WinnersFields> winnersFields(const QString& stored)
{
    if (stored.contains(kPeople))
        return WinnersFields{stored.left(stored.size() - 2), kPeople};
    if (stored.startsWith(kEveryone))
        return WinnersFields{QStringLiteral("0"), kEveryone};
    return std::nullopt;
}

bool isPlainWinners(const QString& stored)
{
    if (stored == kEveryone)
        return true;
    return stored.endsWith(kPeople) && isWholeNumber(stored.chopped(2)) &&
           storedWinners(stored.chopped(2), kPeople) == stored;
}

QString pictureErrorText(int number, const QString& source, const QString& description)
{
    return QStringLiteral("ｴﾗｰ番号") + QString::number(number) + QStringLiteral(": ") + source +
           QStringLiteral(" でｴﾗｰが発生しました。\r\n") + description;
}

QString storedComment(const QString& boxText)
{
    QString text = boxText;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\n', QLatin1String("\r\n"));
    return text;
}

QString commentForBox(const QString& stored)
{
    QString text = stored;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

} // namespace entryform

#include "Postage.h"

#include "core/AtomicFile.h"

#include <QFileInfo>

namespace {

const QString kDateFormat = QStringLiteral("yyyy/MM/dd");
const QString kDefaultKindKey = QStringLiteral("既定");

// A stored date "yyyy/MM/dd" as QDate::fromString reads it with kDateFormat, without its
// parser: that costs more than the rest of a postage look-up, once for every entry.
QDate storedDate(QStringView text)
{
    if (text.size() != 10 || text[4] != u'/' || text[7] != u'/')
        return QDate();
    int parts[3] = {0, 0, 0};
    const int starts[3] = {0, 5, 8};
    const int lengths[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p) {
        for (int i = starts[p]; i < starts[p] + lengths[p]; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                return QDate();
            parts[p] = parts[p] * 10 + (c - u'0');
        }
    }
    return QDate(parts[0], parts[1], parts[2]); // invalid for a day that does not exist
}

} // namespace

std::optional<int> PostageTable::rateOn(const QString& kind, const QDate& day) const
{
    std::optional<int> rate;
    QDate since; // of the rate found; invalid: from the start
    for (const PostageRate& r : rates) {
        if (r.kind != kind || (r.from.isValid() && r.from > day))
            continue;
        // The latest first day wins; of two for the same day, the later line.
        if (!rate || !since.isValid() || (r.from.isValid() && r.from >= since)) {
            rate = r.yen;
            since = r.from;
        }
    }
    return rate;
}

PostageTableRead parsePostageTable(const QString& text)
{
    PostageTableRead read;
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList parts = line.split(u',');
        if (parts.size() == 2 && parts[0].trimmed() == kDefaultKindKey &&
            !parts[1].trimmed().isEmpty()) {
            read.table.mailKind = parts[1].trimmed();
            continue;
        }
        bool number = false;
        const int yen = parts.size() == 3 ? parts[2].trimmed().toInt(&number) : 0;
        const QString from = parts.value(1).trimmed();
        const QDate day = QDate::fromString(from, kDateFormat);
        if (!number || yen < 0 || parts[0].trimmed().isEmpty() ||
            (!from.isEmpty() && !day.isValid())) {
            read.badLines.append(int(i + 1));
            continue;
        }
        read.table.rates.append({parts[0].trimmed(), day, yen});
    }
    return read;
}

QByteArray defaultPostageText()
{
    return QStringLiteral(
               "# ズミラ帳の郵送料の表です。1行に1つ「種類,この日から,料金（円）」を書きます。\n"
               "# 日付のない行は、いちばん古い料金です。料金が変わったら行を足してください。\n"
               "# 「既定,種類」は、郵送応募の懸賞に使う種類です（ハガキ応募はいつも「はがき」）。\n"
               "既定,はがき\n"
               "はがき,,50\n"
               "はがき,2014/04/01,52\n"
               "はがき,2017/06/01,62\n"
               "はがき,2019/10/01,63\n"
               "はがき,2024/10/01,85\n"
               "往復はがき,,100\n"
               "往復はがき,2014/04/01,104\n"
               "往復はがき,2017/06/01,124\n"
               "往復はがき,2019/10/01,126\n"
               "往復はがき,2024/10/01,170\n"
               "封書,,80\n"
               "封書,2014/04/01,82\n"
               "封書,2019/10/01,84\n"
               "封書,2024/10/01,110\n")
        .toUtf8();
}

PostageLoad loadPostageTable(const AppPaths& paths)
{
    PostageLoad load;
    load.path = paths.programFolder() + u'/' + kPostageFileName;
    QByteArray text = defaultPostageText();
    if (QFileInfo::exists(load.path)) {
        const ReadResult read = readWholeFile(load.path, 1024 * 1024);
        if (read.ok)
            text = read.bytes;
        else
            load.error = read.error;
    } else {
        load.error = writeFileAtomically(load.path, text);
    }
    load.read = parsePostageTable(QString::fromUtf8(text));
    return load;
}

std::optional<std::optional<int>> postageOfEntry(const EntryRecord& entry, bool keyIsEndDay,
                                                 const PostageTable& table)
{
    const QString& way = entry[OboWay];
    const bool postcard = way == u"ハガキ応募";
    if (!postcard && way != u"郵送応募")
        return std::nullopt;
    // The entry date is the key date, or the other date when the deadline is the key.
    const QDate sent = storedDate(entry[keyIsEndDay ? OtherDate : KeyDate]);
    if (!sent.isValid())
        return std::optional<int>();
    return table.rateOn(postcard ? QStringLiteral("はがき") : table.mailKind, sent);
}

MonthPostage postageOf(const QList<EntryRecord>& entries, bool keyIsEndDay,
                       const PostageTable& table)
{
    MonthPostage postage;
    for (const EntryRecord& entry : entries) {
        const std::optional<std::optional<int>> rate = postageOfEntry(entry, keyIsEndDay, table);
        if (!rate)
            continue;
        ++postage.mailed;
        if (*rate)
            postage.yen += **rate;
        else
            ++postage.unpriced;
    }
    return postage;
}

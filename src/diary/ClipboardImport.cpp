#include "diary/ClipboardImport.h"

#include "core/Blanks.h"
#include "core/Cp932.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

const QString kIdLabel = QStringLiteral("ID:");
const QString kPrizeLabel = QStringLiteral("賞品:");
const QString kUrlLabel = QStringLiteral("URL ");
const QString kWinnersLabel = QStringLiteral("当選数:");
const QString kDeadlineLabel = QStringLiteral("締切:");
const QString kSiteLabel = QStringLiteral("サイト名:");
const QString kIntroLabel = QStringLiteral("紹介文:");
const QChar kClassOpen(0xFF3B);      // ［
const QChar kClassClose(0xFF3D);     // ］
const QChar kClassSeparator(0x2502); // │

bool isCycleWord(const QString& text)
{
    return text == u"不定期" || text == u"毎月" || text == u"毎週" || text == u"毎日";
}

bool isRealDate(const QString& text)
{
    static const QRegularExpression shape(QStringLiteral("^\\d{4}/\\d{2}/\\d{2}$"));
    return shape.match(text).hasMatch() && QDate::fromString(text, u"yyyy/MM/dd").isValid();
}

// The line numbers where the parts of one listing begin.
struct BlockLines
{
    int id = -1;
    int url = -1; // -1 when the listing has no "URL " line
    int winners = -1;
    int site = -1;
    int intro = -1;
    int classStart = -1;
    int classEnd = -1; // the line that brings the closing bracket
};

class ListingReader
{
public:
    ListingReader(const QStringList& lines, const ImportParseOptions& options)
        : m_lines(lines), m_options(options)
    {}

    ImportParse readAll()
    {
        ImportParse result;
        int n = 0;
        while (n < m_lines.size()) {
            if (!m_lines[n].contains(kIdLabel)) {
                ++n;
                continue;
            }
            n = readListing(n, result);
        }
        return result;
    }

private:
    // A line that would start the next listing. A listing cut short in the middle of the
    // copied text ends there, so the next one is not swallowed into it.
    bool startsListing(int line) const
    {
        const QString& text = m_lines[line];
        const qsizetype id = text.indexOf(kIdLabel);
        return id >= 0 && text.indexOf(kPrizeLabel, id + kIdLabel.size()) >= 0;
    }

    // The first line after `from` that satisfies `ends`. -1 when the text or the listing
    // runs out first; `stop` is then the line to go on scanning from.
    template <typename Pred> int seek(int from, Pred ends, int& stop) const
    {
        for (int j = from + 1; j < m_lines.size(); ++j) {
            if (ends(m_lines[j]))
                return j;
            if (startsListing(j)) {
                stop = j;
                return -1;
            }
        }
        stop = int(m_lines.size());
        return -1;
    }

    QString joined(int first, int last) const
    {
        QString text;
        for (int j = first; j <= last; ++j)
            text += m_lines[j];
        return text;
    }

    // Reads the listing whose "ID:" line is `n`; returns the line to go on scanning from.
    int readListing(int n, ImportParse& result) const
    {
        BlockLines at;
        at.id = n;
        int stop = 0;
        const int idEnd = seek(
            n,
            [](const QString& line) {
                return line.startsWith(kUrlLabel) ||
                       (!line.contains(kUrlLabel) && line.startsWith(kWinnersLabel));
            },
            stop);
        if (idEnd < 0)
            return skip(at, SkippedListing::Reason::CutShort, result, stop);
        if (m_lines[idEnd].startsWith(kWinnersLabel)) {
            at.winners = idEnd;
        } else {
            at.url = idEnd;
            at.winners = seek(
                at.url, [](const QString& line) { return line.startsWith(kWinnersLabel); }, stop);
            if (at.winners < 0)
                return skip(at, SkippedListing::Reason::CutShort, result, stop);
        }
        at.site = seek(
            at.winners, [](const QString& line) { return line.startsWith(kSiteLabel); }, stop);
        if (at.site < 0)
            return skip(at, SkippedListing::Reason::CutShort, result, stop);
        at.intro = seek(
            at.site, [](const QString& line) { return line.startsWith(kIntroLabel); }, stop);
        if (at.intro < 0)
            return skip(at, SkippedListing::Reason::CutShort, result, stop);
        at.classStart = seek(
            at.intro, [](const QString& line) { return line.startsWith(kClassOpen); }, stop);
        if (at.classStart < 0)
            return skip(at, SkippedListing::Reason::CutShort, result, stop);
        at.classEnd = at.classStart;
        if (!m_lines[at.classStart].contains(kClassClose)) {
            at.classEnd = seek(
                at.classStart, [](const QString& line) { return line.contains(kClassClose); },
                stop);
            if (at.classEnd < 0)
                return skip(at, SkippedListing::Reason::CutShort, result, stop);
        }
        build(at, result);
        return at.classEnd + 1;
    }

    int skip(const BlockLines& at, SkippedListing::Reason reason, ImportParse& result,
             int resume) const
    {
        SkippedListing skipped;
        skipped.id = idOf(m_lines[at.id]);
        skipped.line = at.id + 1;
        skipped.reason = reason;
        result.skipped.append(skipped);
        return resume;
    }

    // The ID as far as the "ID:" line shows it, for reports.
    static QString idOf(const QString& text)
    {
        const qsizetype id = text.indexOf(kIdLabel) + kIdLabel.size();
        const qsizetype prize = text.indexOf(kPrizeLabel, id);
        if (prize >= 0)
            return trimBlanks(QStringView(text).mid(id, prize - id));
        // Without a prize label the ID is the first word.
        const QString rest = trimBlanks(QStringView(text).mid(id));
        qsizetype end = 0;
        while (end < rest.size() && !isBlank(rest[end]) && rest[end] != QChar(0x3000))
            ++end;
        return rest.left(end);
    }

    void build(const BlockLines& at, ImportParse& result) const
    {
        SkippedListing skipped;
        skipped.line = at.id + 1;
        auto refuse = [&](SkippedListing::Reason reason) {
            skipped.reason = reason;
            result.skipped.append(skipped);
        };

        // ID part: "ID:" <id> "賞品:" <prize> ["<http://" ...]
        const QString idPart = joined(at.id, (at.url >= 0 ? at.url : at.winners) - 1);
        const qsizetype idAt = idPart.indexOf(kIdLabel) + kIdLabel.size();
        const qsizetype prizeLabelAt = idPart.indexOf(kPrizeLabel, idAt);
        skipped.id = idOf(idPart);
        if (prizeLabelAt < 0)
            return refuse(SkippedListing::Reason::NoPrize);
        const QString id = trimBlanks(QStringView(idPart).mid(idAt, prizeLabelAt - idAt));
        if (id.isEmpty())
            return refuse(SkippedListing::Reason::NoId);
        const qsizetype prizeAt = prizeLabelAt + kPrizeLabel.size();
        qsizetype prizeEnd = idPart.indexOf(QStringLiteral("<http://"), prizeAt);
        const qsizetype secureLink = idPart.indexOf(QStringLiteral("<https://"), prizeAt);
        if (secureLink >= 0 && (prizeEnd < 0 || secureLink < prizeEnd))
            prizeEnd = secureLink;
        QString prize =
            trimBlanks(QStringView(idPart).mid(prizeAt, prizeEnd < 0 ? -1 : prizeEnd - prizeAt));

        // URL part, or the listing's page on the site.
        QString url;
        if (at.url >= 0) {
            url = trimBlanks(QStringView(joined(at.url, at.winners - 1)).mid(kUrlLabel.size()));
            // The site once doubled the scheme of secure addresses.
            if (url.startsWith(u"http://https://"))
                url.remove(0, 7);
        } else {
            url = m_options.pickupPrefix + id;
        }

        // Winners part: "当選数:" <winners> "締切:" <deadline>
        const QString winnersPart = joined(at.winners, at.site - 1);
        const qsizetype winnersAt = kWinnersLabel.size();
        const qsizetype deadlineLabelAt = winnersPart.indexOf(kDeadlineLabel, winnersAt);
        if (deadlineLabelAt < 0)
            return refuse(SkippedListing::Reason::NoDeadline);
        const QString winners =
            trimBlanks(QStringView(winnersPart).mid(winnersAt, deadlineLabelAt - winnersAt));
        qsizetype deadlineAt = deadlineLabelAt + kDeadlineLabel.size();
        while (deadlineAt < winnersPart.size() && isBlank(winnersPart[deadlineAt]))
            ++deadlineAt;
        const QString deadline = winnersPart.mid(deadlineAt, 10);
        if (!isRealDate(deadline))
            return refuse(SkippedListing::Reason::BadDeadline);

        QString site =
            trimBlanks(QStringView(joined(at.site, at.intro - 1)).mid(kSiteLabel.size()));

        // Classification: the text between the brackets, split at "│".
        const QString classPart = joined(at.classStart, at.classEnd);
        const qsizetype open = classPart.indexOf(kClassOpen) + 1;
        const qsizetype close = classPart.indexOf(kClassClose, open);
        const QStringList elements = classPart.mid(open, close - open).split(kClassSeparator);
        auto element = [&](int i) {
            return i < elements.size() ? trimBlanks(elements[i]) : QString();
        };

        EntryRecord record;
        const QString viewed = m_options.viewedDay.toString(u"yyyy/MM/dd");
        record[KeyDate] = m_options.keyIsEndDay ? deadline : viewed;
        record[OtherDate] = m_options.keyIsEndDay ? viewed : deadline;
        record[ID] = id;
        record[Site] = site;
        record[URL] = url;
        record[Genre] = element(0);
        record[Present] = prize;
        record[Kekka] = QStringLiteral("不明");
        record[HappyMoney] = QStringLiteral("0");
        record[Number] = winners;
        record[HappyDay] = kNoHappyDay;
        record[OboKeishiki] = element(1);
        record[SenkoWay] = element(2);
        if (isCycleWord(element(3))) {
            record[Cycle] = element(3);
            record[OboWay] = element(4);
        } else {
            // Listings without a cycle name the entry method fourth.
            record[Cycle] = QStringLiteral("不定期");
            record[OboWay] = element(3);
        }
        // No stored field may hold a quote mark; copied text can bring one in any field.
        for (QString& field : record.fields)
            ReplaceQuoteMarks(field);
        FoldToStoredForms(record);
        for (const QString& field : record.fields) {
            if (!cp932::firstUnencodable(field).isNull())
                return refuse(SkippedListing::Reason::Unstorable);
        }
        result.records.append(record);
    }

    const QStringList& m_lines;
    const ImportParseOptions& m_options;
};

} // namespace

QString skippedListingsMessage(const QList<SkippedListing>& skipped)
{
    if (skipped.isEmpty())
        return QString();
    QStringList names;
    for (const SkippedListing& s : skipped)
        names.append(s.id.isEmpty() ? QStringLiteral("（%1行目）").arg(s.line) : s.id);
    return QStringLiteral(
               "次の懸賞情報は読み取れなかったため、登録しませんでした。\r\n\r\nＩＤ番号：") +
           names.join(QStringLiteral("、"));
}

QStringList splitClipboardLines(const QString& text)
{
    // Not with a regular expression: it refuses text holding an unpaired surrogate, and the
    // whole text would come back as one line.
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && text[i] != u'\r' && text[i] != u'\n')
            continue;
        qsizetype end = i;
        while (end > start && isBlank(text[end - 1]))
            --end;
        lines.append(text.mid(start, end - start));
        if (i + 1 < n && text[i] == u'\r' && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    return lines;
}

ImportParse parseClipboardListings(const QString& text, const ImportParseOptions& options)
{
    const QStringList lines = splitClipboardLines(text);
    return ListingReader(lines, options).readAll();
}

void sortImportedRows(QList<EntryRecord>& rows, int column)
{
    std::stable_sort(
        rows.begin(), rows.end(),
        [column](const EntryRecord& a, const EntryRecord& b) { return a[column] < b[column]; });
}

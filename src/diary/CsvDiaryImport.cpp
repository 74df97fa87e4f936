#include "diary/CsvDiaryImport.h"

#include "core/Cp932.h"
#include "diary/EntryFormText.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

const QString kDateFormat = QStringLiteral("yyyy/MM/dd");

// Where a column of the file goes. The two dates are named by what they are, so a file
// saved under either key option is read the same way.
enum Column : int {
    EndDayColumn = kEntryFieldCount, // beyond the entry fields
    NowDayColumn,
};

QString normalizedTitle(const QString& title)
{
    // Full-width and half-width spellings ("ＩＤ番号", "ID番号") and stray blanks are the same
    // title.
    QString t = title.normalized(QString::NormalizationForm_KC);
    t.remove(u' ');
    t.remove(u'\t');
    return t;
}

const QHash<QString, int>& columnTitles()
{
    static const QHash<QString, int> titles = [] {
        const struct
        {
            const char16_t* title;
            int column;
        } known[] = {
            {u"締切日", EndDayColumn},
            {u"応募日", NowDayColumn},
            {u"ＩＤ番号", ID},
            {u"応募先", Site},
            {u"ＵＲＬ", URL},
            {u"ジャンル", Genre},
            {u"賞品名", Present},
            {u"結果", Kekka},
            {u"当選額", HappyMoney},
            {u"当選数", Number},
            {u"当選日", HappyDay},
            {u"応募形式", OboKeishiki},
            {u"選考方法", SenkoWay},
            {u"サイクル", Cycle},
            {u"応募方法", OboWay},
            {u"コメント", Msg},
            {u"画像", Pic},
        };
        QHash<QString, int> map;
        for (const auto& k : known)
            map.insert(normalizedTitle(QString::fromUtf16(k.title)), k.column);
        return map;
    }();
    return titles;
}

// The entry form's values for a new entry, for columns the file does not have.
EntryRecord formDefaults()
{
    EntryRecord e;
    e[ID] = QStringLiteral("0");
    e[Genre] = QStringLiteral("その他");
    e[Kekka] = QStringLiteral("不明");
    e[HappyMoney] = QStringLiteral("0");
    e[Number] = QStringLiteral("0名様");
    e[HappyDay] = kNoHappyDay;
    e[OboKeishiki] = QStringLiteral("アンケート");
    e[SenkoWay] = QStringLiteral("抽選");
    e[Cycle] = QStringLiteral("不定期");
    e[OboWay] = QStringLiteral("ネット応募");
    return e;
}

QString fieldTitle(int column)
{
    switch (column) {
    case EndDayColumn:
        return QStringLiteral("締切日");
    case NowDayColumn:
        return QStringLiteral("応募日");
    default:
        return entryColumnHeading(column, true);
    }
}

// "yyyy/MM/dd" or "yyyy-MM-dd" (a spreadsheet may drop the leading zeros); null when not a date.
QDate parseDate(const QString& text)
{
    static const QRegularExpression date(QStringLiteral("^(\\d{4})([/-])(\\d{1,2})\\2(\\d{1,2})$"));
    const QRegularExpressionMatch m = date.match(text.trimmed());
    if (!m.hasMatch())
        return {};
    return QDate(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
}

bool isAsciiDigits(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// "12,000", "12000円" and full-width digits are all 12000; nothing when not an amount.
std::optional<QString> parseAmount(const QString& text)
{
    QString t = text.normalized(QString::NormalizationForm_KC).trimmed();
    if (t.endsWith(u'円'))
        t.chop(1);
    if (t.startsWith(u'¥') || t.startsWith(u'\\'))
        t.remove(0, 1);
    t.remove(u',');
    t = t.trimmed();
    if (t.isEmpty())
        return QStringLiteral("0");
    if (!isAsciiDigits(t) || t.size() > 9)
        return std::nullopt;
    return entryform::storedAmount(t);
}

QString storedWinnersText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QStringLiteral("0名様");
    const QString digits = t.normalized(QString::NormalizationForm_KC);
    // A bare count gets its unit; any other text ("全員", "10名様", "5組") is kept as written.
    if (isAsciiDigits(digits))
        return entryform::storedWinners(digits, QStringLiteral("名様"));
    return t;
}

QString crLfLines(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return text;
}

struct RowResult
{
    EntryRecord entry;
    QString problem; // empty when the row can be registered
};

RowResult convertRow(const QStringList& fields, const QList<int>& columns,
                     const CsvImportOptions& options)
{
    RowResult r;
    EntryRecord& e = r.entry;
    e = formDefaults();
    std::optional<QString> endDayText;
    std::optional<QString> nowDayText;
    for (int i = 0; i < columns.size(); ++i) {
        const int column = columns.at(i);
        if (column < 0)
            continue;
        const QString value = fields.value(i);
        switch (column) {
        case EndDayColumn:
            endDayText = value;
            break;
        case NowDayColumn:
            nowDayText = value;
            break;
        case ID:
            e[ID] = value.trimmed().isEmpty() ? QStringLiteral("0") : value.trimmed();
            break;
        case HappyMoney: {
            const std::optional<QString> amount = parseAmount(value);
            if (!amount)
                return {e, QStringLiteral("当選額「%1」が金額ではありません").arg(value)};
            e[HappyMoney] = *amount;
            break;
        }
        case Number:
            e[Number] = storedWinnersText(value);
            break;
        case HappyDay: {
            const QString t = value.trimmed();
            if (t.isEmpty() || t == kNoHappyDay) {
                e[HappyDay] = kNoHappyDay;
            } else {
                const QDate day = parseDate(t);
                if (!day.isValid())
                    return {e, QStringLiteral("当選日「%1」が日付ではありません").arg(value)};
                e[HappyDay] = day.toString(kDateFormat);
            }
            break;
        }
        case Genre:
        case Kekka:
        case OboKeishiki:
        case SenkoWay:
        case Cycle:
        case OboWay:
            // An empty choice is the form's choice.
            if (!value.trimmed().isEmpty())
                e[column] = value;
            break;
        case Msg:
            e[Msg] = crLfLines(value);
            break;
        default: // 応募先, ＵＲＬ, 賞品名, 画像
            e[column] = value;
        }
    }

    // A missing date column takes the other date (so a file with one date never trips the
    // deadline rule), and the day on show when there is neither.
    const QString viewed = options.viewedDay.toString(kDateFormat);
    const auto dateField = [&](const std::optional<QString>& text,
                               const std::optional<QString>& other, const QString& title,
                               QString& out) -> QString {
        const QString source = text ? *text : other ? *other : viewed;
        const QDate day = parseDate(source);
        if (!day.isValid())
            return QStringLiteral("%1「%2」が日付ではありません").arg(title, text ? *text : source);
        out = day.toString(kDateFormat);
        return {};
    };
    QString endDay;
    QString nowDay;
    if (QString p = dateField(endDayText, nowDayText, QStringLiteral("締切日"), endDay);
        !p.isEmpty())
        return {e, p};
    if (QString p = dateField(nowDayText, endDayText, QStringLiteral("応募日"), nowDay);
        !p.isEmpty())
        return {e, p};
    if (endDay < nowDay)
        return {e, QStringLiteral("締切日 %1 が応募日 %2 より前です").arg(endDay, nowDay)};
    e[KeyDate] = options.keyIsEndDay ? endDay : nowDay;
    e[OtherDate] = options.keyIsEndDay ? nowDay : endDay;

    for (int f = 0; f < kEntryFieldCount; ++f) {
        // No stored field may hold a quote mark; the month file has no escape for it.
        ReplaceQuoteMarks(e[f]);
        e[f] = cp932::fold(e[f]);
        if (const QChar bad = cp932::firstUnencodable(e[f]); !bad.isNull()) {
            const int shown = f == KeyDate     ? (options.keyIsEndDay ? EndDayColumn : NowDayColumn)
                              : f == OtherDate ? (options.keyIsEndDay ? NowDayColumn : EndDayColumn)
                                               : f;
            return {e, QStringLiteral("%1に保存できない文字「%2」があります")
                           .arg(fieldTitle(shown), QString(bad))};
        }
    }
    return r;
}

bool isBlank(const QStringList& fields)
{
    for (const QString& f : fields) {
        if (!f.trimmed().isEmpty())
            return false;
    }
    return true;
}

} // namespace

bool decodeCsvText(const QByteArray& bytes, QString& text)
{
    static const QByteArray bom("\xEF\xBB\xBF");
    if (bytes.startsWith(bom)) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = utf8.decode(bytes.mid(bom.size()));
        return !utf8.hasError();
    }
    // Japanese text in code page 932 is practically never valid UTF-8, so UTF-8 is tried first.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8.decode(bytes);
    if (!utf8.hasError()) {
        text = asUtf8;
        return true;
    }
    return cp932::decode(bytes, text);
}

QList<CsvRecord> parseCsvRecords(const QString& text)
{
    QList<CsvRecord> records;
    int line = 1;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        CsvRecord record;
        record.line = line;
        QString field;
        bool recordEnded = false;
        while (!recordEnded) {
            if (i < n && text.at(i) == u'"') {
                ++i;
                bool closed = false;
                while (i < n) {
                    const QChar c = text.at(i++);
                    if (c == u'"') {
                        if (i < n && text.at(i) == u'"') {
                            field += u'"';
                            ++i;
                            continue;
                        }
                        closed = true;
                        break;
                    }
                    if (c == u'\n' || (c == u'\r' && (i >= n || text.at(i) != u'\n')))
                        ++line;
                    field += c;
                }
                if (!closed)
                    record.unterminatedQuote = true;
            }
            // Unquoted text, or whatever follows a closing quote, up to the next comma or line end.
            while (i < n && text.at(i) != u',' && text.at(i) != u'\r' && text.at(i) != u'\n')
                field += text.at(i++);
            record.fields.append(field);
            field.clear();
            if (i < n && text.at(i) == u',') {
                ++i;
                continue;
            }
            if (i < n && text.at(i) == u'\r')
                ++i;
            if (i < n && text.at(i) == u'\n')
                ++i;
            ++line;
            recordEnded = true;
        }
        records.append(record);
    }
    return records;
}

CsvDiary readCsvDiary(const QString& text, const CsvImportOptions& options)
{
    CsvDiary diary;
    const QList<CsvRecord> records = parseCsvRecords(text);
    if (records.isEmpty()) {
        diary.error = QStringLiteral("ファイルが空です。");
        return diary;
    }
    QList<int> columns;
    QList<int> seen;
    for (const QString& title : records.first().fields) {
        const int column = columnTitles().value(normalizedTitle(title), -1);
        if (column < 0 || seen.contains(column)) {
            if (!title.trimmed().isEmpty() && !diary.unknownColumns.contains(title))
                diary.unknownColumns.append(title);
            columns.append(-1);
            continue;
        }
        seen.append(column);
        columns.append(column);
    }
    if (seen.isEmpty()) {
        diary.error =
            QStringLiteral("1行目に懸賞情報の列名（締切日、応募日、賞品名など）がありません。");
        return diary;
    }
    for (qsizetype r = 1; r < records.size(); ++r) {
        const CsvRecord& record = records.at(r);
        // A saved list may end with its statistics ("自動集計"); they are no entries.
        if (record.fields.value(0) == u"当選総数（件）")
            break;
        if (isBlank(record.fields))
            continue;
        if (record.unterminatedQuote) {
            diary.skipped.append({record.line, QStringLiteral("引用符が閉じていません")});
            continue;
        }
        RowResult row = convertRow(record.fields, columns, options);
        if (row.problem.isEmpty())
            diary.records.append(std::move(row.entry));
        else
            diary.skipped.append({record.line, row.problem});
    }
    return diary;
}

QString csvImportReport(const CsvDiary& diary, int maxLines)
{
    QStringList parts;
    if (!diary.skipped.isEmpty()) {
        QStringList lines;
        for (const CsvSkippedRow& row : diary.skipped) {
            if (lines.size() == maxLines) {
                lines.append(QStringLiteral("ほか%1行").arg(diary.skipped.size() - maxLines));
                break;
            }
            lines.append(QStringLiteral("%1行目：%2").arg(row.line).arg(row.reason));
        }
        parts.append(QStringLiteral("次の%1行は読み込めないため登録していません：\r\n")
                         .arg(diary.skipped.size()) +
                     lines.join(QStringLiteral("\r\n")));
    }
    if (!diary.unknownColumns.isEmpty()) {
        parts.append(QStringLiteral("次の列は懸賞情報の列ではないため取り込んでいません：\r\n") +
                     diary.unknownColumns.join(QStringLiteral("、")));
    }
    return parts.join(QStringLiteral("\r\n\r\n"));
}

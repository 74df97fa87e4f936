#include "diary/Export.h"

#include "core/AtomicFile.h"
#include "core/Cp932.h"

namespace listexport {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

struct ColumnGroup
{
    int span;
    const char* align;
};

QList<int> htmlWidths(ListKind kind)
{
    switch (kind) {
    case ListKind::Entries:
        return {90, 60, 200, 130, 200, 70, 80, 110, 90, 90, 110, 70, 70, 90, 300};
    case ListKind::Year:
        return {20, 80, 80, 80, 80, 80, 60, 80, 80, 80};
    case ListKind::Total:
        return {30, 80, 80, 80, 80, 80, 60, 80, 80, 80, 100};
    }
    return {};
}

QList<ColumnGroup> columnGroups(ListKind kind)
{
    switch (kind) {
    case ListKind::Entries:
        return {{1, "left"}, {1, "right"}, {4, "left"}, {2, "right"}, {7, "left"}};
    case ListKind::Year:
        return {{1, "left"}, {9, "right"}};
    case ListKind::Total:
        return {{1, "left"}, {10, "right"}};
    }
    return {};
}

QString quotedRecord(const QStringList& fields)
{
    QStringList quoted;
    for (const QString& field : fields)
        quoted.append(u'"' + field + u'"');
    return quoted.join(u',') + kCrLf;
}

// Room for the rows at a guessed width, so the output grows a few times, not per row.
qsizetype guessedSize(const ExportInput& input)
{
    return input.rowCount() * 200 + 4096;
}

// Where the writers put the text: `out` grows, and `rowDone` may take what it holds after
// every row (the byte writer encodes it and empties it). False from `rowDone` stops.
struct Output
{
    QString& out;
    std::function<bool()> rowDone;
};

// Calls `write` for each row, then tells `rowWritten`.
template <typename Write>
bool forEachRow(const ExportInput& input, const std::function<void(int)>& rowWritten,
                const Output& output, Write write)
{
    const qsizetype rows = input.rowCount();
    for (qsizetype i = 0; i < rows; ++i) {
        write(i);
        if (output.rowDone && !output.rowDone())
            return false;
        if (rowWritten)
            rowWritten(int(i + 1));
    }
    return true;
}

bool writeCsv(const ExportInput& input, const std::function<void(int)>& rowWritten,
              const Output& output)
{
    QString& out = output.out;
    const QList<int> columns = exportedColumns(input.kind);
    out += quotedRecord(headerTexts(input.kind, input.keyIsEndDay));
    const bool complete = forEachRow(input, rowWritten, output, [&](qsizetype row) {
        for (qsizetype c = 0; c < columns.size(); ++c) {
            if (c > 0)
                out += u',';
            out += u'"';
            out += input.cell(row, columns.at(c));
            out += u'"';
        }
        out += kCrLf;
    });
    if (!complete)
        return false;
    if (input.withStatistics) {
        const auto& p = input.panel;
        out += kCrLf;
        const auto headers = statisticsHeaders();
        out += quotedRecord(headers[0]);
        out += quotedRecord({p[0], p[1], p[2]});
        out += quotedRecord(headers[1]);
        out += quotedRecord({p[3], p[4], p[5]});
    }
    return true;
}

// Appends `text` with the three characters that would make markup of it written as entities.
void appendHtmlText(QString& out, const QString& text)
{
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char* entity = c == u'&'   ? "&amp;"
                             : c == u'<' ? "&lt;"
                             : c == u'>' ? "&gt;"
                                         : nullptr;
        if (!entity)
            continue;
        out += QStringView(text).sliced(from, i - from);
        out += QLatin1String(entity);
        from = i + 1;
    }
    out += QStringView(text).sliced(from);
}

QString htmlCells(const QStringList& texts, const QString& between)
{
    QString out;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i > 0)
            out += between;
        appendHtmlText(out, texts.at(i));
    }
    return out;
}

const QString kTableStart = QStringLiteral("<TABLE BORDER= \"1\" >");

bool writeHtml(const ExportInput& input, const std::function<void(int)>& rowWritten,
               const Output& output)
{
    QString& out = output.out;
    out += kTableStart + kCrLf;
    bool first = true;
    for (const ColumnGroup& group : columnGroups(input.kind)) {
        out += (first ? QStringLiteral("<COL SPAN= \"") : QStringLiteral("<COL SPAN=\"")) +
               QString::number(group.span) + QStringLiteral("\" ALIGN=\"") +
               QLatin1String(group.align) + QStringLiteral("\">");
        first = false;
    }
    out += kCrLf;

    const QStringList headers = headerTexts(input.kind, input.keyIsEndDay);
    const QList<int> widths = htmlWidths(input.kind);
    out += QStringLiteral("<TR>");
    for (int i = 0; i < headers.size(); ++i)
        out +=
            QStringLiteral("<TD WIDTH=\"%1\" NOWRAP>%2</TD>").arg(widths.at(i)).arg(headers.at(i));
    out += QStringLiteral("</TR>") + kCrLf;

    const QList<int> columns = exportedColumns(input.kind);
    // The fragment is pasted into the user's own page and the listings come from another
    // site: a value is text there, never markup.
    const QString rowStart = QStringLiteral("<TR><TD>");
    const QString between = QStringLiteral("</TD><TD>");
    const QString rowEnd = QStringLiteral("</TD></TR>\r\n");
    const bool complete = forEachRow(input, rowWritten, output, [&](qsizetype row) {
        out += rowStart;
        for (qsizetype c = 0; c < columns.size(); ++c) {
            if (c > 0)
                out += between;
            appendHtmlText(out, input.cell(row, columns.at(c)));
        }
        out += rowEnd;
    });
    if (!complete)
        return false;
    out += QStringLiteral("</TABLE>") + kCrLf;

    if (input.withStatistics) {
        const auto& p = input.panel;
        const QString cells = QStringLiteral("</TD><TD NOWRAP>");
        out += QStringLiteral("<BR>") + kCrLf + kTableStart + kCrLf;
        out += QStringLiteral("<COL SPAN= \"3\" ALIGN=\"right\">") + kCrLf;
        out +=
            QStringLiteral(
                "<TR ALIGN=\"center\"><TD NOWRAP>当選総数（件）</TD><TD NOWRAP>応募総数（件）</TD>"
                "<TD NOWRAP>当選率（％）</TD></TR>") +
            kCrLf;
        out += QStringLiteral("<TR><TD NOWRAP>") + htmlCells({p[0], p[1], p[2]}, cells) +
               QStringLiteral("</TD></TR>") + kCrLf;
        out += QStringLiteral(
                   "<TR ALIGN=\"center\"><TD NOWRAP>当選総額(円)</TD><TD NOWRAP>支出総額(円)</TD>"
                   "<TD NOWRAP>収支総額(円)</TD></TR>") +
               kCrLf;
        out += QStringLiteral("<TR><TD NOWRAP>") + htmlCells({p[3], p[4], p[5]}, cells) +
               QStringLiteral("</TD></TR>") + kCrLf;
        out += QStringLiteral("</TABLE>") + kCrLf;
    }
    return true;
}

bool writeExport(const ExportInput& input, Format format,
                 const std::function<void(int)>& rowWritten, const Output& output)
{
    return format == Format::Csv ? writeCsv(input, rowWritten, output)
                                 : writeHtml(input, rowWritten, output);
}

} // namespace

const QString& ExportInput::cell(qsizetype row, int column) const
{
    static const QString none;
    if (!entries.isEmpty())
        return column >= 0 && column < kEntryFieldCount ? entries.at(row)[column] : none;
    const QStringList& cells = rows.at(row);
    return column >= 0 && column < cells.size() ? cells.at(column) : none;
}

QString htmlText(const QString& text)
{
    QString out;
    appendHtmlText(out, text);
    return out;
}

Format formatForPath(const QString& path)
{
    return path.endsWith(QStringLiteral(".csv"), Qt::CaseSensitive) ? Format::Csv : Format::Html;
}

QList<int> exportedColumns(ListKind kind)
{
    switch (kind) {
    case ListKind::Entries:
        return {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    case ListKind::Year:
        return {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    case ListKind::Total:
        return {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    }
    return {};
}

QStringList headerTexts(ListKind kind, bool keyIsEndDay)
{
    const QStringList summary = {
        QStringLiteral("小物当選"), QStringLiteral("中物当選"), QStringLiteral("大物当選"),
        QStringLiteral("当選総数"), QStringLiteral("応募総数"), QStringLiteral("当選率"),
        QStringLiteral("当選総額"), QStringLiteral("支出総額"), QStringLiteral("収支総額")};
    switch (kind) {
    case ListKind::Entries: {
        const QString endDay = QStringLiteral("締切日");
        const QString entryDay = QStringLiteral("応募日");
        return {keyIsEndDay ? endDay : entryDay, QStringLiteral("ＩＤ番号"),
                QStringLiteral("応募先"),        QStringLiteral("ジャンル"),
                QStringLiteral("賞品名"),        QStringLiteral("結果"),
                QStringLiteral("当選額"),        QStringLiteral("当選数"),
                keyIsEndDay ? entryDay : endDay, QStringLiteral("当選日"),
                QStringLiteral("応募形式"),      QStringLiteral("選考方法"),
                QStringLiteral("サイクル"),      QStringLiteral("応募方法"),
                QStringLiteral("コメント")};
    }
    case ListKind::Year:
        return QStringList{QStringLiteral("月")} + summary;
    case ListKind::Total:
        return QStringList{QStringLiteral("年")} + summary +
               QStringList{QStringLiteral("目標収支金額")};
    }
    return {};
}

std::array<QStringList, 2> statisticsHeaders()
{
    return {QStringList{QStringLiteral("当選総数（件）"), QStringLiteral("応募総数（件）"),
                        QStringLiteral("当選率（％）")},
            QStringList{QStringLiteral("当選総額（円）"), QStringLiteral("支出総額（円）"),
                        QStringLiteral("収支総額（円）")}};
}

QString exportText(const ExportInput& input, Format format,
                   const std::function<void(int)>& rowWritten)
{
    QString out;
    out.reserve(guessedSize(input));
    writeExport(input, format, rowWritten, {out, {}});
    return out;
}

EncodedExport encodeExport(const QString& text)
{
    EncodedExport result;
    if (cp932::encode(text, result.bytes))
        return result;
    result.bytes.clear();
    const QChar bad = cp932::firstUnencodable(text);
    const qsizetype at = bad.isNull() ? -1 : text.indexOf(bad);
    if (at < 0)
        result.unencodable = QString(QChar::ReplacementCharacter); // the converter itself failed
    else
        result.unencodable =
            text.mid(at, bad.isHighSurrogate() ? 2 : 1); // whole emoji, not half of it
    return result;
}

} // namespace listexport

namespace listexport {

ExportWrite writeExportFile(const QString& path, const ExportInput& input, Format format,
                            const std::function<void(int)>& rowWritten)
{
    constexpr qsizetype kWriteSize = 64 * 1024;
    ExportWrite result;
    AtomicFileWriter file(path, NewFileMode::Umask); // the user chose the place
    result.error = file.open();
    if (!result.error.isEmpty())
        return result;
    QString pending;
    QByteArray bytes;
    bytes.reserve(2 * kWriteSize);
    const auto passOn = [&](qsizetype atLeast) {
        if (!cp932::appendEncoded(pending, bytes)) {
            result.unencodable = encodeExport(pending).unencodable;
            return false;
        }
        pending.clear(); // keeps its room for the next row
        if (bytes.size() < atLeast)
            return true;
        result.error = file.write(bytes);
        bytes.clear();
        return result.error.isEmpty();
    };
    if (writeExport(input, format, rowWritten, {pending, [&] { return passOn(kWriteSize); }}) &&
        passOn(0)) // what follows the last row
        result.error = file.commit();
    return result;
}

} // namespace listexport

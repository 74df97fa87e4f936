#include "diary/PrintLayout.h"

#include "core/Cp932.h"

#include <cmath>

namespace printlayout {

namespace {

QList<int> printedColumns(listexport::ListKind kind)
{
    if (kind == listexport::ListKind::Entries)
        return {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    return listexport::exportedColumns(kind);
}

QStringList printedHeaders(const listexport::ExportInput& input)
{
    QStringList headers = listexport::headerTexts(input.kind, input.keyIsEndDay);
    if (input.kind == listexport::ListKind::Entries)
        headers.insert(3, QStringLiteral("URL"));
    return headers;
}

int charWidth(const QString& character)
{
    const char16_t c = character.at(0).unicode();
    if (c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F))
        return 1;
    QByteArray bytes;
    if (cp932::encode(character, bytes))
        return int(bytes.size());
    return 2;
}

// One user-visible character: a surrogate pair stays whole.
qsizetype characterLength(const QString& text, qsizetype at)
{
    return text.at(at).isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
}

} // namespace

QStringList printLines(const listexport::ExportInput& input,
                       const std::function<void(int)>& rowDone)
{
    QStringList lines{printedHeaders(input).join(u',')};
    const QList<int> columns = printedColumns(input.kind);
    const qsizetype rows = input.rowCount();
    for (qsizetype i = 0; i < rows; ++i) {
        QStringList fields;
        for (int column : columns)
            fields.append(input.cell(i, column));
        lines.append(fields.join(u','));
        if (rowDone)
            rowDone(int(i + 1));
    }
    if (input.withStatistics) {
        const auto& p = input.panel;
        const auto headers = listexport::statisticsHeaders();
        lines.append(headers[0].join(u','));
        lines.append(QStringList{p[0], p[1], p[2]}.join(u','));
        lines.append(headers[1].join(u','));
        lines.append(QStringList{p[3], p[4], p[5]}.join(u','));
    }
    return lines;
}

QList<int> fontSizes()
{
    return {9, 12, 18};
}

std::optional<FontMetrics> metricsFor(int points)
{
    // A point is 0.3528 mm; a half-width character is half the size, counted in twips.
    switch (points) {
    case 9:
        return FontMetrics{3.1752, 1.5873};
    case 12:
        return FontMetrics{4.2336, 2.1164};
    case 18:
        return FontMetrics{6.3504, 3.1746};
    default:
        return std::nullopt;
    }
}

int ansiByteLength(const QString& text)
{
    int bytes = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = characterLength(text, i);
        bytes += charWidth(text.mid(i, len));
        i += len;
    }
    return bytes;
}

PageCounts pageCounts(const PaperGeometry& paper, const Borders& margins, const FontMetrics& font)
{
    const Borders& min = paper.unprintable;
    const double height = paper.paperHeight - min.top - min.bottom - margins.top - margins.bottom;
    const double width = paper.paperWidth - min.left - min.right - margins.left - margins.right;
    return {int(std::floor(height / font.lineHeight)), int(std::floor(width / font.charWidth))};
}

QStringList splitLine(const QString& line, int charsPerLine)
{
    QStringList pieces;
    QString piece;
    int pieceBytes = 0;
    for (qsizetype i = 0; i < line.size();) {
        const qsizetype len = characterLength(line, i);
        const QString character = line.mid(i, len);
        const int width = charWidth(character);
        if (pieceBytes + width > charsPerLine && !piece.isEmpty()) {
            pieces.append(piece);
            piece.clear();
            pieceBytes = 0;
        }
        piece += character;
        pieceBytes += width;
        i += len;
    }
    pieces.append(piece);
    return pieces;
}

QList<QStringList> layOutPages(const QStringList& lines, const PageCounts& counts)
{
    QList<QStringList> pages;
    if (lines.size() <= 1 || !counts.fits())
        return pages;
    for (const QString& line : lines) {
        for (const QString& piece : splitLine(line, counts.charsPerLine)) {
            if (pages.isEmpty() || pages.last().size() >= counts.linesPerPage)
                pages.append(QStringList());
            pages.last().append(piece);
        }
    }
    return pages;
}

} // namespace printlayout

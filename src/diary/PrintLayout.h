#pragma once

#include "diary/Export.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Printing a list as plain text lines: the lines per tab, and how they are cut to the
// width of the page and spread over pages. Lengths are millimetres.
namespace printlayout {

// The lines of a printed list: the header, one line per row, then the statistics when
// asked for. Fields are joined with "," and nothing is quoted. Entries keep their URL
// (unlike a saved list) but never the picture path. `rowDone` is told 1, 2, ... per row.
QStringList printLines(const listexport::ExportInput& input,
                       const std::function<void(int)>& rowDone = {});

// The sizes offered and the height of a line and width of a half-width character at each.
struct FontMetrics
{
    double lineHeight = 0;
    double charWidth = 0;
};
QList<int> fontSizes();
std::optional<FontMetrics> metricsFor(int points);

// Width in code page 932 bytes: half-width 1, full-width 2. A character code page 932
// cannot hold counts as full-width, which is how it would be drawn.
int ansiByteLength(const QString& text);

struct Borders
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// A printer as measured: the unprintable borders and the paper, rounded to whole millimetres.
struct PaperGeometry
{
    Borders unprintable;
    int paperWidth = 0;
    int paperHeight = 0;
};

struct PageCounts
{
    int linesPerPage = 0;
    int charsPerLine = 0;
    bool fits() const { return linesPerPage > 0 && charsPerLine > 0; }
};

// Drawing starts at the printable area, so the user's margins are counted inside it;
// counting them from the paper edge would push the last line and the right end off the
// printable area whenever a printer has borders.
PageCounts pageCounts(const PaperGeometry& paper, const Borders& margins, const FontMetrics& font);

// Cuts a line greedily into pieces of at most `charsPerLine` bytes; a character never
// splits. A line that fits is one piece, an empty line one empty piece.
QStringList splitLine(const QString& line, int charsPerLine);

// The pieces of every line, page by page. A list of only its header (or nothing) has no page.
QList<QStringList> layOutPages(const QStringList& lines, const PageCounts& counts);

} // namespace printlayout

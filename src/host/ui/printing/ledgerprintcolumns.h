#pragma once

#include <QString>

#include <cstddef>
#include <vector>

class QFontMetricsF;

namespace host::ui {

class LedgerGrid;

// The columns of a printed ledger page, sized to what they hold rather than to the screen.
struct PrintColumn
{
    int col;
    double width;
};

// One cell of the title rows: a caption over one column, or a group title over neighbours.
// A column without a second title text spans both rows and its caption may take two lines.
struct TitleCell
{
    std::size_t first;
    std::size_t count;
    bool lower;
    bool spans;
    QString text;
};

std::vector<TitleCell> titleCells(LedgerGrid &grid, const std::vector<PrintColumn> &columns);

struct PrintFit
{
    std::vector<PrintColumn> columns;
    // The table font's share of its full size.
    double scale = 1;
};

struct FitRules
{
    // Around a cell's text at the full size, both sides together.
    double padding;
    // A quantity column left blank: room to write a number by hand.
    double blankWidth;
    double smallestScale;
    double pageWidth;
};

// Each shown column as wide as its widest text among the data rows (asked for one at a time)
// and its caption on two lines; the text shrinks, down to the smallest scale, only for a table
// wider than the page, whose captions may then take three lines, and past that the columns
// are narrowed to the page.
PrintFit fitPrintColumns(LedgerGrid &grid, const QFontMetricsF &metrics, const FitRules &rules);

// The caption on the fewest lines that fit the width, at most `lines` (and never more than
// three), broken where a line may break: between words, or between Chinese characters; what is
// still too wide is elided.
QString captionLines(const QString &text, const QFontMetricsF &metrics, double width, int lines);

} // namespace host::ui

#include "host/ui/printing/ledgerprintcolumns.h"

#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/ledger/ledgermodel.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <numeric>
#include <utility>

namespace host::ui {

namespace {

constexpr int kTitleRows = 2;
constexpr int kFitSteps = 24;
constexpr qsizetype kShortestLine = 2;
constexpr int kMostCaptionLines = 3;
// Text measured at the full size and drawn smaller may come out a little wider than scaled.
constexpr double kSlack = 1.03;

struct Wrap
{
    QStringList lines;
    double width;
};

// The caption broken into at most `most` lines (up to three) so that its widest line is the
// narrowest; fewer lines where more make it no narrower. A line of a single character reads
// as a stray mark.
Wrap narrowestWrap(const QString &text, const QFontMetricsF &metrics, int most)
{
    Wrap best{{text}, metrics.horizontalAdvance(text)};
    std::vector<qsizetype> breaks;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    for (qsizetype at = finder.toNextBoundary(); at > 0 && at < text.size();
         at = finder.toNextBoundary())
        breaks.push_back(at);
    auto consider = [&](const std::vector<qsizetype> &cuts) {
        QStringList lines;
        double width = 0;
        qsizetype from = 0;
        for (std::size_t i = 0; i <= cuts.size(); ++i) {
            const qsizetype to = i < cuts.size() ? cuts[i] : text.size();
            const QString line = text.mid(from, to - from).trimmed();
            if (line.size() < kShortestLine)
                return;
            width = std::max(width, metrics.horizontalAdvance(line));
            lines << line;
            from = to;
        }
        if (width < best.width)
            best = {lines, width};
    };
    if (most >= 2)
        for (const qsizetype cut : breaks)
            consider({cut});
    if (most >= 3)
        for (std::size_t i = 0; i < breaks.size(); ++i)
            for (std::size_t j = i + 1; j < breaks.size(); ++j)
                consider({breaks[i], breaks[j]});
    return best;
}

struct Group
{
    std::size_t first;
    std::size_t count;
    double caption;
};

double sum(const std::vector<double> &widths)
{
    return std::accumulate(widths.begin(), widths.end(), 0.0);
}

} // namespace

std::vector<TitleCell> titleCells(LedgerGrid &grid, const std::vector<PrintColumn> &columns)
{
    const int fixedRows = grid.Face().FixedRows();
    auto text = [&grid](int row, int col) { return grid.Cell(row, col).Text().trimmed(); };
    std::vector<TitleCell> cells;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const QString upper = text(1, columns[i].col);
        if (fixedRows < 2 || text(2, columns[i].col).isEmpty()) {
            cells.push_back({i, 1, false, true, upper});
            continue;
        }
        std::size_t j = i;
        for (; j < columns.size() && text(1, columns[j].col) == upper &&
               !text(2, columns[j].col).isEmpty();
             ++j)
            cells.push_back({j, 1, true, false, text(2, columns[j].col)});
        cells.push_back({i, j - i, false, false, upper});
        i = j - 1;
    }
    return cells;
}

PrintFit fitPrintColumns(LedgerGrid &grid, const QFontMetricsF &metrics, const FitRules &rules)
{
    PrintFit fit;
    for (int col = 1; col <= grid.Face().Cols(); ++col)
        if (!grid.Col(col).Switch(LedgerGrid::HiddenSwitch) && grid.Col(col).Width() > 0)
            fit.columns.push_back({col, 0});
    const std::size_t n = fit.columns.size();
    std::vector<double> natural(n, 0.0);
    std::vector<bool> blank(n, true);
    const LedgerModel &model = grid.ledgerModel();
    for (int row = kTitleRows + 1; row <= grid.Face().Rows(); ++row) {
        long backColor = -1;
        const QStringList cells = model.rowCells(row, backColor);
        for (std::size_t i = 0; i < n; ++i) {
            const int col = fit.columns[i].col;
            if (col > cells.size() || cells.at(col - 1).trimmed().isEmpty())
                continue;
            blank[i] = false;
            natural[i] = std::max(natural[i], metrics.horizontalAdvance(cells.at(col - 1)));
        }
    }
    // A caption that may take two lines takes them only where the page has no room for one.
    std::vector<double> unwrapped;
    std::vector<Group> groups;
    const std::vector<double> data = natural;
    const std::vector<TitleCell> titles = titleCells(grid, fit.columns);
    auto takeCaptions = [&](int spanLines) {
        natural = data;
        unwrapped = data;
        groups.clear();
        for (const TitleCell &cell : titles) {
            const double width =
                narrowestWrap(cell.text, metrics, cell.spans ? spanLines : 1).width;
            if (cell.count > 1) {
                groups.push_back({cell.first, cell.count, width});
                continue;
            }
            natural[cell.first] = std::max(natural[cell.first], width);
            unwrapped[cell.first] =
                std::max(unwrapped[cell.first], metrics.horizontalAdvance(cell.text));
        }
    };
    takeCaptions(2);
    std::vector<double> least(n, 0.0);
    for (std::size_t i = 0; i < n; ++i)
        if (blank[i] && model.isQuantityColumn(fit.columns[i].col))
            least[i] = rules.blankWidth;

    auto widthsAt = [&](double scale) {
        std::vector<double> widths(n);
        for (std::size_t i = 0; i < n; ++i)
            widths[i] = std::max((natural[i] * kSlack + rules.padding) * scale, least[i]);
        for (const Group &g : groups) {
            const auto begin = widths.begin() + static_cast<std::ptrdiff_t>(g.first);
            const auto end = begin + static_cast<std::ptrdiff_t>(g.count);
            const double missing =
                (g.caption * kSlack + rules.padding) * scale - std::accumulate(begin, end, 0.0);
            if (missing > 0)
                std::for_each(begin, end,
                              [&](double &w) { w += missing / static_cast<double>(g.count); });
        }
        return widths;
    };
    if (sum(widthsAt(1)) <= rules.pageWidth) {
        std::vector<std::size_t> order(n);
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return unwrapped[a] - natural[a] < unwrapped[b] - natural[b];
        });
        for (const std::size_t i : order) {
            const double wrapped = std::exchange(natural[i], unwrapped[i]);
            if (sum(widthsAt(1)) > rules.pageWidth) {
                natural[i] = wrapped;
                break;
            }
        }
    } else {
        // Printed smaller, the title rows have room for a caption's third line.
        takeCaptions(kMostCaptionLines);
        // The widths grow with the scale, so the largest scale that fits is found by halving.
        double fits = rules.smallestScale;
        double tooWide = 1;
        if (sum(widthsAt(fits)) <= rules.pageWidth)
            for (int step = 0; step < kFitSteps; ++step) {
                const double middle = (fits + tooWide) / 2;
                (sum(widthsAt(middle)) <= rules.pageWidth ? fits : tooWide) = middle;
            }
        fit.scale = fits;
    }
    std::vector<double> widths = widthsAt(fit.scale);
    const double total = sum(widths);
    const double narrowing = total > rules.pageWidth ? rules.pageWidth / total : 1.0;
    for (std::size_t i = 0; i < n; ++i)
        fit.columns[i].width = widths[i] * narrowing;
    return fit;
}

QString captionLines(const QString &text, const QFontMetricsF &metrics, double width, int lines)
{
    Wrap wrap{{text}, metrics.horizontalAdvance(text)};
    for (int most = 2; most <= std::min(lines, kMostCaptionLines) && wrap.width > width; ++most)
        wrap = narrowestWrap(text, metrics, most);
    QStringList shown;
    for (const QString &line : wrap.lines)
        shown << metrics.elidedText(line, Qt::ElideRight, width);
    return shown.join(QLatin1Char('\n'));
}

} // namespace host::ui

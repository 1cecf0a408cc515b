#include "host/ui/printing/ledgerprinter.h"

#include "host/core/hosterror.h"
#include "host/ui/form/fonts.h"
#include "host/ui/form/olecolor.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/ledger/ledgermodel.h"
#include "host/ui/modal/modalservices.h"
#include "host/ui/printing/ledgerprintcolumns.h"
#include "host/ui/printing/printedfile.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace host::ui {

namespace {

constexpr int kTitleRows = 2;
constexpr long kWhite = 0xFFFFFF;
constexpr int kTablePoints = 9;
// Text smaller than this is hard to read on paper.
constexpr double kSmallestTablePoints = 5.5;
// A cell's text keeps this share of the row height clear on either side.
constexpr double kPadding = 0.15;
constexpr double kMillimetresPerInch = 25.4;
// A blank quantity column is left for a number written by hand.
constexpr double kHandwritingMillimetres = 20;

QFont fontOf(const LedgerPrinter::PrintFont &wanted)
{
    QFont font = uiFont(wanted.Size > 0 ? wanted.Size : 9);
    if (!wanted.Name.isEmpty())
        font.setFamilies({wanted.Name, cjkFamily()});
    font.setBold(wanted.Bold);
    return font;
}

// The sections of a line across the width: one alone is centred; of several the first is
// left, the last right and the others centred in equal shares.
void drawSections(QPainter &painter, const QRectF &rect, const QString &text)
{
    QStringList sections = text.split(QLatin1Char('|'));
    if (sections.size() > 1 && sections.last().isEmpty())
        sections.removeLast();
    const auto n = sections.size();
    if (n == 1) {
        painter.drawText(rect, Qt::AlignCenter, sections.first());
        return;
    }
    const double share = rect.width() / static_cast<double>(n);
    for (qsizetype i = 0; i < n; ++i) {
        const QRectF cell(rect.left() + share * static_cast<double>(i), rect.top(), share,
                          rect.height());
        const Qt::Alignment horizontal =
            i == 0 ? Qt::AlignLeft : (i == n - 1 ? Qt::AlignRight : Qt::AlignHCenter);
        painter.drawText(cell, horizontal | Qt::AlignVCenter, sections.at(i));
    }
}

class PageWriter
{
public:
    // Padding: kept clear on either side of a cell's text.
    PageWriter(QPainter &painter, LedgerGrid &grid, double rowHeight, double padding, bool colors)
        : m_painter(painter), m_grid(grid), m_rowHeight(rowHeight), m_padding(padding),
          m_colors(colors)
    {}

    std::vector<PrintColumn> columns;

    // The title rows, each caption in the columns under it.
    double titles(double top, double left)
    {
        if (m_titles.empty())
            m_titles = titleCells(m_grid, columns);
        const QFontMetricsF metrics(m_painter.font(), m_painter.device());
        for (const TitleCell &t : m_titles) {
            double x = left;
            for (std::size_t i = 0; i < t.first; ++i)
                x += columns[i].width;
            double width = 0;
            for (std::size_t i = t.first; i < t.first + t.count; ++i)
                width += columns[i].width;
            const QRectF rect(x, top + (t.lower ? m_rowHeight : 0), width,
                              m_rowHeight * (t.spans ? kTitleRows : 1));
            box(rect, -1);
            const QRectF inner = innerOf(rect);
            const int lines =
                t.spans ? static_cast<int>(inner.height() / metrics.lineSpacing()) : 1;
            m_painter.drawText(inner, Qt::AlignCenter,
                               captionLines(t.text, metrics, inner.width(), lines));
        }
        return top + m_rowHeight * kTitleRows;
    }

    void row(double top, double left, int row)
    {
        long backColor = -1;
        const QStringList cells = m_grid.ledgerModel().rowCells(row, backColor);
        const QFontMetricsF metrics(m_painter.font(), m_painter.device());
        double x = left;
        for (const PrintColumn &c : columns) {
            const Qt::Alignment align =
                m_grid.ledgerModel().isQuantityColumn(c.col) ? Qt::AlignRight : Qt::AlignLeft;
            const QString text = c.col <= cells.size() ? cells.at(c.col - 1) : QString();
            const QRectF rect(x, top, c.width, m_rowHeight);
            box(rect, backColor);
            const QRectF inner = innerOf(rect);
            m_painter.drawText(inner, align | Qt::AlignVCenter,
                               metrics.elidedText(text, Qt::ElideRight, inner.width()));
            x += c.width;
        }
    }

private:
    void box(const QRectF &rect, long backColor)
    {
        if (m_colors && backColor >= 0 && backColor != kWhite)
            m_painter.fillRect(rect, fromOleColor(backColor));
        m_painter.drawRect(rect);
    }

    QRectF innerOf(const QRectF &rect) const { return rect.adjusted(m_padding, 0, -m_padding, 0); }

    QPainter &m_painter;
    LedgerGrid &m_grid;
    double m_rowHeight;
    double m_padding;
    bool m_colors;
    std::vector<TitleCell> m_titles;
};

} // namespace

LedgerPrinter::LedgerPrinter(LedgerGrid &grid) : m_grid(grid) {}

LedgerPrinter::~LedgerPrinter() = default;

LedgerPrinter::PrintLine &LedgerPrinter::line(std::array<PrintLine, 2> &lines, int i)
{
    if (i < 1 || i > static_cast<int>(lines.size()))
        throw HostError("Subscript out of range", HostError::SubscriptOutOfRange);
    return lines[static_cast<std::size_t>(i - 1)];
}

LedgerPrinter::PrintLine &LedgerPrinter::HeaderLine(int i)
{
    return line(m_headers, i);
}

LedgerPrinter::PrintLine &LedgerPrinter::FooterLine(int i)
{
    return line(m_footers, i);
}

QPrinter &LedgerPrinter::printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setPageOrientation(QPageLayout::Landscape);
    }
    return *m_printer;
}

int LedgerPrinter::Orientation() const
{
    // A printer not made yet starts on a landscape page.
    return !m_printer || m_printer->pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
}

void LedgerPrinter::setOrientation(int orientation)
{
    if (orientation == 1 || orientation == 2)
        printer().setPageOrientation(orientation == 2 ? QPageLayout::Landscape
                                                      : QPageLayout::Portrait);
}

void LedgerPrinter::Print()
{
    if (modals().printDialog(printer()))
        render(printer());
}

void LedgerPrinter::Preview()
{
    modals().printPreview(printer(), [this](QPrinter &printer) { render(printer); });
}

void LedgerPrinter::PrintSetup()
{
    modals().printSetup(printer());
}

QString LedgerPrinter::expandPageTokens(const QString &text, int page, int pages)
{
    QString result = text;
    // The codes in Simplified and Traditional Chinese, and as an English host writes them.
    for (const char *code : {"&[总页]", "&[總頁]", "&[Pages]"})
        result.replace(QString::fromUtf8(code), QString::number(pages));
    for (const char *code : {"&[页]", "&[頁]", "&[Page]"})
        result.replace(QString::fromUtf8(code), QString::number(page));
    return result;
}

namespace {

double lineHeight(const LedgerPrinter::PrintLine &line, QPrinter &printer)
{
    return line.Text.isEmpty() ? 0.0 : QFontMetricsF(fontOf(line.Font), &printer).height() * 1.5;
}

} // namespace

LedgerPrinter::Layout LedgerPrinter::layout(QPrinter &printer) const
{
    Layout l;
    const double pageHeight = printer.pageLayout().paintRectPixels(printer.resolution()).height();
    l.headerHeight = lineHeight(m_headers[0], printer) + lineHeight(m_headers[1], printer);
    l.footerHeight = lineHeight(m_footers[0], printer) + lineHeight(m_footers[1], printer);
    l.rowHeight = QFontMetricsF(uiFont(kTablePoints), &printer).height() * 1.6;
    l.tableTop = l.headerHeight + l.rowHeight * 0.5;
    const double tableBottom = pageHeight - l.footerHeight - l.rowHeight * 0.5;
    l.rowsPerPage =
        std::max(1, static_cast<int>((tableBottom - l.tableTop) / l.rowHeight) - kTitleRows);
    return l;
}

int LedgerPrinter::rowsPerPage(QPrinter &printer) const
{
    return layout(printer).rowsPerPage;
}

int LedgerPrinter::render(QPrinter &printer)
{
    // Begun, a PDF printer empties its file at once.
    const QString file = printer.outputFileName();
    if (!file.isEmpty() && m_refusesOutputFile && m_refusesOutputFile(file)) {
        printer.setOutputFileName({});
        return 0;
    }
    const Layout l = layout(printer);
    PrintedFile output(printer);
    QPainter painter;
    if (!painter.begin(&printer))
        throw HostError("The printer could not be started.");
    const double dpi = printer.resolution();
    const QRectF page(QPointF(0, 0),
                      printer.pageLayout().paintRectPixels(printer.resolution()).size());
    QFont tableFont = uiFont(kTablePoints);
    const FitRules rules{l.rowHeight * kPadding * 2,
                         kHandwritingMillimetres / kMillimetresPerInch * dpi,
                         kSmallestTablePoints / kTablePoints, page.width()};
    PrintFit fit = fitPrintColumns(m_grid, QFontMetricsF(tableFont, &printer), rules);
    tableFont.setPointSizeF(kTablePoints * fit.scale);
    PageWriter writer(painter, m_grid, l.rowHeight, l.rowHeight * kPadding * fit.scale,
                      m_printColors);
    writer.columns = std::move(fit.columns);
    double total = 0;
    for (const PrintColumn &c : writer.columns)
        total += c.width;
    const double left = (page.width() - total) / 2;
    const int rowsPerPage = l.rowsPerPage;
    const int dataRows = std::max(m_grid.Face().Rows() - kTitleRows, 0);
    const int pages = std::max(1, (dataRows + rowsPerPage - 1) / rowsPerPage);
    const double rowHeight = l.rowHeight;

    auto drawLines = [&](const std::array<PrintLine, 2> &lines, double top, int pageNo) {
        for (const PrintLine &line : lines) {
            const double h = lineHeight(line, printer);
            if (h == 0)
                continue;
            painter.setFont(fontOf(line.Font));
            drawSections(painter, QRectF(0, top, page.width(), h),
                         expandPageTokens(line.Text, pageNo, pages));
            top += h;
        }
    };

    for (int pageNo = 1; pageNo <= pages; ++pageNo) {
        if (pageNo > 1)
            printer.newPage();
        drawLines(m_headers, 0, pageNo);
        painter.setFont(tableFont);
        double top = writer.titles(l.tableTop, left);
        const int first = kTitleRows + 1 + (pageNo - 1) * rowsPerPage;
        const int last = std::min(first + rowsPerPage - 1, kTitleRows + dataRows);
        for (int row = first; row <= last; ++row, top += rowHeight)
            writer.row(top, left, row);
        drawLines(m_footers, page.height() - l.footerHeight, pageNo);
    }
    output.finish(painter.end());
    return pages;
}

} // namespace host::ui

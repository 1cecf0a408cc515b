#include "host/ui/ledgerprinter.h"

#include "host/core/hosterror.h"
#include "host/ui/fonts.h"
#include "host/ui/ledgergrid.h"
#include "host/ui/ledgermodel.h"
#include "host/ui/modalservices.h"
#include "host/ui/olecolor.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace host::ui {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr int kTitleRows = 2;
constexpr long kWhite = 0xFFFFFF;
constexpr int kTablePoints = 9;
constexpr double kSmallestTablePoints = 5.0;

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

struct PrintColumn
{
    int col;
    double width;
};

class PageWriter
{
public:
    PageWriter(QPainter &painter, LedgerGrid &grid, double rowHeight, bool colors)
        : m_painter(painter), m_grid(grid), m_rowHeight(rowHeight), m_colors(colors)
    {}

    std::vector<PrintColumn> columns;

    void cell(const QRectF &rect, const QString &text, Qt::Alignment align, long backColor = -1)
    {
        if (m_colors && backColor >= 0 && backColor != kWhite)
            m_painter.fillRect(rect, fromOleColor(backColor));
        m_painter.drawRect(rect);
        const QRectF inner = rect.adjusted(m_rowHeight * 0.15, 0, -m_rowHeight * 0.15, 0);
        const QString shown = m_painter.fontMetrics().elidedText(text, Qt::ElideRight,
                                                                 static_cast<int>(inner.width()));
        m_painter.drawText(inner, align | Qt::AlignVCenter, shown);
    }

    // The title rows; a column without a second title text spans both rows, and neighbours
    // with the same group title share one cell for it.
    double titles(double top, double left, int fixedRows)
    {
        auto text = [this](int row, int col) { return m_grid.Cell(row, col).Text().trimmed(); };
        double x = left;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const int col = columns[i].col;
            const QString upper = text(1, col);
            const QString lower = fixedRows > 1 ? text(2, col) : QString();
            if (lower.isEmpty()) {
                cell(QRectF(x, top, columns[i].width, m_rowHeight * fixedRows), upper,
                     Qt::AlignHCenter);
                x += columns[i].width;
                continue;
            }
            double groupWidth = 0;
            std::size_t j = i;
            for (; j < columns.size() && text(1, columns[j].col) == upper &&
                   !text(2, columns[j].col).isEmpty();
                 ++j) {
                cell(QRectF(x + groupWidth, top + m_rowHeight, columns[j].width, m_rowHeight),
                     text(2, columns[j].col), Qt::AlignHCenter);
                groupWidth += columns[j].width;
            }
            cell(QRectF(x, top, groupWidth, m_rowHeight), upper, Qt::AlignHCenter);
            x += groupWidth;
            i = j - 1;
        }
        return top + m_rowHeight * fixedRows;
    }

    void row(double top, double left, int row)
    {
        long backColor = -1;
        const QStringList cells = m_grid.ledgerModel().rowCells(row, backColor);
        double x = left;
        for (const PrintColumn &c : columns) {
            const Qt::Alignment align =
                m_grid.ledgerModel().isQuantityColumn(c.col) ? Qt::AlignRight : Qt::AlignLeft;
            const QString text = c.col <= cells.size() ? cells.at(c.col - 1) : QString();
            cell(QRectF(x, top, c.width, m_rowHeight), text, align, backColor);
            x += c.width;
        }
    }

private:
    QPainter &m_painter;
    LedgerGrid &m_grid;
    double m_rowHeight;
    bool m_colors;
};

} // namespace

LedgerPrinter::LedgerPrinter(LedgerGrid &grid)
    : m_grid(grid), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{}

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

int LedgerPrinter::Orientation() const
{
    return m_printer->pageLayout().orientation() == QPageLayout::Landscape ? 1 : 0;
}

void LedgerPrinter::setOrientation(int orientation)
{
    m_printer->setPageOrientation(orientation == 1 ? QPageLayout::Landscape
                                                   : QPageLayout::Portrait);
}

void LedgerPrinter::Print()
{
    if (modals().printDialog(*m_printer))
        render(*m_printer);
}

void LedgerPrinter::Preview()
{
    modals().printPreview(*m_printer, [this](QPrinter &printer) { render(printer); });
}

void LedgerPrinter::PrintSetup()
{
    modals().printSetup(*m_printer);
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
    l.rowsPerPage = std::max(1, static_cast<int>((tableBottom - l.tableTop) / l.rowHeight) -
                                    m_grid.Face().FixedRows());
    return l;
}

int LedgerPrinter::rowsPerPage(QPrinter &printer) const
{
    return layout(printer).rowsPerPage;
}

int LedgerPrinter::render(QPrinter &printer)
{
    const Layout l = layout(printer);
    QPainter painter;
    if (!painter.begin(&printer))
        throw HostError("The printer could not be started.");
    const double dpi = printer.resolution();
    const QRectF page(QPointF(0, 0),
                      printer.pageLayout().paintRectPixels(printer.resolution()).size());
    QFont tableFont = uiFont(kTablePoints);
    PageWriter writer(painter, m_grid, l.rowHeight, m_printColors);
    double total = 0;
    for (int col = 1; col <= m_grid.Face().Cols(); ++col) {
        if (m_grid.Col(col).Switch(LedgerGrid::HiddenSwitch))
            continue;
        const double width = m_grid.Col(col).Width() / kTwipsPerInch * dpi;
        if (width > 0) {
            writer.columns.push_back({col, width});
            total += width;
        }
    }
    // A grid wider than the page is narrowed to fit it, and its text with it as far as it stays
    // legible, so that the cells keep their contents rather than ellipses.
    if (total > page.width()) {
        const double factor = page.width() / total;
        for (PrintColumn &c : writer.columns)
            c.width *= factor;
        total = page.width();
        tableFont.setPointSizeF(std::max(kTablePoints * factor, kSmallestTablePoints));
    }
    const double left = (page.width() - total) / 2;
    const int fixedRows = m_grid.Face().FixedRows();
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
        double top = writer.titles(l.tableTop, left, fixedRows);
        const int first = kTitleRows + 1 + (pageNo - 1) * rowsPerPage;
        const int last = std::min(first + rowsPerPage - 1, kTitleRows + dataRows);
        for (int row = first; row <= last; ++row, top += rowHeight)
            writer.row(top, left, row);
        drawLines(m_footers, page.height() - l.footerHeight, pageNo);
    }
    painter.end();
    return pages;
}

} // namespace host::ui

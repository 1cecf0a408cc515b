#pragma once

#include <QString>

#include <array>
#include <functional>
#include <memory>

class QPainter;
class QPrinter;

namespace host::ui {

class LedgerGrid;

// The print object of a ledger grid: two header and two footer lines above and below the
// grid's title and rows on every page. A line's "|" separates sections spread across the
// page; "&[页]" (or "&[Page]") stands for the page number and "&[总页]" (or "&[Pages]") for the
// page count.
//
// The page starts in landscape, which holds a count book's many columns.
// Settings by the control's dispatch numbers: 3 Orientation, 14 PrintColors.
class LedgerPrinter
{
public:
    struct PrintFont
    {
        QString Name;
        double Size = 9;
        bool Bold = false;
    };
    struct PrintLine
    {
        QString Text;
        PrintFont Font;
    };

    explicit LedgerPrinter(LedgerGrid &grid);
    ~LedgerPrinter();
    LedgerPrinter(const LedgerPrinter &) = delete;
    LedgerPrinter &operator=(const LedgerPrinter &) = delete;

    // Lines 1 and 2.
    PrintLine &HeaderLine(int i);
    PrintLine &FooterLine(int i);

    // 1 portrait, 2 landscape; setting 0 keeps the page as it is set up, so that the user's
    // choice in the page set-up stays.
    int Orientation() const;
    void setOrientation(int orientation);
    // Whether row colours are printed.
    bool PrintColors() const { return m_printColors; }
    void setPrintColors(bool on) { m_printColors = on; }

    // Asks for the printer (or a PDF file) in the print dialog, then prints on it.
    void Print();
    void Preview();
    void PrintSetup();

    // Made on first use: setting a printer up costs more than many a window's whole opening,
    // and most windows never print.
    QPrinter &printer();
    // Data rows that fit on one page of that printer.
    int rowsPerPage(QPrinter &printer) const;
    // Paints every page; returns the page count (0 when the file to print into is refused).
    int render(QPrinter &printer);
    // Asked before a file is written, whichever dialog chose it; it says itself why it
    // refuses one.
    void setRefusesOutputFile(std::function<bool(const QString &)> refuses)
    {
        m_refusesOutputFile = std::move(refuses);
    }

    static QString expandPageTokens(const QString &text, int page, int pages);

private:
    struct Layout
    {
        double headerHeight;
        double footerHeight;
        double rowHeight;
        double tableTop;
        int rowsPerPage;
    };
    Layout layout(QPrinter &printer) const;
    PrintLine &line(std::array<PrintLine, 2> &lines, int i);

    LedgerGrid &m_grid;
    std::unique_ptr<QPrinter> m_printer;
    std::array<PrintLine, 2> m_headers;
    std::array<PrintLine, 2> m_footers;
    bool m_printColors = true;
    std::function<bool(const QString &)> m_refusesOutputFile;
};

} // namespace host::ui

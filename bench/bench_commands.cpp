// Commands of the count-sheet window on large counts, each beside a plain program doing the same
// work by the fastest means of its kind: the filter against SQLite stepping the same filtered
// sheet query on the same file; the export of the entry grid against libxlsxwriter writing the
// same cells; the printed count book against QPainter drawing the same rows on the same pages.
// Each runs on the bench's own lines and on the company init-db makes; the ratio is the worse.
#include "countsheet/countsheetstate.h"
#include "countsheet/decimaltext.h"
#include "countsheet/maindo.h"
#include "host/core/dictionary.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/modal/scriptedmodals.h"
#include "host/ui/printing/ledgerprinter.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/spread/spreadmodel.h"
#include "services/modulestate.h"
#include "support/barequery.h"
#include "support/barexlsx.h"
#include "support/benchsizes.h"
#include "support/countsheet.h"
#include "support/countwindow.h"
#include "window/frmmain.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr const char *kCondition = "FQty > 250 and FBatchNo like '%1%'";

// The count sheet of input mode reloaded with the filter dialog's condition, against the same
// filtered query stepped, every column of every row read, on the module's own connection.
void BM_FilterSheet(benchmark::State &state)
{
    const long lines = state.range(0);
    const std::string bare = bareSheetQuery(4, kCondition);
    SheetComparison comparison;
    bool same = true;
    comparison.run(state, [&](SheetData data, Comparison &timed) {
        setUpCountSheet(lines, 4, data);
        countSheetState().gFilterDict->SetValue("Filter", std::string(kCondition));
        sqlite3 *db = countSheetHandle(lines, data);
        long stepped = 0;
        long rows = 0;
        timed.bare([&] { stepped = stepQuery(db, bare); });
        timed.module([&] {
            MainDo main;
            rows = main.GetRsMain(1, {}, 0, countSheetState().gFilterDict.get())->RecordCount();
        });
        same = same && rows == stepped && rows > 0;
    });
    if (!same)
        state.SkipWithError("the filter found other lines");
    comparison.report(state);
}
BENCHMARK(BM_FilterSheet)->Apply(benchSizes)->Unit(benchmark::kMillisecond)->Iterations(3);

// The cells the export writes, numbers where the column is one to the decimals the database
// keeps; the plan-tracking number only in plan-tracking mode.
std::vector<std::vector<BareCell>> exportedCells(const host::ui::SpreadGrid &grid,
                                                 bool planTracking)
{
    const host::ui::SpreadModel &model = grid.spreadModel();
    std::vector<std::vector<BareCell>> cells;
    for (int row = 0; row < grid.MaxRows(); ++row) {
        std::vector<BareCell> line;
        for (int col = 2; col <= 33; ++col) {
            if (col == 12 && !planTracking)
                continue;
            const bool number = col == 14 || (col >= 17 && col <= 19) || (col >= 22 && col <= 25) ||
                                (col >= 28 && col <= 32);
            if (number && row > 0 && model.cellIsNumber(col, row))
                line.emplace_back(storedNumber(model.cellNumber(col, row)).value_or(0));
            else
                line.emplace_back(grid.GetText(col, row).toStdString());
        }
        cells.push_back(std::move(line));
    }
    return cells;
}

// The entry grid's export (File/Export of input mode) into an .xlsx file, against the same
// cells, taken from the same grid, written by a plain program.
void BM_ExportSheet(benchmark::State &state)
{
    const long lines = state.range(0);
    QTemporaryDir dir;
    const std::string barePath = dir.filePath("bare.xlsx").toStdString();
    const QString path = dir.filePath("sheet.xlsx");
    SheetComparison comparison;
    bool exported = true;
    comparison.run(state, [&](SheetData data, Comparison &timed) {
        host::ui::ScriptedModals &modals = setUpCountSheet(lines, 4, data);
        const auto window = openWindow(4);
        const auto cells = exportedCells(*window->vsCheck, module().gMtoPlanMode != 0);
        timed.bare([&] { bareExport(barePath, cells); });
        QFile::remove(path);
        modals.pickFile(path);
        timed.module([&] { window->mnuFileOut_Click(); });
        exported =
            exported && modals.allAnswersUsed() && QFileInfo(path).size() > 0 && cells.size() > 1;
    });
    if (!exported)
        state.SkipWithError("the sheet was not exported");
    comparison.report(state);
}
BENCHMARK(BM_ExportSheet)->Apply(benchSizes)->Unit(benchmark::kMillisecond)->Iterations(2);

// The rows of the check sheet's printed columns as they are shown, numbers with the line's
// decimals; the first row holds the captions.
std::vector<std::vector<std::string>> printedRows(sqlite3 *db)
{
    const auto columns = bareRowsAsText(db, "SELECT FColName,FColCaption,FColType FROM "
                                            "ICChatBillTitle WHERE FTypeID=1 AND FVisible=1 "
                                            "ORDER BY FInterID");
    std::string select = "SELECT FQtyDecimal";
    std::vector<std::string> captions;
    std::vector<bool> numbers;
    for (const auto &c : columns) {
        select += "," + c[0];
        captions.push_back(c[1].substr(0, c[1].size() - 1));
        numbers.push_back(c[2] == "2");
    }
    auto rows = bareRowsAsText(db, select + " FROM (" + bareSheetQuery(1) + ")");
    for (auto &row : rows) {
        const int decimals = std::stoi(row.front());
        row.erase(row.begin());
        for (std::size_t i = 0; i < row.size(); ++i)
            if (numbers[i] && !row[i].empty())
                row[i] = QString::number(std::stod(row[i]), 'f', decimals).toStdString();
    }
    rows.insert(rows.begin(), captions);
    return rows;
}

// A plain program's printed book: columns as wide as their widest text, narrowed together to
// the page; on each page a title line, the captions row, `perPage` rows (as many as the module's
// page holds) and a page-number line, every cell boxed and its text cut to the box.
int barePrint(QPrinter &printer, const std::vector<std::vector<std::string>> &rows, int perPage)
{
    if (rows.size() < 2)
        return 0;
    QPainter painter(&printer);
    QFont font = painter.font();
    font.setPointSizeF(9);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &printer);
    const double padding = metrics.height() * 0.5;
    std::vector<double> widths(rows.front().size(), 0);
    std::vector<std::vector<QString>> texts;
    texts.reserve(rows.size());
    for (const auto &row : rows) {
        std::vector<QString> line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line.push_back(QString::fromStdString(row[c]));
            widths[c] = std::max(widths[c], metrics.horizontalAdvance(line.back()) + padding);
        }
        texts.push_back(std::move(line));
    }
    const QRectF page(QPointF(0, 0),
                      printer.pageLayout().paintRectPixels(printer.resolution()).size());
    double total = 0;
    for (double w : widths)
        total += w;
    for (double &w : widths)
        w *= std::min(1.0, page.width() / total);
    const double rowHeight = metrics.height() * 1.6;
    const auto pageRows = static_cast<std::size_t>(perPage);
    const auto pageCount = static_cast<int>((texts.size() - 2) / pageRows + 1);
    int pages = 0;
    for (std::size_t r = 1; r < texts.size(); ++r) {
        const auto onPage = static_cast<int>((r - 1) % pageRows);
        auto draw = [&](const std::vector<QString> &line, double top) {
            double x = 0;
            for (std::size_t c = 0; c < line.size(); ++c) {
                const QRectF box(x, top, widths[c], rowHeight);
                painter.drawRect(box);
                const QRectF inner = box.adjusted(padding / 2, 0, -padding / 2, 0);
                painter.drawText(inner, Qt::AlignVCenter,
                                 metrics.elidedText(line[c], Qt::ElideRight, inner.width()));
                x += widths[c];
            }
        };
        if (onPage == 0) {
            if (pages++ > 0)
                printer.newPage();
            painter.drawText(QRectF(0, 0, page.width(), rowHeight), Qt::AlignCenter,
                             QStringLiteral("盘点表"));
            painter.drawText(QRectF(0, page.height() - rowHeight, page.width(), rowHeight),
                             Qt::AlignCenter,
                             QStringLiteral("第 %1 页 共 %2 页").arg(pages).arg(pageCount));
            draw(texts.front(), rowHeight);
        }
        draw(texts[r], rowHeight * (onPage + 2));
    }
    return pages;
}

// The count book of check mode printed (File/Print) into a PDF file, against the same rows drawn
// by a plain program on as many pages of the same size.
void BM_PrintBook(benchmark::State &state)
{
    const long lines = state.range(0);
    QTemporaryDir dir;
    const QString book = dir.filePath("book.pdf");
    SheetComparison comparison;
    bool printed = true;
    comparison.run(state, [&](SheetData data, Comparison &timed) {
        setUpCountSheet(lines, 1, data);
        const auto window = openWindow(1);
        const auto rows = printedRows(countSheetHandle(lines, data));
        host::ui::LedgerPrinter &print = window->ldgCheck->LedgerPrint();
        QPrinter &printer = print.printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(book);
        QFile::remove(book);
        timed.module([&] { window->mnuFPrint_Click(); });
        // The module's page, with the title and footer lines the print has just set.
        const int perPage = print.rowsPerPage(printer);
        QPrinter bare(QPrinter::HighResolution);
        bare.setOutputFormat(QPrinter::PdfFormat);
        bare.setOutputFileName(dir.filePath("bare.pdf"));
        bare.setPageLayout(printer.pageLayout());
        int barePages = 0;
        timed.bare([&] { barePages = barePrint(bare, rows, perPage); });
        // The module's book also has its totals row.
        const int bookRows = window->ldgCheck->Face().Rows() - 2;
        const int bookPages = (bookRows + perPage - 1) / perPage;
        printed = printed && QFileInfo(book).size() > 0 && rows.size() > 1 &&
                  bookPages - barePages <= 1 && bookPages >= barePages;
    });
    if (!printed)
        state.SkipWithError("the book was not printed on the same pages");
    comparison.report(state);
}
BENCHMARK(BM_PrintBook)->Apply(benchSizes)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

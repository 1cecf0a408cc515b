// Commands of the count-sheet window on large counts, each beside the same work done directly:
// the filter against SQLite stepping the filtered sheet, the export of the entry grid against
// libxlsxwriter writing the same cells, the printed count book against QPainter drawing the
// same rows in columns sized to their texts.
#include "countsheet/countsheetstate.h"
#include "countsheet/maindo.h"
#include "host/core/dictionary.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/modal/scriptedmodals.h"
#include "host/ui/printing/ledgerprinter.h"
#include "host/ui/spread/spreadgrid.h"
#include "support/barequery.h"
#include "support/benchsizes.h"
#include "support/countsheet.h"
#include "window/frmmain.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace {

std::unique_ptr<frmMain> openWindow(long showType)
{
    auto window = std::make_unique<frmMain>();
    window->ShowType(showType);
    window->Load();
    return window;
}

constexpr const char *kCondition = "FQty > 250 and FBatchNo like '%1%'";

// The count sheet of input mode reloaded with the filter dialog's condition.
void BM_FilterSheet(benchmark::State &state)
{
    const long lines = state.range(0);
    setUpCountSheet(lines, 4);
    countSheetState().gFilterDict->SetValue("Filter", std::string(kCondition));
    sqlite3 *db = countSheetHandle(lines);
    const std::string bare = bareSheetQuery(4, kCondition);
    Comparison comparison;
    long rows = 0;
    long stepped = 0;
    for (auto _ : state) {
        comparison.bare([&] { stepped = stepQuery(db, bare); });
        comparison.module([&] {
            MainDo main;
            rows = main.GetRsMain(1, {}, 0, countSheetState().gFilterDict.get())->RecordCount();
        });
    }
    if (rows != stepped || rows == 0)
        state.SkipWithError("the filter found other lines");
    comparison.report(state);
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_FilterSheet)->Apply(benchSizes)->Unit(benchmark::kMillisecond)->Iterations(3);

using Cell = std::variant<std::string, double>;

// The cells the export writes, as numbers where the column is one.
std::vector<std::vector<Cell>> exportedCells(const host::ui::SpreadGrid &grid)
{
    std::vector<std::vector<Cell>> cells;
    for (int row = 0; row < grid.MaxRows(); ++row) {
        std::vector<Cell> line;
        for (int col = 2; col <= 33; ++col) {
            if (col == 12)
                continue;
            const bool number = col == 14 || (col >= 17 && col <= 19) || (col >= 22 && col <= 25) ||
                                (col >= 28 && col <= 32);
            const QString text = grid.GetText(col, row);
            if (number && row > 0 && !text.isEmpty())
                line.emplace_back(text.toDouble());
            else
                line.emplace_back(text.toStdString());
        }
        cells.push_back(std::move(line));
    }
    return cells;
}

void bareExport(const std::string &path, const std::vector<std::vector<Cell>> &cells)
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook *workbook = workbook_new_opt(path.c_str(), &options);
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, "物料盘点表");
    for (size_t r = 0; r < cells.size(); ++r)
        for (size_t c = 0; c < cells[r].size(); ++c) {
            const auto row = static_cast<lxw_row_t>(r);
            const auto col = static_cast<lxw_col_t>(c);
            if (const double *n = std::get_if<double>(&cells[r][c]))
                worksheet_write_number(sheet, row, col, *n, nullptr);
            else if (!std::get<std::string>(cells[r][c]).empty())
                worksheet_write_string(sheet, row, col, std::get<std::string>(cells[r][c]).c_str(),
                                       nullptr);
        }
    workbook_close(workbook);
}

// The entry grid's export (File/Export of input mode) into an .xlsx file.
void BM_ExportSheet(benchmark::State &state)
{
    const long lines = state.range(0);
    host::ui::ScriptedModals &modals = setUpCountSheet(lines, 4);
    const auto window = openWindow(4);
    const auto cells = exportedCells(*window->vsCheck);
    QTemporaryDir dir;
    const std::string barePath = dir.filePath("bare.xlsx").toStdString();
    const QString path = dir.filePath("sheet.xlsx");
    Comparison comparison;
    for (auto _ : state) {
        comparison.bare([&] { bareExport(barePath, cells); });
        modals.pickFile(path);
        comparison.module([&] { window->mnuFileOut_Click(); });
    }
    if (!modals.allAnswersUsed() || QFileInfo(path).size() == 0)
        state.SkipWithError("the sheet was not exported");
    comparison.report(state);
    state.counters["rows"] = static_cast<double>(cells.size() - 1);
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

// Columns as wide as their widest text, narrowed together to the page; a title row and the
// rows that fit below it on each page, every cell boxed and its text cut to the box.
int barePrint(QPrinter &printer, const std::vector<std::vector<std::string>> &rows)
{
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
    const int perPage = static_cast<int>(page.height() / rowHeight) - 1;
    int pages = 0;
    for (std::size_t r = 1; r < texts.size(); ++r) {
        const auto onPage = static_cast<int>((r - 1) % static_cast<std::size_t>(perPage));
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
            draw(texts.front(), 0);
        }
        draw(texts[r], rowHeight * (onPage + 1));
    }
    return pages;
}

// The count book of check mode printed (File/Print) into a PDF file.
void BM_PrintBook(benchmark::State &state)
{
    const long lines = state.range(0);
    setUpCountSheet(lines, 1);
    const auto window = openWindow(1);
    const auto rows = printedRows(countSheetHandle(lines));
    QTemporaryDir dir;
    QPrinter &printer = window->ldgCheck->LedgerPrint().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("book.pdf"));
    QPrinter bare(QPrinter::HighResolution);
    bare.setOutputFormat(QPrinter::PdfFormat);
    bare.setOutputFileName(dir.filePath("bare.pdf"));
    bare.setPageOrientation(QPageLayout::Landscape);
    Comparison comparison;
    int barePages = 0;
    for (auto _ : state) {
        comparison.bare([&] { barePages = barePrint(bare, rows); });
        comparison.module([&] { window->mnuFPrint_Click(); });
    }
    if (QFileInfo(dir.filePath("book.pdf")).size() == 0)
        state.SkipWithError("the book was not printed");
    comparison.report(state);
    state.counters["pages"] = barePages;
}
BENCHMARK(BM_PrintBook)->Apply(benchSizes)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

#include "countsheet/maindo.h"
#include "host/components/hostcomponents.h"
#include "host/core/dictionary.h"
#include "host/db/appconnection.h"
#include "host/db/embeddeddatabase.h"
#include "host/db/hostdatabase.h"
#include "host/db/recordset.h"
#include "host/exporter/exportengine.h"
#include "host/props/shareprops.h"
#include "host/ui/ledgergrid.h"
#include "host/ui/ledgerprinter.h"
#include "host/ui/spreadgrid.h"
#include "host/ui/uihelper.h"
#include "sampledata/sampledata.h"
#include "sampledata/schema.h"
#include "services/modulestate.h"
#include "support/barequery.h"
#include "support/peakmemory.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <xlsxwriter.h>

#include <QPrinter>
#include <QTemporaryDir>

#include <chrono>
#include <map>
#include <string>
#include <variant>
#include <vector>

namespace {

// A company whose count process 1 holds one count line per book-stock row, about `lines` of
// them, made once per size for the whole run.
std::shared_ptr<host::AppConnection> countDatabase(long lines)
{
    static std::map<long, std::shared_ptr<host::AppConnection>> made;
    auto &db = made[lines];
    if (db)
        return db;
    db = std::make_shared<host::AppConnection>();
    db->openDatabase(":memory:");
    sampledata::createSchema(*db);
    sampledata::SampleOptions options;
    options.rows = lines;
    sampledata::generateSampleData(*db, options);
    const std::string backup =
        "INSERT INTO ICInvBackup (FInterID,FItemID,FAuxPropID,FUnitID,FBatchNo,FMtoNo,"
        "FStockID,FStockPlaceID,FKFDate,FKFPeriod,FQty,FCheckQty,FQtyAct,FAuxQty,"
        "FAuxCheckQty,FAuxQtyAct,FMinus,FNote,FDateBackup) "
        "SELECT 1,v.FItemID,v.FAuxPropID,i.FUnitID,v.FBatchNo,v.FMtoNo,v.FStockID,"
        "v.FStockPlaceID,v.FKFDate,v.FKFPeriod,v.FQty,v.FQty+1,v.FQty+1,v.FQty,v.FQty+1,"
        "v.FQty+1,1,'','2026-12-01 08:00:00.000' FROM ICInventory v "
        "JOIN t_ICItem i ON i.FItemID=v.FItemID LIMIT " +
        std::to_string(lines);
    sqlite3_exec(db->embedded()->handle(), backup.c_str(), nullptr, nullptr, nullptr);
    return db;
}

void setUpModule(long lines, long showType)
{
    host::registerHostComponents();
    host::ShareProps().SetProperty(host::currentProcessId(), "PropsString",
                                   "UserID=16394;SUBID=ic;LANGUAGE=CHS;");
    resetModuleState();
    const auto db = countDatabase(lines);
    module().gAppConn = db;
    host::setHostConnection(db);
    module().gShowType = showType;
    module().gFilterDict = std::make_shared<host::Dictionary>();
}

constexpr long kSheetLines = 100000;
constexpr const char *kCondition = "FQty > 250 and FBatchNo like '%1%'";

// The filtered count sheet as the window reloads it after the filter dialog.
void BM_FilterSheet(benchmark::State &state)
{
    setUpModule(kSheetLines, 4);
    module().gFilterDict->SetValue("Filter", std::string(kCondition));
    long rows = 0;
    for (auto _ : state) {
        MainDo main;
        rows = main.GetRsMain(1, {}, 0, module().gFilterDict.get())->RecordCount();
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_FilterSheet)->Unit(benchmark::kMillisecond)->Iterations(3);

// Baseline: the sheet's joins with the same condition, bare on SQLite, every cell read.
void BM_FilterSheetRawSqlite(benchmark::State &state)
{
    setUpModule(kSheetLines, 4);
    sqlite3 *handle = countDatabase(kSheetLines)->embedded()->handle();
    long rows = 0;
    for (auto _ : state) {
        const auto table = bareRowsAsText(
            handle,
            "SELECT * FROM (SELECT t12.FName AS FStockName,t11.FName AS FSPName,t2.FNumber,"
            "t2.FShortNumber AS FItemShortNumber,t2.FName,t2.FModel,t1.FBatchNo,t1.FKFDate,"
            "t1.FKFPeriod,t3.FName AS FUnitName,t1.FQty,t1.FQtyAct,t1.FCheckQty,t4.FName AS "
            "FCUUnitName,t1.FAuxQty,t1.FAuxQtyAct,t1.FAuxCheckQty,t1.FAdjQty,t1.FSecQty,"
            "t1.FSecQtyAct,t1.FSecCheckQty,t1.FNote FROM ICInvBackup t1 "
            "INNER JOIN t_ICItem t2 ON t1.FItemID=t2.FItemID "
            "LEFT JOIN t_MeasureUnit t3 ON t2.FUnitID=t3.FItemID "
            "LEFT JOIN t_MeasureUnit t4 ON t1.FUnitID=t4.FItemID "
            "LEFT JOIN t_StockPlace t11 ON t1.FStockPlaceID=t11.FSPID "
            "LEFT JOIN t_Stock t12 ON t1.FStockID=t12.FItemID "
            "WHERE t2.FDeleted<>1 AND t1.FInterID=1) WHERE FQty > 250 AND FBatchNo LIKE '%1%' "
            "ORDER BY FStockName DESC,FSPName,FName");
        rows = static_cast<long>(table.size());
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_FilterSheetRawSqlite)->Unit(benchmark::kMillisecond)->Iterations(3);

// The entry grid of a 100,000-line sheet, filled once for the export benchmarks.
host::ui::SpreadGrid &filledGrid()
{
    static host::ui::SpreadGrid *grid = [] {
        setUpModule(kSheetLines, 4);
        auto *g = new host::ui::SpreadGrid;
        g->setMaxCols(43);
        MainDo main;
        host::Dictionary options;
        main.GetRsMain(1, {}, 0, &options);
        main.InputFillRow(*g);
        return g;
    }();
    return *grid;
}

// Entry-grid columns 2 to 33 without the plan-tracking column, and whether each is a number.
std::vector<std::pair<int, bool>> exportColumns()
{
    std::vector<std::pair<int, bool>> columns;
    for (int col = 2; col <= 33; ++col) {
        const bool number = col == 14 || (col >= 17 && col <= 19) || (col >= 22 && col <= 25) ||
                            (col >= 28 && col <= 32);
        if (col != 12)
            columns.emplace_back(col, number);
    }
    return columns;
}

// The sheet through the export engine, its rows asked for from the entry grid.
void BM_ExportSheet(benchmark::State &state)
{
    host::ui::SpreadGrid &grid = filledGrid();
    const auto columns = exportColumns();
    QTemporaryDir dir;
    const std::string path = dir.filePath("sheet.xlsx").toStdString();
    for (auto _ : state) {
        host::ExportEngine engine;
        engine.setRows(grid.MaxRows() - 1);
        engine.setCols(static_cast<long>(columns.size()));
        for (size_t k = 0; k < columns.size(); ++k) {
            const long col = static_cast<long>(k + 1);
            engine.setColLength(col, 200);
            engine.setColType(col, columns[k].second ? 7 : 10);
            engine.setColCaption(col, grid.GetText(columns[k].first, 0).toStdString());
        }
        engine.LoadData = [&](long row, host::ExportRowData &data) {
            for (size_t k = 0; k < columns.size(); ++k)
                data.setItem(static_cast<long>(k + 1),
                             grid.GetText(columns[k].first, static_cast<int>(row)).toStdString());
        };
        engine.writeWorkbook(path, "物料盘点表");
    }
    state.counters["rows"] = grid.MaxRows() - 1;
}
BENCHMARK(BM_ExportSheet)->Unit(benchmark::kMillisecond)->Iterations(2);

// Baseline: the same cells, read from the grid beforehand, written by libxlsxwriter directly.
void BM_ExportRawXlsxwriter(benchmark::State &state)
{
    host::ui::SpreadGrid &grid = filledGrid();
    const auto columns = exportColumns();
    using Cell = std::variant<std::string, double>;
    std::vector<std::vector<Cell>> cells;
    for (int row = 0; row < grid.MaxRows(); ++row) {
        std::vector<Cell> line;
        for (const auto &[col, number] : columns) {
            const QString text = grid.GetText(col, row);
            if (number && row > 0 && !text.isEmpty())
                line.emplace_back(text.toDouble());
            else
                line.emplace_back(text.toStdString());
        }
        cells.push_back(std::move(line));
    }
    QTemporaryDir dir;
    const std::string path = dir.filePath("raw.xlsx").toStdString();
    for (auto _ : state) {
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
                    worksheet_write_string(sheet, row, col,
                                           std::get<std::string>(cells[r][c]).c_str(), nullptr);
            }
        workbook_close(workbook);
    }
    state.counters["rows"] = static_cast<double>(cells.size() - 1);
}
BENCHMARK(BM_ExportRawXlsxwriter)->Unit(benchmark::kMillisecond)->Iterations(2);

// The count book of check mode printed to a PDF file: the time per page (the columns are sized
// to their texts first, in a pass of their own), and the memory the printing adds, which stays
// flat as the sheet grows since rows are asked for page by page.
void BM_PrintBook(benchmark::State &state)
{
    const long lines = state.range(0);
    setUpModule(lines, 1);
    host::ui::LedgerGrid ledger;
    MainDo main;
    main.Ldg(&ledger);
    main.ResizeColWidth();
    host::Dictionary options;
    main.GetRsMain(1, {}, 0, &options);
    main.GetSumData();
    QObject::connect(&ledger, &host::ui::LedgerGrid::FetchRow,
                     [&](int row, QString &text, long &backColor) {
                         if (row == 1)
                             text = host::ui::UIHelper::titleRow(
                                 ledger, 1, QString::fromStdString(main.TRowData(0)));
                         else if (row > 2)
                             text = QString::fromStdString(main.DRowData(row, &backColor));
                     });
    ledger.Face().setRows(static_cast<int>(main.p_RSMain->RecordCount()) + 3);
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("book.pdf"));
    // As the book's own printer starts.
    printer.setPageOrientation(QPageLayout::Landscape);
    const PeakMemory peak;
    int pages = 0;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        pages = ledger.LedgerPrint().render(printer);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["pages"] = pages;
    state.counters["msPerPage"] =
        seconds * 1000 / (static_cast<double>(pages) * static_cast<double>(state.iterations()));
    state.counters["addedMB"] = peak.addedMb();
}
BENCHMARK(BM_PrintBook)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

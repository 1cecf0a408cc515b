// Reading an .xls count sheet: the first worksheet of a workbook of N lines in the layout of the
// count sheet's input-mode export (31 columns, texts shared, numbers), every value of every
// record read through the module's spreadsheet reader, beside a plain program reading the same
// file (support/barexls.cpp).
#include "host/core/variant.h"
#include "host/importer/sheetimport.h"
#include "host/importer/sheetrecords.h"
#include "support/barexls.h"
#include "support/benchdir.h"
#include "support/benchsizes.h"
#include "xlswriter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr long kColumns = 31;

const std::filesystem::path &benchDir()
{
    static const BenchDir dir("bench-xlsreader");
    return dir.path();
}

// The header line, then a line for each item in one of 4 stocks, with its units, quantities and
// a note; batch and dates where a tenth of the items take them.
std::filesystem::path countSheet(long lines)
{
    static std::map<long, std::filesystem::path> written;
    if (const auto found = written.find(lines); found != written.end())
        return found->second;
    const host::Variant null = host::Variant::null();
    std::vector<std::vector<host::Variant>> rows(1);
    for (long c = 0; c < kColumns; ++c)
        rows[0].emplace_back(c == 10 ? "生产/采购日期" : "列" + std::to_string(c + 1));
    for (long line = 0; line < lines; ++line) {
        const long item = line;
        const bool managed = item % 10 == 0;
        const std::string stock = std::to_string(line % 4 + 1);
        rows.push_back({"S" + stock,
                        "仓库" + stock,
                        "P" + stock,
                        "仓位" + stock,
                        "1." + std::to_string(item),
                        "物料" + std::to_string(item),
                        "规格型号",
                        null,
                        null,
                        managed ? host::Variant("B" + std::to_string(line % 7)) : null,
                        managed ? host::Variant("2026-06-01") : null,
                        managed ? host::Variant(180.0) : null,
                        "01",
                        "个",
                        10.0,
                        10.0,
                        static_cast<double>(line % 13),
                        "01",
                        "个",
                        10.0,
                        10.0,
                        static_cast<double>(line % 13),
                        0.0,
                        null,
                        null,
                        null,
                        0.0,
                        0.0,
                        0.0,
                        0.0,
                        line % 50 == 0 ? host::Variant("盘点备注") : null});
    }
    const auto file = benchDir() / ("count-" + std::to_string(lines) + ".xls");
    writeXls(file, rows);
    return written[lines] = file;
}

void BM_ReadXls(benchmark::State &state)
{
    const std::string file = countSheet(state.range(0)).string();
    Comparison comparison;
    long moduleValues = 0;
    long bareValues = 0;
    for (auto _ : state) {
        moduleValues = 0;
        comparison.module([&] {
            const auto records = host::SheetImport().importdata(file);
            for (; !records->EOF(); records->MoveNext())
                for (long field = 0; field < records->FieldCount(); ++field)
                    moduleValues += records->Value(field).isNull() ? 0 : 1;
        });
        comparison.bare([&] { bareValues = bareReadXls(file); });
    }
    comparison.report(state);
    // The bare side counts the header line's cells too.
    if (moduleValues + kColumns != bareValues)
        state.SkipWithError("the module and the bare program read different cells");
}

} // namespace

// A sheet of this format holds at most 65,536 lines.
BENCHMARK(BM_ReadXls)->Arg(10000)->Arg(60000)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();

// Filling and reading back the spread grid at the size of a large count sheet, next to the
// same values kept in plain vectors.
#include "host/ui/spread/celltype.h"
#include "host/ui/spread/spreadgrid.h"

#include <QLocale>
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 43;

bool isNumberColumn(int col)
{
    return col % 2 == 0;
}

// The text a fill writes into a cell: codes and names, or a quantity with decimals.
QString cellValue(int col, int row)
{
    if (isNumberColumn(col))
        return QString::number(row * 1.25 + col / 1000.0, 'f', 4);
    return QStringLiteral("01.%1.%2").arg(row, 6, 10, QLatin1Char('0')).arg(col);
}

double heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

std::unique_ptr<host::ui::SpreadGrid> fillGrid()
{
    auto grid = std::make_unique<host::ui::SpreadGrid>();
    grid->setReDraw(false);
    grid->setMaxCols(kCols);
    grid->setMaxRows(kRows);
    for (int col = 2; col <= kCols; col += 2) {
        grid->setCol(col);
        grid->setRow(-1);
        grid->setCellType(host::ui::CellType::Float);
        grid->setTypeFloatDecimalPlaces(2);
    }
    for (int row = 1; row <= kRows; ++row)
        for (int col = 1; col <= kCols; ++col)
            grid->SetText(col, row, cellValue(col, row));
    grid->setReDraw(true);
    return grid;
}

// Column-wise plain storage of the same values.
struct PlainSheet
{
    std::vector<std::vector<QString>> texts;
    std::vector<std::vector<double>> numbers;
};

std::unique_ptr<PlainSheet> fillPlain()
{
    auto sheet = std::make_unique<PlainSheet>();
    sheet->texts.resize(kCols + 1);
    sheet->numbers.resize(kCols + 1);
    for (int col = 1; col <= kCols; ++col) {
        if (isNumberColumn(col))
            sheet->numbers[col].reserve(kRows);
        else
            sheet->texts[col].reserve(kRows);
    }
    for (int row = 1; row <= kRows; ++row) {
        for (int col = 1; col <= kCols; ++col) {
            const QString value = cellValue(col, row);
            if (isNumberColumn(col))
                sheet->numbers[col].push_back(value.toDouble());
            else
                sheet->texts[col].push_back(value);
        }
    }
    return sheet;
}

void BM_SpreadGridFill(benchmark::State &state)
{
    double held = 0;
    for (auto _ : state) {
        const double before = heapInUse();
        auto grid = fillGrid();
        held = heapInUse() - before;
        benchmark::DoNotOptimize(grid.get());
    }
    state.counters["heap_MB"] = held / (1024.0 * 1024.0);
}

void BM_VectorFill(benchmark::State &state)
{
    double held = 0;
    for (auto _ : state) {
        const double before = heapInUse();
        auto sheet = fillPlain();
        held = heapInUse() - before;
        benchmark::DoNotOptimize(sheet.get());
    }
    state.counters["heap_MB"] = held / (1024.0 * 1024.0);
}

void BM_SpreadGridRead(benchmark::State &state)
{
    const auto grid = fillGrid();
    for (auto _ : state) {
        qsizetype length = 0;
        for (int row = 1; row <= kRows; ++row)
            for (int col = 1; col <= kCols; ++col)
                length += grid->GetText(col, row).size();
        benchmark::DoNotOptimize(length);
    }
}

void BM_VectorRead(benchmark::State &state)
{
    const auto sheet = fillPlain();
    for (auto _ : state) {
        qsizetype length = 0;
        for (int row = 0; row < kRows; ++row)
            for (int col = 1; col <= kCols; ++col)
                length += isNumberColumn(col) ? QString::number(sheet->numbers[col][row], 'g',
                                                                QLocale::FloatingPointShortest)
                                                    .size()
                                              : sheet->texts[col][row].size();
        benchmark::DoNotOptimize(length);
    }
}

BENCHMARK(BM_SpreadGridFill)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_VectorFill)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_SpreadGridRead)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_VectorRead)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

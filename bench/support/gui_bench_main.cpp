#include "host/db/sqlite/sqlitedb.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>

// Benchmarks of windows and grids run without a display.
int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    host::sqlite::guardEveryConnection();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

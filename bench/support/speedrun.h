#pragma once

#include "support/benchsizes.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>

// What speed_module and speed_plain share: the action's CPU time, the line they print, and the
// filter both apply.

// The filter dialog's condition that the filter reloads the sheet with.
inline constexpr const char *kSpeedFilter = "FQty > 250 and FBatchNo like '%1%'";

inline double &actionSeconds()
{
    static double seconds = 0;
    return seconds;
}

// Runs the action, adding its CPU seconds to those printed.
template <typename F> void timeAction(F &&action)
{
    const double start = cpuSeconds();
    action();
    actionSeconds() += cpuSeconds() - start;
}

// "CPU_SECONDS PEAK_MB COUNT": the peak is the whole process's resident memory.
inline void printAction(long count)
{
    double peakKb = 0;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            peakKb = std::stod(line.substr(6));
    std::printf("%.4f %.1f %ld\n", actionSeconds(), peakKb / 1024, count);
}

// The commands each side times, on a database file (and the import on a workbook); each gives the
// lines saved, found or shown.
struct SpeedActions
{
    std::function<long(const std::string &database)> save;
    std::function<long(const std::string &database)> filter;
    std::function<long(const std::string &database)> open;
    std::function<long(const std::string &database, const std::string &workbook)> import;
};

// The main of speed_module and speed_plain: runs the action the command line names, without a
// display, and prints its line.
inline int speedMain(int argc, char **argv, const std::string &program, const SpeedActions &actions)
{
    const std::string action = argc > 1 ? argv[1] : "";
    if (!((argc == 3 && (action == "save" || action == "filter" || action == "open")) ||
          (argc == 4 && action == "import"))) {
        std::cerr << "usage: " << program << " save|filter|open DATABASE\n       " << program
                  << " import DATABASE WORKBOOK\n";
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    try {
        long count = 0;
        if (action == "save")
            count = actions.save(argv[2]);
        else if (action == "filter")
            count = actions.filter(argv[2]);
        else if (action == "open")
            count = actions.open(argv[2]);
        else
            count = actions.import(argv[2], argv[3]);
        printAction(count);
        return 0;
    } catch (const std::exception &e) {
        std::cerr << program << " " << action << ": " << e.what() << "\n";
        return 1;
    }
}

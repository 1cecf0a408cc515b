// The plain side of bench/speed.sh: the work of one command of the count sheet done by the
// fastest honest means of a plain program on count process 1 of a database file, as a process of
// its own, timed in CPU seconds of this process; and the comparison of what two runs stored.
//
//   speed_plain save|filter|open DATABASE
//   speed_plain import DATABASE WORKBOOK
//   speed_plain compare DATABASE OTHER
//
// An action prints "CPU_SECONDS PEAK_MB COUNT" as speed_module does. compare prints the count
// lines that differ in any column, value or type, and fails when there is one.
#include "support/bareimport.h"
#include "support/barequery.h"
#include "support/baresave.h"
#include "support/plainsheet.h"
#include "support/sheetquery.h"
#include "support/speedrun.h"

#include <QTableView>

#include <iostream>
#include <stdexcept>
#include <string>

namespace {

// The module's operator, who the save stamps as checker.
constexpr long kOperator = 16;

PlainConnection openSheet(const std::string &database)
{
    PlainConnection db = openPlain(database);
    registerSheetFunctions(db.get());
    return db;
}

// Every line's values bound into the two UPDATEs; the values are read before.
long save(const std::string &database)
{
    std::vector<LineValues> lines;
    {
        const PlainConnection db = openPlain(database);
        lines = sheetLines(db.get());
    }
    long unmatched = 0;
    timeAction([&] { unmatched = bareSave(database, lines); });
    if (unmatched != 0)
        throw std::runtime_error(std::to_string(unmatched) + " lines matched nothing");
    return static_cast<long>(lines.size());
}

// The filtered input-mode sheet stepped and its shown columns kept.
long filter(const std::string &database)
{
    const PlainConnection db = openSheet(database);
    long rows = 0;
    timeAction([&] {
        const Sheet sheet(db.get(), 4, kSpeedFilter);
        rows = sheet.rowCount();
    });
    return rows;
}

// The input-mode sheet stepped and kept, and its first screen shown in a table.
long open(const std::string &database)
{
    const PlainConnection db = openSheet(database);
    long rows = 0;
    timeAction([&] {
        Sheet sheet(db.get(), 4);
        QTableView view;
        view.setModel(&sheet);
        view.resize(1280, 800);
        view.show();
        view.grab();
        rows = sheet.rowCount();
    });
    return rows;
}

long import(const std::string &database, const std::string &workbook)
{
    const PlainConnection db = openSheet(database);
    size_t refused = 0;
    timeAction([&] { refused = bareImport({db.get(), workbook, 1, kOperator}); });
    if (refused != 0)
        throw std::runtime_error(std::to_string(refused) + " rows refused");
    return 0;
}

// The count lines of the two files, every column as stored, each file's rows the other lacks.
int compare(const std::string &database, const std::string &other)
{
    const PlainConnection db = openPlain(database);
    runBare(db.get(), "ATTACH DATABASE '" + other + "' AS other");
    const std::string mine = storedRows("main.ICInvBackup", true);
    const std::string theirs = storedRows("other.ICInvBackup", true);
    const auto differing =
        bareRowsAsText(db.get(), "SELECT (SELECT count(*) FROM (" + mine + " EXCEPT " + theirs +
                                     ")),(SELECT count(*) FROM (" + theirs + " EXCEPT " + mine +
                                     ")),(SELECT count(*) FROM main.ICInvBackup)");
    const auto &counts = differing.front();
    if (counts[0] != "0" || counts[1] != "0" || counts[2] == "0") {
        std::cerr << "speed_plain compare: " << counts[0] << " lines of " << database << " and "
                  << counts[1] << " of " << other << " differ (" << counts[2] << " lines)\n";
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && std::string(argv[1]) == "compare")
        return compare(argv[2], argv[3]);
    if (argc > 1 && std::string(argv[1]) == "compare") {
        std::cerr << "usage: speed_plain compare DATABASE OTHER\n";
        return 2;
    }
    return speedMain(argc, argv, "speed_plain", {save, filter, open, import});
}

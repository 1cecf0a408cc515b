// Writes the two count databases the count-sheet benchmarks open, as files for programs run as
// whole processes (whole_process.sh): own.db with the bench's own lines and company.db with the
// company init-db makes and a count of its whole book stock, each count process 1.
//
//   count_files FOLDER LINES
#include "support/countsheet.h"

#include <QCoreApplication>

#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::cerr << "usage: count_files FOLDER LINES\n";
        return 2;
    }
    QCoreApplication app(argc, argv);
    try {
        const std::filesystem::path folder = argv[1];
        const long lines = std::stol(argv[2]);
        writeCountSheetFile((folder / "own.db").string(), lines, SheetData::Own);
        writeCountSheetFile((folder / "company.db").string(), lines, SheetData::Company);
        return 0;
    } catch (const std::exception &e) {
        std::cerr << "count_files: " << e.what() << "\n";
        return 1;
    }
}

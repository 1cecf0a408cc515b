// A plain program that opens a count sheet as a user meets it, to time beside stockcheck as a
// whole process (whole_process.sh): Qt started, the count sheet's query of count process 1
// stepped on the database file, every column of every row read, the columns the sheet shows
// kept for scrolling, check mode's totals added, and the first screen of rows shown in a table
// and saved as a picture.
//
//   plain_open DATABASE input|check|print PICTURE
#include "support/plainsheet.h"
#include "support/sheetquery.h"

#include <QApplication>
#include <QPixmap>
#include <QTableView>
#include <sqlite3.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

long showTypeOf(std::string_view mode)
{
    if (mode == "check")
        return 1;
    if (mode == "print")
        return 3;
    if (mode == "input")
        return 4;
    throw std::invalid_argument("no mode " + std::string(mode));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::cerr << "usage: plain_open DATABASE input|check|print PICTURE\n";
        return 2;
    }
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    try {
        sqlite3 *opened = nullptr;
        const int rc =
            sqlite3_open_v2(argv[1], &opened, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        const std::unique_ptr<sqlite3, int (*)(sqlite3 *)> db(opened, sqlite3_close);
        if (rc != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(opened));
        registerSheetFunctions(db.get());
        Sheet sheet(db.get(), showTypeOf(argv[2]));
        QTableView view;
        view.setModel(&sheet);
        view.resize(800, 640);
        view.show();
        return view.grab().save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
    } catch (const std::exception &e) {
        std::cerr << "plain_open: " << e.what() << "\n";
        return 1;
    }
}

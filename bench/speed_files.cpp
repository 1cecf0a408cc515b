// Writes the files bench/speed.sh runs on: company.db, the company init-db makes with a count
// (process 1) of its whole book stock as its backup leaves it; and with SHEET_LINES, import.db,
// the same without the plan-tracking mode, and sheet.xlsx, a workbook of that many lines of the
// count, each counted one more than the book, which the import takes without refusing a line.
//
//   speed_files FOLDER LINES [SHEET_LINES]
#include "host/db/appconnection.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/recordset/recordset.h"
#include "host/db/tsql/tsqlfunctions.h"
#include "support/bareimport.h"
#include "support/barequery.h"
#include "support/baresave.h"
#include "support/countsheet.h"

#include <QCoreApplication>

#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: speed_files FOLDER LINES [SHEET_LINES]\n";
        return 2;
    }
    QCoreApplication app(argc, argv);
    try {
        const std::filesystem::path folder = argv[1];
        const long lines = std::stol(argv[2]);
        const long sheetLines = argc == 4 ? std::stol(argv[3]) : 0;
        const std::string company = (folder / "company.db").string();
        writeCountSheetFile(company, lines, SheetData::Company);
        {
            const PlainConnection db = openPlain(company);
            host::tsql::registerFunctions(db.get());
            runBare(db.get(), asBackedUp("ICInvBackup") + " WHERE FInterID=1");
            runBare(db.get(), "PRAGMA wal_checkpoint(TRUNCATE)");
        }
        if (sheetLines == 0)
            return 0;
        const std::string imported = (folder / "import.db").string();
        {
            const PlainConnection db = openPlain(company);
            runBare(db.get(), "VACUUM INTO '" + imported + "'");
        }
        host::AppConnection connection;
        connection.openDatabase(imported);
        connection.Execute("update t_SystemProfile set FValue='0' where FCategory='IC' and "
                           "FKey='EnableMtoPlanMode'");
        writeWorkbook(folder / "sheet.xlsx", *connection.Execute(sheetQuery(1, sheetLines)));
        return 0;
    } catch (const std::exception &e) {
        std::cerr << "speed_files: " << e.what() << "\n";
        return 1;
    }
}

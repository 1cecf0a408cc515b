#pragma once

#include <memory>

namespace host {
class SheetRecords;
}

namespace PubVariant {

// Imports the records of a sheet, from its current one to its end, into the current count
// process (see ImportRun), with the hourglass shown meanwhile. Refused records are listed in
// the error list at the end; otherwise the completion message is shown. Any failure ends the
// run: a failure of the database itself (busy, read-only, unreadable), of the table's name or
// of the file's reading is told with its cause, any other with the sheet line the run stopped
// at. In test mode the user's last open process is taken and the run's duration is appended to
// "TestTime.txt" beside the module instead of the message.
bool ImportCheckData(std::shared_ptr<host::SheetRecords> &rs);

} // namespace PubVariant

#pragma once

#include <memory>

namespace host {
class Recordset;
}

namespace PubVariant {

// Imports the records of a sheet into the current count process: checks every record against
// the base data, stages the accepted ones in a table of the run's own (inserts sent 100 records
// at a time), drops staged rows whose differences point different ways, and merges the rest into
// the count lines in one transaction. Refused records are listed in the error list at the end;
// otherwise the completion message is shown. Any failure ends the run and drops its staging
// table: a failure of the database itself (busy, read-only, unreadable) or of the table's name
// is told with its cause, any other with the sheet line the run stopped at. The user's staging
// tables that runs killed long ago left behind are dropped when a run starts. In test mode the
// user's last open process is taken and the run's duration is appended to "TestTime.txt" beside the
// module instead of the message.
bool ImportCheckData(std::shared_ptr<host::Recordset> &rs);

} // namespace PubVariant

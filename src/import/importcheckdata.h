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
// otherwise the completion message is shown. Any failure ends the run with a message naming the
// sheet line it stopped at. In test mode the user's last open process is taken and the run's
// duration is appended to "TestTime.txt" beside the module instead of the message.
bool ImportCheckData(std::shared_ptr<host::Recordset> &rs);

} // namespace PubVariant

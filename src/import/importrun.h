#pragma once

#include "host/core/hosterror.h"

#include <functional>
#include <string>

namespace host {
class SheetRecords;
}
struct BaseDataDicts;

// The staged rows could not be checked for differences that point different ways; carries the
// database's error.
class DirectionCheckFailed : public host::HostError
{
public:
    using HostError::HostError;
};

// The engine of an import into the current count process: checks every record of the sheet
// against the base data as it is read, stages the accepted ones in a table of the run's own
// (sent 100 records at a time), drops staged rows whose differences point different ways, and
// merges the rest into the count lines in one transaction. Beyond the failure messages of the
// statement builders it calls, it shows nothing: every refused record is handed to the caller
// as the message of its line in the error list, and a failure is thrown.
class ImportRun
{
public:
    using Refusal = std::function<void(const std::string &message)>;

    ImportRun(bool mtoPlanMode, Refusal refused);

    // Imports the records from the sheet's current one to its end. The staging tables that
    // ended runs left behind are dropped first (see StagingTable::dropLeftovers). Any failure drops
    // the run's staging table (but on a busy database, where a later run does) and is thrown, the
    // count lines as they were; a failed direction check as DirectionCheckFailed.
    void run(host::SheetRecords &sheet);

    // The 0-based index of the record the run was at, counting the sheet's data lines with or
    // without a record; once the records are all read, the line count up to the last one.
    long record() const { return m_record; }
    bool anyRefused() const { return m_refused; }

private:
    void stageAndMerge(host::SheetRecords &sheet, const std::string &tableName,
                       const BaseDataDicts &dicts);

    bool m_mtoPlanMode;
    Refusal m_refusal;
    long m_record = 0;
    bool m_refused = false;
};

// In test mode the run takes the user's open count process that the server returns last, and
// reads numbers in their full form.
void chooseTestProcess();

#pragma once

#include <memory>
#include <string>

struct CountLine;

namespace host {
class Recordset;
class SqlBatch;
class StringBuilder;
} // namespace host

// The count-sheet statements on single count lines of ICInvBackup, matched by their ten key
// columns; the process is gCurInterID (update) or the id passed (delete). Numbers are written as
// exact plain decimals and texts with their quotes doubled.
namespace PubVariant {

// Appends the two UPDATE statements of the line: its quantities, then its differences computed by
// the server from them, in the process gCurInterID and stamped with gOperatorID as checker.
void GetUpdateRowSQL(host::StringBuilder &sbSQL, const CountLine &oRow);
// The same two statements, their values apart from their text.
void GetUpdateRowSQL(host::SqlBatch &sbSQL, const CountLine &oRow);

// Deletes one count line at once. A line without a shelf-life period is matched on the empty
// date. True also when no line matched; on a database error a message and false.
bool DeleteCheckRow(long lSPID, const std::string &sKFDate, long lKFPeriod, long lItemID,
                    long lStockID, const std::string &sBatchNo, const std::string &sMtoNo,
                    long lAuxPropID, long lUnitID, long lInterID);

// Runs one query; rs receives the result. On an error a message, false, and rs unchanged.
bool ExecSQL(const std::string &sSQL, std::shared_ptr<host::Recordset> &rs);

} // namespace PubVariant

#pragma once

#include "host/db/tsql/sqlbatch.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct CountLine;

namespace host {
class Recordset;
class StringBuilder;
} // namespace host

// The key columns of a count line that are numbers, the process apart.
struct CountLineKey
{
    long stockId = 0;
    long itemId = 0;
    long stockPlaceId = 0;
    long kfPeriod = 0;
    long auxPropId = 0;
    long unitId = 0;
};

// What a line's two UPDATE statements write and find it by, taken from the line by the
// statements' own list and kept as the statements hold it: numbers as numbers, texts as texts.
// A save keeps one for every line it sends, so its texts share one block.
class CountLineUpdate
{
public:
    // The texts: the shelf-life date as "YYYY-MM-DD", empty for none, the batch and plan-tracking
    // numbers of the key, and the note.
    enum class Text
    {
        KFDate,
        BatchNo,
        MtoNo,
        Note
    };

    explicit CountLineUpdate(const CountLine &line);

    std::string_view text(Text which) const;

    CountLineKey key;
    // The numbers the statements write, in the order they stand there.
    std::array<double, 12> numbers{};

private:
    std::string m_texts;                   // one after another, in the order of Text
    std::array<std::uint32_t, 3> m_ends{}; // where each but the last ends
};

// The count-sheet statements on single count lines of ICInvBackup, matched by their ten key
// columns; the process is gCurInterID (update) or the id passed (delete). Numbers are written as
// exact plain decimals and texts with their quotes doubled.
namespace PubVariant {

// Appends the two UPDATE statements of the line: its quantities, then its differences computed by
// the server from them, in the process gCurInterID and stamped with gOperatorID as checker.
void GetUpdateRowSQL(host::StringBuilder &sbSQL, const CountLine &oRow);
// The same two statements, their values apart from their text.
void GetUpdateRowSQL(host::SqlBatch &sbSQL, const CountLineUpdate &oRow);
// Writes the values of a line into the two statements of another line, which keep their text.
void SetUpdateRowValues(host::SqlBatch::Statement &quantities,
                        host::SqlBatch::Statement &differences, const CountLineUpdate &oRow);

// Deletes one count line at once. A line without a shelf-life period is matched on the empty
// date. True also when no line matched; on a database error a message and false.
bool DeleteCheckRow(long lSPID, const std::string &sKFDate, long lKFPeriod, long lItemID,
                    long lStockID, const std::string &sBatchNo, const std::string &sMtoNo,
                    long lAuxPropID, long lUnitID, long lInterID);

// Runs one query; rs receives the result. On an error a message, false, and rs unchanged.
bool ExecSQL(const std::string &sSQL, std::shared_ptr<host::Recordset> &rs);

} // namespace PubVariant

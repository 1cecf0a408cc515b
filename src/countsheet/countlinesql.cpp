#include "countsheet/countlinesql.h"

#include "countsheet/checkbillsql.h"
#include "countsheet/countline.h"
#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/core/stringbuilder.h"
#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"
#include "host/db/tsql/sqlbatch.h"
#include "services/appconn.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

#include <cmath>
#include <optional>
#include <span>
#include <string_view>
#include <tuple>

namespace {

using Fixed = host::SqlBatch::Fixed;

using Text = CountLineUpdate::Text;

// A value of the two statements and the fixed text before it: a number of the line, kept in
// CountLineUpdate::numbers in the order of the list; a number of its key; one of its texts; or
// a value of the session.
struct Piece
{
    enum class Other
    {
        None,
        Process, // gCurInterID
        Operator // gOperatorID
    };
    Fixed before;
    double (*number)(const CountLine &) = nullptr;
    long CountLineKey::*whole = nullptr;
    std::optional<Text> text = std::nullopt;
    Other other = Other::None;
};
using Other = Piece::Other;

// The statements as lists of their values: each piece of fixed text ends its line (CR LF) where a
// value does not follow.
constexpr Piece kQuantities[] = {
    {.before = "Update ICInvBackup Set \r\nFCheckQty=",
     .number = [](const CountLine &v) { return v.checkQty; }},
    {.before = ",\r\nFQtyAct=",
     .number = [](const CountLine &v) { return v.checkQty + v.diffQty; }},
    {.before = ",\r\nFAuxQty=", .number = [](const CountLine &v) { return v.cuUnitQty; }},
    {.before = ",\r\nFQty=", .number = [](const CountLine &v) { return v.qty; }},
    {.before = ",\r\nFAuxCheckQty=", .number = [](const CountLine &v) { return v.cuUnitCheckQty; }},
    {.before = ",\r\nFAuxQtyAct=",
     .number = [](const CountLine &v) { return v.cuUnitCheckQty + v.cuUnitDiffQty; }},
    {.before = ",\r\nFChecker=", .other = Other::Operator},
    {.before = ",\r\nFNote=", .text = Text::Note},
    {.before = ",\r\nFAdjQty=", .number = [](const CountLine &v) { return v.adjQty; }},
    {.before = ",\r\nFSecQty=", .number = [](const CountLine &v) { return v.secQty; }},
    {.before = ",\r\nFSecQtyAct=",
     .number = [](const CountLine &v) { return v.secCheckQty + v.secDiffQty; }},
    {.before = ",\r\nFSecCheckQty=", .number = [](const CountLine &v) { return v.secCheckQty; }},
    {.before = ",\r\nFSecAdjQty=", .number = [](const CountLine &v) { return v.secAdjQty; }},
};
constexpr Fixed kQuantitiesEnd = "\r\n";

constexpr Piece kDifferences[] = {
    {.before = "Update ICInvBackup Set \r\nFMinus=FQtyAct-FQty-(FAdjQty*",
     .number = [](const CountLine &v) { return v.coefficient; }},
};
constexpr Fixed kDifferencesEnd = "),\r\nFSecMinus=FSecQtyAct-FSecQty-FSecAdjQty\r\n";

// The key condition that ends both statements.
constexpr Piece kKey[] = {
    {.before = " Where FInterID = ", .other = Other::Process},
    {.before = " And FStockID=", .whole = &CountLineKey::stockId},
    {.before = "\r\n AND FItemID=", .whole = &CountLineKey::itemId},
    {.before = "\r\n AND FStockPlaceID=", .whole = &CountLineKey::stockPlaceId},
    {.before = "\r\n AND CONVERT(DATETIME,FKFDate)=", .text = Text::KFDate},
    {.before = "\r\n AND FKFPeriod=", .whole = &CountLineKey::kfPeriod},
    {.before = "\r\n AND FBatchNo=", .text = Text::BatchNo},
    {.before = "\r\n AND FMtoNo=", .text = Text::MtoNo},
    {.before = "\r\n AND FAuxPropID=", .whole = &CountLineKey::auxPropId},
    {.before = "\r\n And FUnitID=", .whole = &CountLineKey::unitId},
};
constexpr Fixed kKeyEnd = "\r\n";

template <std::size_t N> constexpr std::size_t numbersIn(const Piece (&pieces)[N])
{
    std::size_t count = 0;
    for (const Piece &piece : pieces)
        count += piece.number != nullptr;
    return count;
}
static_assert(numbersIn(kQuantities) + numbersIn(kDifferences) ==
                  std::tuple_size_v<decltype(CountLineUpdate::numbers)>,
              "CountLineUpdate keeps every number the statements write");

// Writes the values of the pieces in turn: into a batch with their fixed texts, or over the values
// of statements written before.
class Writer
{
public:
    Writer(const CountLineUpdate &line, host::SqlBatch *batch) : m_line(line), m_batch(batch) {}

    template <std::size_t N>
    void statement(const Piece (&pieces)[N], Fixed end, host::SqlBatch::Statement *over)
    {
        m_over = over;
        m_value = 0;
        write(pieces);
        if (m_batch)
            *m_batch << end;
        write(kKey);
        if (m_batch) {
            *m_batch << kKeyEnd;
            m_batch->endStatement();
        }
    }

private:
    template <std::size_t N> void write(const Piece (&pieces)[N])
    {
        for (const Piece &piece : pieces) {
            if (m_batch)
                *m_batch << piece.before;
            if (piece.number)
                number(m_line.numbers[m_number++]);
            else if (piece.whole)
                whole(m_line.key.*piece.whole);
            else if (piece.text)
                text(m_line.text(*piece.text));
            else
                whole(piece.other == Other::Process ? module().gCurInterID : module().gOperatorID);
        }
    }
    host::SqlBatch::Value &over() { return m_over->values[m_value++]; }
    void number(double value)
    {
        if (m_batch) {
            m_batch->number(value);
            return;
        }
        // A value that no literal stands for fails here, as writing the text would.
        if (!std::isfinite(value))
            host::sqlNumber(value);
        host::SqlBatch::Value &v = over();
        v.kind = host::SqlBatch::Value::Kind::Number;
        v.number = value;
    }
    void whole(long long value)
    {
        if (m_batch) {
            m_batch->whole(value);
            return;
        }
        host::SqlBatch::Value &v = over();
        v.kind = host::SqlBatch::Value::Kind::Whole;
        v.whole = value;
    }
    void text(std::string_view value)
    {
        if (m_batch) {
            m_batch->quoted(value);
            return;
        }
        host::SqlBatch::Value &v = over();
        v.kind = host::SqlBatch::Value::Kind::Text;
        v.text = value;
    }

    const CountLineUpdate &m_line;
    host::SqlBatch *m_batch;
    host::SqlBatch::Statement *m_over = nullptr;
    std::size_t m_number = 0;
    std::size_t m_value = 0;
};

} // namespace

CountLineUpdate::CountLineUpdate(const CountLine &line)
    : key{line.stockId, line.itemId, line.stockPlaceId, line.kfPeriod, line.auxPropId, line.unitId}
{
    std::size_t n = 0;
    for (const auto &pieces :
         {std::span<const Piece>(kQuantities), std::span<const Piece>(kDifferences)})
        for (const Piece &piece : pieces)
            if (piece.number)
                numbers[n++] = piece.number(line);
    const std::string *texts[] = {&line.kfDate, &line.batchNo, &line.mtoNo, &line.note};
    m_texts.reserve(line.kfDate.size() + line.batchNo.size() + line.mtoNo.size() +
                    line.note.size());
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        m_texts += *texts[i];
        if (i < m_ends.size())
            m_ends[i] = static_cast<std::uint32_t>(m_texts.size());
    }
}

std::string_view CountLineUpdate::text(Text which) const
{
    const auto i = static_cast<std::size_t>(which);
    const std::size_t begin = i == 0 ? 0 : m_ends[i - 1];
    const std::size_t end = i < m_ends.size() ? m_ends[i] : m_texts.size();
    return std::string_view(m_texts).substr(begin, end - begin);
}

namespace PubVariant {

void GetUpdateRowSQL(host::SqlBatch &sbSQL, const CountLineUpdate &oRow)
{
    Writer writer(oRow, &sbSQL);
    writer.statement(kQuantities, kQuantitiesEnd, nullptr);
    writer.statement(kDifferences, kDifferencesEnd, nullptr);
}

void SetUpdateRowValues(host::SqlBatch::Statement &quantities,
                        host::SqlBatch::Statement &differences, const CountLineUpdate &oRow)
{
    Writer writer(oRow, nullptr);
    writer.statement(kQuantities, kQuantitiesEnd, &quantities);
    writer.statement(kDifferences, kDifferencesEnd, &differences);
}

void GetUpdateRowSQL(host::StringBuilder &sbSQL, const CountLine &oRow)
{
    host::SqlBatch statements;
    GetUpdateRowSQL(statements, CountLineUpdate(oRow));
    sbSQL.Append(statements.text());
}

bool DeleteCheckRow(long lSPID, const std::string &sKFDate, long lKFPeriod, long lItemID,
                    long lStockID, const std::string &sBatchNo, const std::string &sMtoNo,
                    long lAuxPropID, long lUnitID, long lInterID)
{
    try {
        std::string sql;
        sql += std::string("Delete FROM ICInvBackup ") + host::kCrLf;
        sql += "WHERE FItemID=" + std::to_string(lItemID) +
               " AND FStockID=" + std::to_string(lStockID) + host::kCrLf;
        sql += "AND FBatchNo=" + host::sqlString(sBatchNo) + host::kCrLf;
        sql += "AND FMtoNo=" + host::sqlString(sMtoNo) + host::kCrLf;
        sql += "AND FStockPlaceID=" + std::to_string(lSPID) + host::kCrLf;
        sql += "AND FKFPeriod=" + std::to_string(lKFPeriod) + host::kCrLf;
        sql += "AND FAuxPropID=" + std::to_string(lAuxPropID) + host::kCrLf;
        sql += "AND FUnitID=" + std::to_string(lUnitID) + host::kCrLf;
        sql += "AND FInterID=" + std::to_string(lInterID) + host::kCrLf;
        sql += "AND CONVERT(DATETIME,FKFDate)=" +
               (lKFPeriod == 0 ? std::string("''") : host::sqlString(sKFDate));
        appConn().Execute(sql);
        return true;
    } catch (const std::exception &) {
        MsgBox(MParse::LoadLangString("删除物料时数据存取错误!"), vbOKOnly);
        return false;
    }
}

bool ExecSQL(const std::string &sSQL, std::shared_ptr<host::Recordset> &rs)
{
    try {
        rs = appConn().Execute(sSQL);
        return true;
    } catch (const std::exception &e) {
        MsgBox(MParse::LoadLangString("数据存取错误：") + e.what(), vbOKOnly);
        return false;
    }
}

} // namespace PubVariant

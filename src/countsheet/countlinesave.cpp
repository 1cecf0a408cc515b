#include "countsheet/countlinesave.h"

#include "countsheet/countlinecalc.h"
#include "countsheet/countlinesql.h"
#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"
#include "host/db/sqlite/databasefault.h"
#include "host/db/tsql/sqlbatch.h"
#include "services/appconn.h"

#include <algorithm>
#include <sstream>
#include <tuple>

namespace {

// The line's numbers that its statements write, in the order Waiting keeps them.
constexpr double CountLine::*kWritten[] = {
    &CountLine::qty,           &CountLine::checkQty,   &CountLine::diffQty,
    &CountLine::coefficient,   &CountLine::cuUnitQty,  &CountLine::cuUnitCheckQty,
    &CountLine::cuUnitDiffQty, &CountLine::adjQty,     &CountLine::secQty,
    &CountLine::secCheckQty,   &CountLine::secDiffQty, &CountLine::secAdjQty};

} // namespace

CountLineSave::Waiting::Waiting(int at, const CountLine &line)
    : row(at), itemId(line.itemId), stockId(line.stockId), stockPlaceId(line.stockPlaceId),
      auxPropId(line.auxPropId), unitId(line.unitId), kfPeriod(line.kfPeriod),
      batchNo(line.batchNo), mtoNo(line.mtoNo), kfDate(line.kfDate), note(line.note), numbers{}
{
    static_assert(std::size(kWritten) == std::size(decltype(numbers){}));
    for (size_t i = 0; i < std::size(kWritten); ++i)
        numbers[i] = line.*kWritten[i];
}

void CountLineSave::Waiting::into(CountLine &l) const
{
    l.itemId = itemId;
    l.stockId = stockId;
    l.stockPlaceId = stockPlaceId;
    l.auxPropId = auxPropId;
    l.unitId = unitId;
    l.kfPeriod = kfPeriod;
    l.batchNo = batchNo;
    l.mtoNo = mtoNo;
    l.kfDate = kfDate;
    l.note = note;
    for (size_t i = 0; i < std::size(kWritten); ++i)
        l.*kWritten[i] = numbers[i];
}

// Texts compared by their bytes, near enough to keep a batch's lines together.
bool CountLineSave::Waiting::before(const Waiting &other) const
{
    const auto key = [](const Waiting &w) {
        return std::tie(w.itemId, w.auxPropId, w.unitId, w.batchNo, w.mtoNo, w.kfPeriod, w.stockId,
                        w.stockPlaceId, w.kfDate, w.row);
    };
    return key(*this) < key(other);
}

namespace {

void begin(host::SqlBatch &batch)
{
    std::string sql;
    host::addLines(sql,
                   {"SET NOCOUNT ON", "DECLARE @Unmatched VARCHAR(8000)", "SELECT @Unmatched=''"});
    batch << sql;
    batch.endStatement();
}

// After the statements of one row: records the row when its update matched no line.
void markUnmatched(host::SqlBatch &batch, int row)
{
    batch << "IF @@ROWCOUNT=0 SELECT @Unmatched=@Unmatched+";
    batch.quoted(std::to_string(row) + ",") << host::kCrLf;
    batch.endStatement();
}

void end(host::SqlBatch &batch)
{
    std::string sql;
    host::addLine(sql, "SELECT @Unmatched AS FUnmatched");
    batch << sql;
}

std::vector<int> unmatchedRows(const std::string &result)
{
    std::vector<int> rows;
    std::istringstream in(result);
    std::string item;
    while (std::getline(in, item, ','))
        if (!item.empty())
            rows.push_back(std::stoi(item));
    return rows;
}

// The first line of the database's message: a statement it quotes after it stays out.
std::string firstLine(const std::string &message)
{
    return message.substr(0, message.find_first_of("\r\n"));
}

} // namespace

CountLineSave::CountLineSave(size_t expected)
{
    m_waiting.reserve(expected);
}
CountLineSave::~CountLineSave() = default;

long CountLineSave::add(int row, const CountLine &line)
{
    const long code = checkLine(line);
    if (code == LineAccepted)
        m_waiting.emplace_back(row, line);
    return code;
}

std::vector<const CountLineSave::Waiting *> CountLineSave::inKeyOrder() const
{
    // Most lines are told apart by the key's first columns, kept beside each line's place so
    // that the sort seldom reads the lines themselves.
    struct Place
    {
        long itemId, auxPropId, unitId;
        const Waiting *line;
    };
    std::vector<Place> places;
    places.reserve(m_waiting.size());
    for (const Waiting &waiting : m_waiting)
        places.push_back({waiting.itemId, waiting.auxPropId, waiting.unitId, &waiting});
    std::sort(places.begin(), places.end(), [](const Place &a, const Place &b) {
        if (a.itemId != b.itemId)
            return a.itemId < b.itemId;
        if (a.auxPropId != b.auxPropId)
            return a.auxPropId < b.auxPropId;
        if (a.unitId != b.unitId)
            return a.unitId < b.unitId;
        return a.line->before(*b.line);
    });
    std::vector<const Waiting *> order;
    order.reserve(places.size());
    for (const Place &place : places)
        order.push_back(place.line);
    return order;
}

void CountLineSave::finish()
{
    // One line's room, filled again for each line sent.
    CountLine line;
    for (const Waiting *waiting : inKeyOrder()) {
        if (m_databaseFailure)
            break;
        if (m_batch.empty())
            begin(m_batch);
        const size_t first = m_batch.statements().size();
        waiting->into(line);
        PubVariant::GetUpdateRowSQL(m_batch, line);
        markUnmatched(m_batch, waiting->row);
        m_pending.push_back({waiting->row, first, m_batch.statements().size()});
        if (m_pending.size() == kLinesPerBatch)
            send();
    }
    if (!m_pending.empty())
        send();
    m_waiting.clear();
    std::sort(m_saved.begin(), m_saved.end());
    std::sort(m_unmatched.begin(), m_unmatched.end());
    std::sort(m_refused.begin(), m_refused.end(),
              [](const Refusal &a, const Refusal &b) { return a.row < b.row; });
}

void CountLineSave::send()
{
    sendBatch();
    // Emptied once sent: the next lines take the room its statements took.
    m_batch.clear();
    m_pending.clear();
}

void CountLineSave::sendBatch()
{
    end(m_batch);
    m_sentAny = true;
    std::string reason;
    if (run(m_batch, m_pending, &reason) || m_databaseFailure)
        return;
    // Which lines the database refuses is found by sending them one by one.
    for (const Pending &line : m_pending) {
        host::SqlBatch alone;
        begin(alone);
        alone.append(m_batch, line.first, line.end);
        end(alone);
        if (run(alone, {line}, &reason))
            continue;
        // The database itself stands in the way now: every line after would wait for it in
        // turn, and none of them was at fault.
        if (m_databaseFailure)
            return;
        m_refused.push_back({line.row, reason});
    }
}

bool CountLineSave::run(const host::SqlBatch &batch, const std::vector<Pending> &lines,
                        std::string *reason)
{
    std::vector<int> unmatched;
    try {
        const auto rs = appConn().Execute(batch);
        if (rs && rs->State() == host::Recordset::adStateOpen && rs->RecordCount() > 0) {
            rs->MoveFirst();
            unmatched = unmatchedRows(host::CStr(rs->Fields(0L).Value()));
        }
    } catch (const host::HostError &e) {
        if (host::databaseFault(e) != host::DatabaseFault::None)
            m_databaseFailure = e;
        *reason = firstLine(e.Description());
        return false;
    }
    for (const Pending &line : lines) {
        if (std::find(unmatched.begin(), unmatched.end(), line.row) == unmatched.end())
            m_saved.push_back(line.row);
        else
            m_unmatched.push_back(line.row);
    }
    return true;
}

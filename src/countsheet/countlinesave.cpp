#include "countsheet/countlinesave.h"

#include "countsheet/countlinecalc.h"
#include "countsheet/countlinesql.h"
#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/db/appconnection.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/backends/statementgroup.h"
#include "host/db/databasefault.h"
#include "host/db/recordset/recordset.h"
#include "host/db/tsql/sqlbatch.h"
#include "services/appconn.h"

#include <algorithm>
#include <sstream>

// Texts compared by their bytes, near enough to keep a batch's lines together.
bool CountLineSave::Waiting::before(const Waiting &other) const
{
    using Text = CountLineUpdate::Text;
    const CountLineKey &a = line.key;
    const CountLineKey &b = other.line.key;
    if (a.itemId != b.itemId)
        return a.itemId < b.itemId;
    if (a.auxPropId != b.auxPropId)
        return a.auxPropId < b.auxPropId;
    if (a.unitId != b.unitId)
        return a.unitId < b.unitId;
    for (const Text text : {Text::BatchNo, Text::MtoNo})
        if (const int c = line.text(text).compare(other.line.text(text)); c != 0)
            return c < 0;
    if (a.kfPeriod != b.kfPeriod)
        return a.kfPeriod < b.kfPeriod;
    if (a.stockId != b.stockId)
        return a.stockId < b.stockId;
    if (a.stockPlaceId != b.stockPlaceId)
        return a.stockPlaceId < b.stockPlaceId;
    if (const int c = line.text(Text::KFDate).compare(other.line.text(Text::KFDate)); c != 0)
        return c < 0;
    return row < other.row;
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
        m_waiting.push_back({row, CountLineUpdate(line)});
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
    for (const Waiting &waiting : m_waiting) {
        const CountLineKey &key = waiting.line.key;
        places.push_back({key.itemId, key.auxPropId, key.unitId, &waiting});
    }
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
    const std::vector<const Waiting *> order = inKeyOrder();
    const Lines lines(order);
    for (size_t first = 0; first < lines.size() && !m_databaseFailure; first += kLinesPerBatch)
        send(lines.subspan(first, std::min<size_t>(kLinesPerBatch, lines.size() - first)));
    m_waiting.clear();
    std::sort(m_saved.begin(), m_saved.end());
    std::sort(m_unmatched.begin(), m_unmatched.end());
    std::sort(m_refused.begin(), m_refused.end(),
              [](const Refusal &a, const Refusal &b) { return a.row < b.row; });
}

void CountLineSave::send(Lines lines)
{
    m_sentAny = true;
    std::string reason;
    if (run(lines, &reason) || m_databaseFailure)
        return;
    // Which lines the database refuses is found by sending them one by one.
    for (const Waiting *const &line : lines) {
        if (run(Lines(&line, 1), &reason))
            continue;
        // The database itself stands in the way now: every line after would wait for it in
        // turn, and none of them was at fault.
        if (m_databaseFailure)
            return;
        m_refused.push_back({line->row, reason});
    }
}

bool CountLineSave::run(Lines lines, std::string *reason)
{
    std::vector<int> unmatched;
    try {
        unmatched = appConn().embedded() ? runBound(lines) : runText(lines);
    } catch (const host::HostError &e) {
        if (host::databaseFault(e) != host::DatabaseFault::None)
            m_databaseFailure = e;
        *reason = firstLine(e.Description());
        return false;
    }
    for (const Waiting *line : lines) {
        if (std::find(unmatched.begin(), unmatched.end(), line->row) == unmatched.end())
            m_saved.push_back(line->row);
        else
            m_unmatched.push_back(line->row);
    }
    return true;
}

std::vector<int> CountLineSave::runText(Lines lines)
{
    host::SqlBatch batch;
    begin(batch);
    for (const Waiting *line : lines) {
        PubVariant::GetUpdateRowSQL(batch, line->line);
        markUnmatched(batch, line->row);
    }
    end(batch);
    const auto rs = appConn().Execute(batch);
    if (rs && rs->State() == host::Recordset::adStateOpen && rs->RecordCount() > 0) {
        rs->MoveFirst();
        return unmatchedRows(host::CStr(rs->Fields(0L).Value()));
    }
    return {};
}

std::vector<int> CountLineSave::runBound(Lines lines)
{
    if (m_quantities.shape.empty()) {
        host::SqlBatch made;
        PubVariant::GetUpdateRowSQL(made, lines.front()->line);
        m_quantities = made.statements()[0];
        m_differences = made.statements()[1];
    }
    std::vector<int> unmatched;
    host::StatementGroup group(*appConn().embedded());
    for (const Waiting *line : lines) {
        PubVariant::SetUpdateRowValues(m_quantities, m_differences, line->line);
        group.run(m_quantities);
        if (group.run(m_differences) == 0)
            unmatched.push_back(line->row);
    }
    group.commit();
    return unmatched;
}

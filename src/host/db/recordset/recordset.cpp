#include "host/db/recordset/recordset.h"
#include "host/core/text.h"

#include "host/core/hosterror.h"
#include "host/core/text.h"
#include "host/db/recordset/recordfilter.h"
#include "host/db/tsql/tsqllexer.h"

#include <algorithm>
#include <numeric>

namespace host {

namespace {

constexpr long kNoCurrentRecord = 3021;
constexpr long kClosed = 3704;
constexpr long kNotFound = 3265;
constexpr long kBadArgument = 3001;
constexpr size_t kKeptFilters = 64;

struct SortKey
{
    size_t column;
    bool descending;
};

} // namespace

const std::string &Field::Name() const
{
    m_recordset->requireOpen();
    return m_recordset->m_data->names[m_column];
}

Variant Field::Value() const
{
    const size_t row = m_recordset->currentRow();
    return m_recordset->m_data->columns[m_column].value(row);
}

void Field::Value(const Variant &value) const
{
    const size_t row = m_recordset->currentRow();
    m_recordset->m_data->columns[m_column].set(row, value);
}

Recordset::Recordset(std::vector<std::string> fieldNames,
                     const std::vector<std::vector<Variant>> &rows)
{
    std::vector<RecordColumn> columns(fieldNames.size());
    for (const auto &row : rows) {
        for (size_t i = 0; i < columns.size(); ++i)
            columns[i].append(i < row.size() ? row[i] : Variant());
    }
    m_data = std::make_shared<Data>(
        Data{std::move(fieldNames), std::move(columns), rows.size(), {}, {}});
    indexNames();
    rebuildView();
}

std::shared_ptr<Recordset> Recordset::fromColumns(std::vector<std::string> fieldNames,
                                                  std::vector<RecordColumn> columns)
{
    const size_t rows = columns.empty() ? 0 : columns.front().size();
    std::shared_ptr<Recordset> rs(new Recordset(
        std::make_shared<Data>(Data{std::move(fieldNames), std::move(columns), rows, {}, {}})));
    rs->indexNames();
    return rs;
}

void Recordset::indexNames()
{
    for (size_t i = 0; i < m_data->names.size(); ++i)
        m_data->index.emplace(toUpper(m_data->names[i]), i);
}

Recordset::Recordset(std::shared_ptr<Data> data) : m_data(std::move(data))
{
    rebuildView();
}

void Recordset::requireOpen() const
{
    if (!m_data)
        throw HostError("Operation is not allowed when the object is closed.", kClosed);
}

void Recordset::requireRow() const
{
    requireOpen();
    if (m_pos < 0 || m_pos >= static_cast<long>(m_view.size()))
        throw HostError("Either BOF or EOF is True, or the current record has been deleted. "
                        "Requested operation requires a current record.",
                        kNoCurrentRecord);
}

size_t Recordset::currentRow() const
{
    requireRow();
    return m_view[static_cast<size_t>(m_pos)];
}

void Recordset::Close()
{
    requireOpen();
    m_data.reset();
    m_view.clear();
    m_filter.clear();
    m_sort.clear();
}

long Recordset::RecordCount() const
{
    requireOpen();
    return static_cast<long>(m_view.size());
}

bool Recordset::EOF() const
{
    requireOpen();
    return m_view.empty() || m_pos >= static_cast<long>(m_view.size());
}

bool Recordset::BOF() const
{
    requireOpen();
    return m_view.empty() || m_pos < 0;
}

void Recordset::MoveFirst()
{
    requireOpen();
    m_pos = 0;
}

void Recordset::MoveLast()
{
    requireOpen();
    m_pos = m_view.empty() ? 0 : static_cast<long>(m_view.size()) - 1;
}

void Recordset::MoveNext()
{
    if (EOF())
        requireRow();
    ++m_pos;
}

void Recordset::MovePrevious()
{
    if (BOF())
        requireRow();
    --m_pos;
}

void Recordset::Move(long rows)
{
    requireOpen();
    if (rows != 0 && (EOF() && rows > 0))
        requireRow();
    if (rows != 0 && (BOF() && rows < 0))
        requireRow();
    const long size = static_cast<long>(m_view.size());
    m_pos = std::clamp(m_pos + rows, -1L, size);
}

long Recordset::FieldCount() const
{
    requireOpen();
    return static_cast<long>(m_data->names.size());
}

Field Recordset::Fields(long index)
{
    requireOpen();
    if (index < 0 || index >= static_cast<long>(m_data->names.size()))
        throw HostError("Item cannot be found in the collection corresponding to the requested "
                        "name or ordinal.",
                        kNotFound);
    return Field(*this, static_cast<size_t>(index));
}

Field Recordset::Fields(std::string_view name)
{
    requireOpen();
    return Field(*this, fieldIndex(name));
}

std::span<const size_t> Recordset::rowsAhead() const
{
    requireOpen();
    const auto first = static_cast<size_t>(std::clamp(m_pos, 0L, static_cast<long>(m_view.size())));
    return std::span<const size_t>(m_view).subspan(first);
}

const RecordColumn &Recordset::column(long field) const
{
    requireOpen();
    return m_data->columns.at(static_cast<size_t>(field));
}

size_t Recordset::fieldIndex(std::string_view name) const
{
    const auto it = m_data->index.find(toUpper(name));
    if (it == m_data->index.end())
        throw HostError("Item cannot be found in the collection corresponding to the requested "
                        "name or ordinal: " +
                            std::string(name),
                        kNotFound);
    return it->second;
}

void Recordset::Filter(std::string_view criteria)
{
    changeView(m_filter, criteria);
}

void Recordset::Sort(std::string_view fields)
{
    changeView(m_sort, fields);
}

// Sets the filter or sort text and rebuilds the view; a text that fails leaves the old one.
void Recordset::changeView(std::string &setting, std::string_view text)
{
    requireOpen();
    const std::string previous = setting;
    setting = Trim(text);
    try {
        rebuildView();
    } catch (const HostError &) {
        setting = previous;
        rebuildView();
        throw;
    }
}

void Recordset::rebuildView()
{
    m_view.resize(m_data->rows);
    std::iota(m_view.begin(), m_view.end(), size_t{0});
    if (!m_sort.empty()) {
        std::vector<SortKey> keys;
        const auto tokens = tsql::tokenize(m_sort);
        for (size_t i = 0; tokens[i].kind != tsql::TokenKind::End;) {
            if (!tokens[i].isName())
                throw HostError("The sort order cannot be applied: " + m_sort, kBadArgument);
            SortKey key{fieldIndex(tokens[i].text), false};
            ++i;
            if (tokens[i].is("DESC")) {
                key.descending = true;
                ++i;
            } else if (tokens[i].is("ASC")) {
                ++i;
            }
            keys.push_back(key);
            if (tokens[i].isSymbol(","))
                ++i;
            else if (tokens[i].kind != tsql::TokenKind::End)
                throw HostError("The sort order cannot be applied: " + m_sort, kBadArgument);
        }
        const auto &columns = m_data->columns;
        const auto before = [&](size_t a, size_t b) {
            for (const auto &key : keys) {
                const int c = columns[key.column].compare(a, b);
                if (c != 0)
                    return key.descending ? c > 0 : c < 0;
            }
            return false;
        };
        // Rows often come in the order asked for already (a sheet's lines share one backup
        // date): one pass tells, where sorting would compare each row many times.
        if (!std::is_sorted(m_view.begin(), m_view.end(), before))
            std::stable_sort(m_view.begin(), m_view.end(), before);
    }
    if (!m_filter.empty()) {
        const auto filter = parsedFilter();
        size_t row = 0;
        const RecordFilter::FieldValue field = [&](size_t column) {
            return m_data->columns[column].value(row);
        };
        std::erase_if(m_view, [&](size_t candidate) {
            row = candidate;
            return !filter->matches(field);
        });
    }
    m_pos = 0;
}

std::shared_ptr<const RecordFilter> Recordset::parsedFilter()
{
    auto &kept = m_data->filters;
    if (const auto it = kept.find(m_filter); it != kept.end())
        return it->second;
    auto filter = std::make_shared<const RecordFilter>(m_filter, m_data->names);
    if (kept.size() >= kKeptFilters)
        kept.clear();
    kept.emplace(m_filter, filter);
    return filter;
}

std::shared_ptr<Recordset> Recordset::Clone() const
{
    requireOpen();
    return std::shared_ptr<Recordset>(new Recordset(m_data));
}

Variant Recordset::Bookmark() const
{
    requireRow();
    return Variant(static_cast<long long>(m_view[static_cast<size_t>(m_pos)]) + 1);
}

void Recordset::Bookmark(const Variant &bookmark)
{
    requireOpen();
    const long long row = static_cast<long long>(CDbl(bookmark)) - 1;
    const auto it = std::find(m_view.begin(), m_view.end(), static_cast<size_t>(row));
    if (row < 0 || it == m_view.end())
        throw HostError("The bookmark is not valid for this recordset.", kBadArgument);
    m_pos = static_cast<long>(it - m_view.begin());
}

long Recordset::AbsolutePosition() const
{
    requireOpen();
    if (m_view.empty())
        return adPosUnknown;
    if (m_pos < 0)
        return adPosBOF;
    if (m_pos >= static_cast<long>(m_view.size()))
        return adPosEOF;
    return m_pos + 1;
}

void Recordset::AbsolutePosition(long position)
{
    requireOpen();
    if (position < 1 || position > static_cast<long>(m_view.size()))
        throw HostError("The position is out of the range of the recordset.", kBadArgument);
    m_pos = position - 1;
}

bool hasRows(const std::shared_ptr<Recordset> &rs)
{
    return rs && rs->State() != Recordset::adStateClosed && !rs->EOF();
}

} // namespace host

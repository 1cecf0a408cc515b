#include "host/db/recordset/recordcolumn.h"

#include "host/db/recordset/recordfilter.h"
#include "host/db/tsql/tsqlfunctions.h"

#include <algorithm>

namespace host {

namespace {

int compareNumbers(double x, double y)
{
    return x < y ? -1 : (x > y ? 1 : 0);
}

} // namespace

void RecordColumn::spreadUniform()
{
    m_uniform = false;
    for (size_t row = 0; row < m_rows; row += kBlockRows)
        m_blocks.emplace_back(std::min(kBlockRows, m_rows - row), m_uniformSlot);
    if (m_uniformNull && m_rows > 0) {
        m_nulls.assign((m_rows + kWordBits - 1) / kWordBits, ~std::uint64_t{0});
        if (const size_t used = m_rows % kWordBits; used != 0)
            m_nulls.back() = (std::uint64_t{1} << used) - 1;
    }
}

void RecordColumn::addBlock()
{
    m_blocks.emplace_back();
    if (m_blocks.size() > 1)
        m_blocks.back().reserve(kBlockRows);
}

void RecordColumn::markNull(size_t row, bool null)
{
    const size_t word = row / kWordBits;
    const std::uint64_t bit = std::uint64_t{1} << (row % kWordBits);
    if (null) {
        if (m_nulls.size() <= word)
            m_nulls.resize(word + 1);
        m_nulls[word] |= bit;
    } else if (word < m_nulls.size()) {
        m_nulls[word] &= ~bit;
    }
}

RecordColumn::Kind RecordColumn::kindOf(const Variant &value)
{
    switch (value.type()) {
    case VariantType::Long:
        return Kind::Long;
    case VariantType::Double:
        return Kind::Double;
    case VariantType::Boolean:
        return Kind::Boolean;
    case VariantType::Date:
        return Kind::Date;
    case VariantType::String:
        return Kind::Text;
    default:
        return Kind::Mixed;
    }
}

bool RecordColumn::accept(Kind kind)
{
    if (m_kind == kind && kind != Kind::Mixed)
        return true;
    if (m_kind == Kind::Unset && kind != Kind::Mixed) {
        m_kind = kind;
        return true;
    }
    toMixed();
    return false;
}

void RecordColumn::toMixed()
{
    if (m_kind == Kind::Mixed)
        return;
    std::vector<Variant> values;
    values.reserve(m_rows);
    for (size_t row = 0; row < m_rows; ++row)
        values.push_back(value(row));
    m_kind = Kind::Mixed;
    m_uniform = false;
    m_lastText = kNoText;
    m_mixed = std::move(values);
    std::vector<std::vector<std::uint64_t>>().swap(m_blocks);
    std::vector<std::uint64_t>().swap(m_nulls);
    std::vector<std::string>().swap(m_textBlocks);
}

std::uint64_t RecordColumn::slotOf(const Variant &value)
{
    switch (m_kind) {
    case Kind::Long:
        return std::bit_cast<std::uint64_t>(value.longValue());
    case Kind::Double:
        return std::bit_cast<std::uint64_t>(value.doubleValue());
    case Kind::Date:
        return std::bit_cast<std::uint64_t>(value.dateValue());
    case Kind::Boolean:
        return value.boolValue() ? 1 : 0;
    case Kind::Text:
        return sharedTextSlot(value.stringValue());
    default:
        return 0;
    }
}

void RecordColumn::appendNull()
{
    if (m_kind != Kind::Mixed) {
        pushSlot(0, true);
        return;
    }
    m_mixed.push_back(Variant::null());
    ++m_rows;
}

void RecordColumn::append(const Variant &value)
{
    if (value.isNull()) {
        appendNull();
        return;
    }
    if (kindOf(value) == Kind::Text && !fitsText(value.stringValue()))
        toMixed();
    if (accept(kindOf(value))) {
        pushSlot(slotOf(value), false);
        return;
    }
    m_mixed.push_back(value);
    ++m_rows;
}

double RecordColumn::number(size_t row) const
{
    const std::uint64_t slot = slotAt(row);
    switch (m_kind) {
    case Kind::Long:
        return static_cast<double>(std::bit_cast<std::int64_t>(slot));
    case Kind::Boolean:
        return slot != 0 ? -1.0 : 0.0;
    default:
        return std::bit_cast<double>(slot);
    }
}

Variant RecordColumn::value(size_t row) const
{
    if (m_kind == Kind::Mixed)
        return m_mixed[row];
    if (isNull(row))
        return Variant::null();
    const std::uint64_t slot = slotAt(row);
    switch (m_kind) {
    case Kind::Long:
        return Variant(static_cast<long long>(std::bit_cast<std::int64_t>(slot)));
    case Kind::Double:
        return Variant(std::bit_cast<double>(slot));
    case Kind::Boolean:
        return Variant(slot != 0);
    case Kind::Date:
        return Variant::fromDate(std::bit_cast<double>(slot));
    case Kind::Text:
        return Variant(text(row));
    default:
        return Variant::null();
    }
}

void RecordColumn::set(size_t row, const Variant &value)
{
    if (m_uniform)
        spreadUniform();
    if (m_kind != Kind::Mixed && value.isNull()) {
        markNull(row, true);
        return;
    }
    if (kindOf(value) == Kind::Text && !fitsText(value.stringValue()))
        toMixed();
    if (!accept(kindOf(value))) {
        m_mixed[row] = value;
        return;
    }
    slotAt(row) = slotOf(value);
    markNull(row, false);
}

int RecordColumn::compare(size_t a, size_t b) const
{
    if (m_kind == Kind::Mixed)
        return compareValues(m_mixed[a], m_mixed[b]);
    const bool nullA = isNull(a);
    const bool nullB = isNull(b);
    if (nullA || nullB)
        return nullA == nullB ? 0 : (nullA ? -1 : 1);
    if (m_kind == Kind::Text) {
        const std::string_view x = text(a);
        const std::string_view y = text(b);
        return tsql::compareText(x.data(), static_cast<int>(x.size()), y.data(),
                                 static_cast<int>(y.size()));
    }
    return compareNumbers(number(a), number(b));
}

} // namespace host

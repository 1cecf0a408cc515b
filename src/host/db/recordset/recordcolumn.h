#pragma once

#include "host/core/variant.h"

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// The values of one field over every row of a recordset, kept by type: a number, date or
// Boolean takes 8 bytes and a text its bytes in one buffer of the column, so a large result
// does not cost one Variant per cell. A column whose values come in more than one type (or as
// Empty or objects) keeps Variants from then on.
class RecordColumn
{
public:
    size_t size() const { return m_rows; }
    void reserve(size_t rows);

    void appendNull();
    void appendLong(std::int64_t value)
    {
        if (m_kind != Kind::Long && !accept(Kind::Long)) {
            append(Variant(static_cast<long long>(value)));
            return;
        }
        m_slots.push_back(static_cast<std::uint64_t>(value));
        ++m_rows;
    }
    void appendDouble(double value)
    {
        if (m_kind != Kind::Double && !accept(Kind::Double)) {
            append(Variant(value));
            return;
        }
        m_slots.push_back(std::bit_cast<std::uint64_t>(value));
        ++m_rows;
    }
    void appendText(std::string_view text)
    {
        if ((m_kind != Kind::Text && !accept(Kind::Text)) || !fitsText(text)) {
            append(Variant(text));
            return;
        }
        m_slots.push_back(textSlot(text));
        ++m_rows;
    }
    void append(const Variant &value);

    Variant value(size_t row) const;
    void set(size_t row, const Variant &value);
    bool isNull(size_t row) const
    {
        if (m_kind == Kind::Mixed)
            return m_mixed[row].isNull();
        const size_t word = row / kWordBits;
        return word < m_nulls.size() && ((m_nulls[word] >> (row % kWordBits)) & 1) != 0;
    }

    // For a reader of many rows, without a Variant per value: a column of whole or fractional
    // numbers gives a row's number, a column of texts a row's text (a view into the column,
    // valid until it changes); a null row has neither.
    bool holdsNumbers() const { return m_kind == Kind::Long || m_kind == Kind::Double; }
    bool holdsTexts() const { return m_kind == Kind::Text; }
    double number(size_t row) const;
    std::string_view text(size_t row) const
    {
        const std::uint64_t slot = m_slots[row];
        return std::string_view(m_texts).substr(slot >> kLengthBits, slot & kMaxLength);
    }
    // As compareValues() of the two rows' values.
    int compare(size_t a, size_t b) const;

private:
    // A text's slot: its offset in the column's buffer above, its length below.
    static constexpr int kLengthBits = 24;
    static constexpr std::uint64_t kMaxLength = (std::uint64_t{1} << kLengthBits) - 1;
    static constexpr std::uint64_t kMaxOffset = (std::uint64_t{1} << (64 - kLengthBits)) - 1;
    static constexpr size_t kWordBits = 64;

    enum class Kind : std::uint8_t
    {
        Unset, // only nulls so far
        Long,
        Double,
        Boolean,
        Date,
        Text,
        Mixed
    };
    static Kind kindOf(const Variant &value);
    // Takes values of this kind from now on, when the column holds none of another; false when
    // it must keep Variants instead.
    bool accept(Kind kind);
    void markNull(size_t row, bool null);
    void toMixed();
    std::uint64_t slotOf(const Variant &value);
    // Whether the buffer and a slot can take the text.
    bool fitsText(std::string_view text) const
    {
        return text.size() <= kMaxLength && m_texts.size() + text.size() <= kMaxOffset;
    }
    std::uint64_t textSlot(std::string_view text)
    {
        const std::uint64_t offset = m_texts.size();
        m_texts.append(text);
        return (offset << kLengthBits) | text.size();
    }

    Kind m_kind = Kind::Unset;
    size_t m_rows = 0;
    std::vector<std::uint64_t> m_slots; // value bits, or a text's offset and length
    // A bit per row, set for a null; only as far as the last null row.
    std::vector<std::uint64_t> m_nulls;
    std::string m_texts;
    std::vector<Variant> m_mixed;
};

} // namespace host

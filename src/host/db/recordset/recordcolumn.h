#pragma once

#include "host/core/variant.h"

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
    void appendLong(std::int64_t value);
    void appendDouble(double value);
    void appendText(std::string_view text);
    void append(const Variant &value);

    Variant value(size_t row) const;
    void set(size_t row, const Variant &value);
    bool isNull(size_t row) const;
    // As compareValues() of the two rows' values.
    int compare(size_t a, size_t b) const;

private:
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
    // Makes room for a value of this kind; false when the column must keep Variants instead.
    bool accept(Kind kind);
    void toMixed();
    std::uint64_t slotOf(const Variant &value);
    // Whether the buffer and a slot can take the text.
    bool fitsText(std::string_view text) const;
    std::uint64_t textSlot(std::string_view text);
    std::string_view text(size_t row) const;
    double number(size_t row) const;

    Kind m_kind = Kind::Unset;
    size_t m_rows = 0;
    std::vector<std::uint64_t> m_slots; // value bits, or a text's offset and length
    std::vector<bool> m_nulls;
    std::string m_texts;
    std::vector<Variant> m_mixed;
};

} // namespace host

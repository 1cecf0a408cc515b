#pragma once

#include "host/core/variant.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// The values of one field over every row of a recordset, kept by type: a number, date or
// Boolean takes 8 bytes and a text its bytes in the column's text blocks, so a large result
// does not cost one Variant per cell. Values are kept in blocks of a fixed size, so that a
// growing column never copies what it holds. A column whose values come in more than one type
// (or as Empty or objects) keeps Variants from then on.
//
// A sorted result repeats a value over neighbouring rows and often over all of them (the date of
// a snapshot, a column null on every row): a text that repeats the one appended before it is not
// kept twice, and a column that holds one value on every row keeps it once, until a row is
// given another.
class RecordColumn
{
public:
    size_t size() const { return m_rows; }

    void appendNull();
    void appendLong(std::int64_t value)
    {
        if (m_kind != Kind::Long && !accept(Kind::Long)) {
            append(Variant(static_cast<long long>(value)));
            return;
        }
        pushSlot(static_cast<std::uint64_t>(value), false);
    }
    void appendDouble(double value)
    {
        if (m_kind != Kind::Double && !accept(Kind::Double)) {
            append(Variant(value));
            return;
        }
        pushSlot(std::bit_cast<std::uint64_t>(value), false);
    }
    void appendText(std::string_view text)
    {
        if ((m_kind != Kind::Text && !accept(Kind::Text)) || !fitsText(text)) {
            append(Variant(text));
            return;
        }
        pushSlot(sharedTextSlot(text), false);
    }
    void append(const Variant &value);

    Variant value(size_t row) const;
    void set(size_t row, const Variant &value);
    bool isNull(size_t row) const
    {
        if (m_kind == Kind::Mixed)
            return m_mixed[row].isNull();
        if (m_uniform)
            return m_uniformNull;
        const size_t word = row / kWordBits;
        return word < m_nulls.size() && ((m_nulls[word] >> (row % kWordBits)) & 1) != 0;
    }

    // For a reader of many rows, without a Variant per value: a column of whole or fractional
    // numbers gives a row's number, a column of texts a row's text (a view into the column,
    // valid until it changes); a null row has neither.
    bool holdsNumbers() const { return m_kind == Kind::Long || m_kind == Kind::Double; }
    bool holdsTexts() const { return m_kind == Kind::Text; }
    double number(size_t row) const;
    std::string_view text(size_t row) const { return slotText(slotAt(row)); }
    // As compareValues() of the two rows' values.
    int compare(size_t a, size_t b) const;

private:
    // A text's slot: its block, its offset in the block, its length. A text of a block's size
    // or more has a block of its own.
    static constexpr int kLengthBits = 24;
    static constexpr int kOffsetBits = 16;
    static constexpr std::uint64_t kMaxLength = (std::uint64_t{1} << kLengthBits) - 1;
    static constexpr size_t kTextBlock = size_t{1} << kOffsetBits;
    static constexpr size_t kMaxTextBlocks = size_t{1} << (64 - kLengthBits - kOffsetBits);
    static constexpr int kBlockBits = 12;
    static constexpr size_t kBlockRows = size_t{1} << kBlockBits;
    static constexpr size_t kWordBits = 64;
    static constexpr std::uint64_t kNoText = ~std::uint64_t{0};

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
    std::uint64_t slotAt(size_t row) const
    {
        if (m_uniform)
            return m_uniformSlot;
        return m_blocks[row >> kBlockBits][row & (kBlockRows - 1)];
    }
    std::uint64_t &slotAt(size_t row)
    {
        return m_blocks[row >> kBlockBits][row & (kBlockRows - 1)];
    }
    std::string_view slotText(std::uint64_t slot) const
    {
        const std::string &block = m_textBlocks[slot >> (kLengthBits + kOffsetBits)];
        return std::string_view(block).substr((slot >> kLengthBits) & (kTextBlock - 1),
                                              slot & kMaxLength);
    }
    // Gives every row so far the one value the column held, in slots and null bits.
    void spreadUniform();
    // A block for the rows to come. The first grows as rows come, so that a small result stays
    // small; the others are taken whole.
    void addBlock();
    // The next row's slot.
    void pushSlot(std::uint64_t slot, bool null)
    {
        if (m_uniform) {
            if (m_rows == 0 || (slot == m_uniformSlot && null == m_uniformNull)) {
                m_uniformSlot = slot;
                m_uniformNull = null;
                ++m_rows;
                return;
            }
            spreadUniform();
        }
        if (null)
            markNull(m_rows, true);
        if (m_blocks.empty() || m_blocks.back().size() == kBlockRows)
            addBlock();
        m_blocks.back().push_back(slot);
        ++m_rows;
    }
    // Whether a slot can take the text.
    bool fitsText(std::string_view text) const
    {
        return text.size() <= kMaxLength && m_textBlocks.size() < kMaxTextBlocks;
    }
    // The slot of the text appended last when the text is the same, else textSlot().
    std::uint64_t sharedTextSlot(std::string_view text)
    {
        if (m_lastText == kNoText || text != slotText(m_lastText))
            textSlot(text);
        return m_lastText;
    }
    // Appends the text to the last block where it fits, else to a new block (the first grows
    // as texts come, the others are taken whole); the text's slot, which is the last text's.
    std::uint64_t textSlot(std::string_view text)
    {
        if (m_textBlocks.empty() || m_textBlocks.back().size() + text.size() >= kTextBlock) {
            m_textBlocks.emplace_back();
            if (m_textBlocks.size() > 1)
                m_textBlocks.back().reserve(std::max(kTextBlock, text.size()));
        }
        std::string &block = m_textBlocks.back();
        const std::uint64_t offset = block.size();
        block.append(text);
        m_lastText = ((m_textBlocks.size() - 1) << (kLengthBits + kOffsetBits)) |
                     (offset << kLengthBits) | text.size();
        return m_lastText;
    }

    Kind m_kind = Kind::Unset;
    size_t m_rows = 0;
    // While every row holds the same value: its slot and whether it is null, and no blocks.
    bool m_uniform = true;
    bool m_uniformNull = false;
    std::uint64_t m_uniformSlot = 0;
    // The slot of the text appended last, which a row holding the same text shares.
    std::uint64_t m_lastText = kNoText;
    // Value bits, or a text's slot, by row in blocks of kBlockRows.
    std::vector<std::vector<std::uint64_t>> m_blocks;
    // A bit per row, set for a null; only as far as the last null row.
    std::vector<std::uint64_t> m_nulls;
    std::vector<std::string> m_textBlocks;
    std::vector<Variant> m_mixed;
};

} // namespace host

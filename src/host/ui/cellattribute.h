#pragma once

#include "host/ui/cellblock.h"

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

namespace host::ui {

// One setting of grid cells (lock, colour, cell type, ...) kept at four levels: the whole grid,
// a column, a row and a single cell. Every write carries a sequence number and a cell reads
// the latest write that covers it, as if each write had touched every cell of its block; so a
// column-wide write costs one entry, not one per row. Single-cell values are stored per column
// and only for columns that have one.
template <typename T> class CellAttribute
{
public:
    explicit CellAttribute(T fallback) : m_all{std::move(fallback), 0} {}

    void set(const CellBlock &block, const T &value, std::uint32_t seq)
    {
        if (block.allCols && block.allRows) {
            m_all = {value, seq};
        } else if (block.allRows) {
            for (int col = block.col1; col <= block.col2; ++col)
                slot(m_cols, col) = {value, seq};
        } else if (block.allCols) {
            for (int row = block.row1; row <= block.row2; ++row)
                m_rows[row] = {value, seq};
        } else {
            for (int col = block.col1; col <= block.col2; ++col) {
                std::vector<Stamped> &cells = slot(m_cells, col);
                for (int row = block.row1; row <= block.row2; ++row)
                    slot(cells, row) = {value, seq};
            }
        }
    }

    const T &get(int col, int row) const
    {
        const Stamped *best = &m_all;
        auto consider = [&best](const Stamped *candidate) {
            if (candidate && candidate->seq > best->seq)
                best = candidate;
        };
        consider(find(m_cols, col));
        if (!m_rows.empty()) {
            const auto it = m_rows.find(row);
            consider(it == m_rows.end() ? nullptr : &it->second);
        }
        if (col >= 0 && col < static_cast<int>(m_cells.size()))
            consider(find(m_cells[static_cast<std::size_t>(col)], row));
        return best->value;
    }

    // Forgets the row and cell settings of rows from firstRow on.
    void dropRowsFrom(int firstRow)
    {
        std::erase_if(m_rows, [firstRow](const auto &entry) { return entry.first >= firstRow; });
        for (std::vector<Stamped> &cells : m_cells) {
            if (static_cast<int>(cells.size()) > firstRow)
                cells.resize(static_cast<std::size_t>(firstRow));
        }
    }

    // Reorders rows first .. first + order.size() - 1: new row first + i takes the settings of
    // old row order[i].
    void permuteRows(int first, const std::vector<int> &order)
    {
        std::unordered_map<int, Stamped> moved;
        for (std::size_t i = 0; i < order.size(); ++i) {
            const auto it = m_rows.find(order[i]);
            if (it != m_rows.end())
                moved[first + static_cast<int>(i)] = it->second;
        }
        const int last = first + static_cast<int>(order.size());
        std::erase_if(m_rows, [&](const auto &e) { return e.first >= first && e.first < last; });
        m_rows.merge(moved);
        for (std::vector<Stamped> &cells : m_cells) {
            if (static_cast<int>(cells.size()) <= first)
                continue;
            std::vector<Stamped> old(cells);
            slot(cells, last - 1);
            for (std::size_t i = 0; i < order.size(); ++i) {
                const auto from = static_cast<std::size_t>(order[i]);
                cells[static_cast<std::size_t>(first) + i] =
                    from < old.size() ? old[from] : Stamped{};
            }
        }
    }

private:
    struct Stamped
    {
        T value{};
        std::uint32_t seq = 0;
    };

    template <typename V> static V &slot(std::vector<V> &vector, int index)
    {
        const auto i = static_cast<std::size_t>(index);
        if (i >= vector.size())
            vector.resize(i + 1);
        return vector[i];
    }

    static const Stamped *find(const std::vector<Stamped> &vector, int index)
    {
        const auto i = static_cast<std::size_t>(index);
        return index >= 0 && i < vector.size() ? &vector[i] : nullptr;
    }

    Stamped m_all;
    std::vector<Stamped> m_cols;
    std::unordered_map<int, Stamped> m_rows;
    std::vector<std::vector<Stamped>> m_cells;
};

} // namespace host::ui

#pragma once

#include "host/ui/spread/cellblock.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace host::ui {

// One setting of grid cells (lock, colour, cell type, ...) kept at four levels: the whole grid,
// a column, a row and a single cell. Every write carries a sequence number and a cell reads
// the latest write that covers it, as if each write had touched every cell of its block; so a
// column-wide write costs one entry, not one per row. Single-cell values are stored per column
// in blocks of rows, only for blocks that have one: a setting of one row across the columns
// (a totals row) costs one block per column, not a column as long as the sheet.
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
                Cells &cells = slot(m_cells, col);
                for (int row = block.row1; row <= block.row2; ++row)
                    cellSlot(cells, row) = {value, seq};
            }
        }
    }

    // Single cells of one column, rows first .. first + count - 1, row first + i taking
    // valueOf(i): as that many one-cell writes, which cover no cell twice, so one sequence
    // number serves them all.
    template <typename F>
    void setColumnCells(int col, int first, int count, F valueOf, std::uint32_t seq)
    {
        Cells &cells = slot(m_cells, col);
        for (int i = 0; i < count; ++i)
            cellSlot(cells, first + i) = {valueOf(i), seq};
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
            consider(findCell(m_cells[static_cast<std::size_t>(col)], row));
        return best->value;
    }

    // The setting of rows first..last of a column when they all have the same; nothing when
    // they may differ. For a writer of many rows, which then need not read it per cell.
    std::optional<T> sameInColumn(int col, int first, int last) const
    {
        const Stamped *base = &m_all;
        if (const Stamped *column = find(m_cols, col); column && column->seq > base->seq)
            base = column;
        // A later write of another value to a row or cell in the range may show through.
        const auto differs = [base](const Stamped &later) {
            return later.seq > base->seq && !(later.value == base->value);
        };
        for (const auto &[row, stamped] : m_rows)
            if (row >= first && row <= last && differs(stamped))
                return std::nullopt;
        if (col >= 0 && col < static_cast<int>(m_cells.size())) {
            const Cells &cells = m_cells[static_cast<std::size_t>(col)];
            for (int row = std::max(first, 0); row <= last; ++row) {
                const auto block = static_cast<std::size_t>(row / kBlockRows);
                if (block >= cells.size())
                    break;
                if (!cells[block]) {
                    row = (row / kBlockRows + 1) * kBlockRows - 1;
                    continue;
                }
                if (differs((*cells[block])[static_cast<std::size_t>(row % kBlockRows)]))
                    return std::nullopt;
            }
        }
        return base->value;
    }

    // Forgets the row and cell settings of rows from firstRow on.
    void dropRowsFrom(int firstRow)
    {
        std::erase_if(m_rows, [firstRow](const auto &entry) { return entry.first >= firstRow; });
        const auto keptBlocks = static_cast<std::size_t>((firstRow + kBlockRows - 1) / kBlockRows);
        for (Cells &cells : m_cells) {
            if (cells.size() > keptBlocks)
                cells.resize(keptBlocks);
            for (int row = firstRow; row < static_cast<int>(keptBlocks) * kBlockRows; ++row) {
                if (Stamped *cell = existingCell(cells, row))
                    *cell = Stamped{};
            }
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
        for (Cells &cells : m_cells) {
            if (static_cast<int>(cells.size()) * kBlockRows <= first)
                continue;
            std::vector<Stamped> old;
            old.reserve(order.size());
            for (const int from : order) {
                const Stamped *cell = findCell(cells, from);
                old.push_back(cell ? *cell : Stamped{});
            }
            for (std::size_t i = 0; i < order.size(); ++i) {
                const int to = first + static_cast<int>(i);
                if (Stamped *cell = existingCell(cells, to))
                    *cell = old[i];
                else if (old[i].seq != 0)
                    cellSlot(cells, to) = old[i];
            }
        }
    }

private:
    struct Stamped
    {
        T value{};
        std::uint32_t seq = 0;
    };
    static constexpr int kBlockRows = 256;
    using Block = std::array<Stamped, kBlockRows>;
    // A column's single-cell settings: blocks of rows, absent where no cell has one.
    using Cells = std::vector<std::unique_ptr<Block>>;

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

    static Stamped *existingCell(const Cells &cells, int row)
    {
        const auto block = static_cast<std::size_t>(row / kBlockRows);
        if (row < 0 || block >= cells.size() || !cells[block])
            return nullptr;
        return &(*cells[block])[static_cast<std::size_t>(row % kBlockRows)];
    }

    static const Stamped *findCell(const Cells &cells, int row)
    {
        const Stamped *cell = existingCell(cells, row);
        return cell && cell->seq != 0 ? cell : nullptr;
    }

    static Stamped &cellSlot(Cells &cells, int row)
    {
        std::unique_ptr<Block> &block = slot(cells, row / kBlockRows);
        if (!block)
            block = std::make_unique<Block>();
        return (*block)[static_cast<std::size_t>(row % kBlockRows)];
    }

    Stamped m_all;
    std::vector<Stamped> m_cols;
    std::unordered_map<int, Stamped> m_rows;
    std::vector<Cells> m_cells;
};

} // namespace host::ui

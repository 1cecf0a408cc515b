#pragma once

#include "host/core/variant.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace host {

// The cells of a worksheet that hold a value, kept sparse, so that the row and column numbers
// written in a file decide nothing about memory. What the cells take, here and once laid out in
// rows, is counted against a budget that a count sheet of 100,000 lines stays well inside; a
// small file that would unfold into more is refused instead.
class SheetGrid
{
public:
    static constexpr std::uint32_t kMaxRows = 1048576;
    static constexpr std::uint32_t kMaxColumns = 16384;
    static constexpr size_t kMaxBytes = size_t{256} << 20;

    explicit SheetGrid(std::filesystem::path file) : m_file(std::move(file)) {}

    // 0-based; a Null value is not kept, and a later value of the same cell replaces an earlier
    // one. Throws HostError past the format's limits or the budget.
    void set(std::uint32_t row, std::uint32_t column, Variant value);
    // Counts memory that the reader keeps beside the cells (shared texts) against the budget.
    void charge(size_t bytes);
    // The lines from the first to the last one holding a value, each as wide as the widest
    // one, empty cells Null. Throws HostError when they would not fit the budget.
    std::vector<std::vector<Variant>> takeRows();

private:
    struct Cell
    {
        std::uint32_t row;
        std::uint32_t column;
        Variant value;
    };

    std::filesystem::path m_file;
    std::vector<Cell> m_cells;
    size_t m_bytes = 0;
    size_t m_textBytes = 0;
};

// The first worksheet of an Excel 97-2003 workbook (.xls). Throws HostError when the file
// cannot be read.
SheetGrid readXls(const std::filesystem::path &file);
// The first worksheet of an Office Open XML workbook (.xlsx).
SheetGrid readXlsx(const std::filesystem::path &file);

// Either kind, told apart by the file's signature rather than its extension.
SheetGrid readWorkbook(const std::filesystem::path &file);

} // namespace host

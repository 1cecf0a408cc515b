#include "host/importer/sheetgrid.h"

#include "host/core/hosterror.h"
#include "host/importer/workbookerror.h"

#include <algorithm>
#include <array>
#include <fstream>

namespace host {
namespace {

size_t textBytes(const Variant &value)
{
    return value.type() == VariantType::String ? value.stringValue().size() : 0;
}

} // namespace

void SheetGrid::set(std::uint32_t row, std::uint32_t column, Variant value)
{
    if (row >= kMaxRows || column >= kMaxColumns)
        throw workbookError(m_file, "a cell lies outside the " + std::to_string(kMaxRows) +
                                        " rows and " + std::to_string(kMaxColumns) +
                                        " columns of a worksheet");
    if (value.isNull())
        return;
    const size_t text = textBytes(value);
    charge(sizeof(Cell) + text);
    m_textBytes += text;
    m_cells.push_back({row, column, std::move(value)});
}

void SheetGrid::charge(size_t bytes)
{
    m_bytes += bytes;
    if (m_bytes > kMaxBytes)
        throw workbookError(m_file, "the worksheet holds more than " +
                                        std::to_string(kMaxBytes >> 20) + " MB of cells");
}

std::vector<std::vector<Variant>> SheetGrid::takeRows()
{
    std::stable_sort(m_cells.begin(), m_cells.end(), [](const Cell &a, const Cell &b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    size_t rows = 0;
    size_t width = 0;
    for (const Cell &cell : m_cells) {
        rows = std::max<size_t>(rows, cell.row + 1);
        width = std::max<size_t>(width, cell.column + 1);
    }
    const size_t laidOut = rows * (sizeof(std::vector<Variant>) + width * sizeof(Variant));
    if (laidOut + m_textBytes > kMaxBytes)
        throw workbookError(m_file, "the worksheet's " + std::to_string(rows) + " rows of " +
                                        std::to_string(width) + " columns need more than " +
                                        std::to_string(kMaxBytes >> 20) + " MB");
    std::vector<std::vector<Variant>> grid(rows, std::vector<Variant>(width, Variant::null()));
    for (Cell &cell : m_cells)
        grid[cell.row][cell.column] = std::move(cell.value);
    m_cells.clear();
    m_cells.shrink_to_fit();
    m_bytes = 0;
    m_textBytes = 0;
    return grid;
}

SheetGrid readWorkbook(const std::filesystem::path &file)
{
    // Opening a pipe or a device would wait for a writer that may never come.
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        throw HostError("The workbook " + file.string() + " is no regular file.");
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw HostError("Cannot open the workbook " + file.string());
    std::array<unsigned char, 4> signature{};
    in.read(reinterpret_cast<char *>(signature.data()), signature.size());
    // A compound document holds an .xls workbook; a zip archive an .xlsx one.
    constexpr std::array<unsigned char, 4> compound{0xD0, 0xCF, 0x11, 0xE0};
    constexpr std::array<unsigned char, 4> zip{'P', 'K', 0x03, 0x04};
    if (signature == compound)
        return readXls(file);
    if (signature == zip)
        return readXlsx(file);
    throw HostError("The file is not an Excel workbook: " + file.string());
}

} // namespace host

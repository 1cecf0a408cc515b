#include "host/importer/sheetimport.h"

#include "host/db/recordset.h"
#include "host/importer/sheetgrid.h"

#include <algorithm>

namespace host {
namespace {

bool isBlankRow(const std::vector<Variant> &row)
{
    return std::all_of(row.begin(), row.end(), [](const Variant &cell) { return cell.isNull(); });
}

} // namespace

std::shared_ptr<Recordset> SheetImport::importdata(const std::string &filePath)
{
    SheetGrid grid = readWorkbook(filePath);
    while (!grid.empty() && isBlankRow(grid.back()))
        grid.pop_back();

    size_t width = 0;
    for (const auto &row : grid)
        width = std::max(width, row.size());

    std::vector<std::string> names;
    for (size_t column = 0; column < width; ++column) {
        const Variant header =
            grid.empty() || column >= grid.front().size() ? Variant::null() : grid.front()[column];
        names.push_back(header.isNull() ? "F" + std::to_string(column + 1) : CStr(header));
    }

    std::vector<std::vector<Variant>> rows;
    for (size_t line = 1; line < grid.size(); ++line) {
        std::vector<Variant> row = std::move(grid[line]);
        row.resize(width, Variant::null());
        rows.push_back(std::move(row));
    }
    return std::make_shared<Recordset>(std::move(names), std::move(rows));
}

} // namespace host

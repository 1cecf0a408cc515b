#include "host/importer/sheetgrid.h"

#include "host/core/datetime.h"
#include "host/importer/workbookerror.h"

#include <freexl.h>

#include <memory>

namespace host {
namespace {

struct XlsCloser
{
    void operator()(const void *handle) const { freexl_close(handle); }
};
using XlsHandle = std::unique_ptr<const void, XlsCloser>;

// The sheet of an Excel 97-2003 workbook has at most 65,536 rows and 256 columns.
constexpr unsigned int kMaxRows = 65536;
constexpr unsigned short kMaxColumns = 256;

void check(int status, const std::filesystem::path &file)
{
    if (status != FREEXL_OK)
        throw workbookError(file, "FreeXL error " + std::to_string(status));
}

Variant cellValue(const FreeXL_CellValue &cell)
{
    switch (cell.type) {
    case FREEXL_CELL_INT:
        return Variant(static_cast<long>(cell.value.int_value));
    case FREEXL_CELL_DOUBLE:
        return Variant(cell.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_TIME: {
        const std::string text = cell.value.text_value ? cell.value.text_value : "";
        return text.empty() ? Variant::null() : Variant(text);
    }
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME: {
        const std::string text = cell.value.text_value ? cell.value.text_value : "";
        if (const auto serial = parseDate(text))
            return Variant::fromDate(*serial);
        return Variant(text);
    }
    default:
        return Variant::null();
    }
}

} // namespace

SheetGrid readXls(const std::filesystem::path &file)
{
    const void *raw = nullptr;
    const int opened = freexl_open(file.c_str(), &raw);
    XlsHandle handle(raw);
    check(opened, file);
    check(freexl_select_active_worksheet(handle.get(), 0), file);

    unsigned int rows = 0;
    unsigned short columns = 0;
    check(freexl_worksheet_dimensions(handle.get(), &rows, &columns), file);
    if (rows > kMaxRows || columns > kMaxColumns)
        throw workbookError(file, "the worksheet claims " + std::to_string(rows) + " rows and " +
                                      std::to_string(columns) + " columns");

    SheetGrid grid(file);
    for (unsigned int row = 0; row < rows; ++row) {
        for (unsigned short column = 0; column < columns; ++column) {
            FreeXL_CellValue cell;
            check(freexl_get_cell_value(handle.get(), row, column, &cell), file);
            grid.set(row, column, cellValue(cell));
        }
    }
    return grid;
}

} // namespace host

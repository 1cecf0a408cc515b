#include "host/importer/sheetrecords.h"

#include "host/core/datetime.h"
#include "host/importer/workbookerror.h"
#include "host/importer/xlscells.h"

#include <freexl.h>

#include <memory>
#include <tuple>

namespace host {
namespace {

struct XlsCloser
{
    void operator()(const void *handle) const { freexl_close(handle); }
};
using XlsHandle = std::unique_ptr<const void, XlsCloser>;

// The sheet of an Excel 97-2003 workbook has at most 65,536 rows and 256 columns.
constexpr unsigned int kMaxXlsRows = 65536;
constexpr unsigned short kMaxXlsColumns = 256;

void check(int status, const std::filesystem::path &file)
{
    if (status != FREEXL_OK)
        throw WorkbookError(file, "FreeXL error " + std::to_string(status));
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

// The library holds the whole sheet (a few megabytes at most in this format); its lines are
// taken from there one at a time, with the cells it does not give as they are (see XlsCell)
// taken from the workbook's records instead.
class XlsRecords : public SheetRecords
{
public:
    explicit XlsRecords(const std::filesystem::path &file) : SheetRecords(file)
    {
        const void *raw = nullptr;
        const int opened = freexl_open(file.c_str(), &raw);
        m_handle.reset(raw);
        check(opened, file);
        check(freexl_select_active_worksheet(m_handle.get(), 0), file);
        check(freexl_worksheet_dimensions(m_handle.get(), &m_rows, &m_columns), file);
        if (m_rows > kMaxXlsRows || m_columns > kMaxXlsColumns)
            throw WorkbookError(file, "the worksheet claims " + std::to_string(m_rows) +
                                          " rows and " + std::to_string(m_columns) + " columns");
        declareWidth(m_columns);
        m_cells = readXlsCells(file);
        m_cell = m_cells.begin();
        readHeader();
    }

protected:
    bool readLine(std::uint32_t &line, std::vector<Variant> &cells) override
    {
        cells.clear();
        for (; m_next < m_rows && cells.empty(); ++m_next) {
            for (unsigned short column = 0; column < m_columns; ++column) {
                Variant value = cellValue(m_next, column);
                if (value.isNull())
                    continue;
                cells.resize(column + 1u, Variant::null());
                cells[column] = std::move(value);
            }
            line = m_next;
        }
        return !cells.empty();
    }

private:
    Variant cellValue(unsigned int row, unsigned short column)
    {
        while (m_cell != m_cells.end() &&
               std::tie(m_cell->row, m_cell->column) < std::tie(row, column))
            ++m_cell;
        if (m_cell != m_cells.end() && m_cell->row == row && m_cell->column == column)
            return m_cell->value;
        FreeXL_CellValue cell;
        check(freexl_get_cell_value(m_handle.get(), row, column, &cell), file());
        return host::cellValue(cell);
    }

    XlsHandle m_handle;
    std::vector<XlsCell> m_cells;
    std::vector<XlsCell>::const_iterator m_cell; // the first not behind the line being read
    unsigned int m_rows = 0;
    unsigned short m_columns = 0;
    unsigned int m_next = 0;
};

} // namespace

std::shared_ptr<SheetRecords> readXls(const std::filesystem::path &file)
{
    return std::make_shared<XlsRecords>(file);
}

} // namespace host

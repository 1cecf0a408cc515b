#include "host/importer/sheetrecords.h"

#include "host/importer/biffstream.h"
#include "host/importer/bifftext.h"
#include "host/importer/compoundfile.h"
#include "host/importer/littleendian.h"
#include "host/importer/numberformats.h"
#include "host/importer/workbookerror.h"
#include "host/importer/xlsworkbook.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace host {
namespace {

// The sheet of an Excel 97-2003 workbook has at most 65,536 rows and 256 columns.
constexpr std::uint32_t kMaxXlsRows = 65536;
constexpr std::uint32_t kMaxXlsColumns = 256;
constexpr std::uint16_t kWorksheetKind = 0x0010;

// A number kept in 30 bits: an integer, or the high bits of a double, either perhaps in
// hundredths.
double rkNumber(std::uint32_t rk)
{
    const double value = (rk & 2) != 0
                             ? static_cast<double>(static_cast<std::int32_t>(rk) >> 2)
                             : std::bit_cast<double>(std::uint64_t{rk & 0xFFFFFFFC} << 32);
    return (rk & 1) != 0 ? value / 100 : value;
}

std::string errorText(std::uint8_t code)
{
    switch (code) {
    case 0x00:
        return "#NULL!";
    case 0x07:
        return "#DIV/0!";
    case 0x0F:
        return "#VALUE!";
    case 0x17:
        return "#REF!";
    case 0x1D:
        return "#NAME?";
    case 0x24:
        return "#NUM!";
    case 0x2A:
        return "#N/A";
    default:
        return {};
    }
}

bool isCell(std::uint16_t type)
{
    switch (type) {
    case biff::kLabelSst:
    case biff::kLabel:
    case biff::kRString:
    case biff::kNumber:
    case biff::kRk:
    case biff::kMulRk:
    case biff::kBoolErr:
    case biff::kFormula:
        return true;
    default:
        return false;
    }
}

// The sheet to read of an .xls workbook. The workbook's stream is read whole, and the sheet's
// cell records are listed by their rows first (a writer need not keep them in order); a line is
// made from its records when it is read. So the memory a workbook takes grows with its file, not
// with what its records claim.
class XlsRecords : public SheetRecords
{
public:
    explicit XlsRecords(const std::filesystem::path &file)
        : SheetRecords(file), m_stream(file, readCompoundStream(file, {"Workbook", "Book"})),
          m_text(m_stream), m_book(m_stream, m_text)
    {
        listCells();
        readHeader();
    }

protected:
    bool readLine(std::uint32_t &line, std::vector<Variant> &cells) override
    {
        cells.clear();
        while (m_next < m_cells.size()) {
            const std::uint32_t row = m_cells[m_next].row;
            for (; m_next < m_cells.size() && m_cells[m_next].row == row; ++m_next)
                take(m_cells[m_next].at, cells);
            while (!cells.empty() && cells.back().isNull())
                cells.pop_back();
            if (!cells.empty()) {
                line = row;
                return true;
            }
        }
        return false;
    }

private:
    struct CellRecord
    {
        std::uint32_t row;
        std::uint32_t at; // where the record begins in the stream
    };

    void listCells();
    void dimensions(std::string_view data);
    void take(std::uint32_t at, std::vector<Variant> &cells);
    Variant number(std::uint16_t format, double value) const;
    Variant formula(std::string_view data);
    Variant formulaText();
    std::string labelText(std::string_view data);

    [[noreturn]] void pastTheEdge() const
    {
        m_stream.damaged("a cell lies outside the " + std::to_string(kMaxXlsRows) + " rows and " +
                         std::to_string(kMaxXlsColumns) + " columns of a worksheet");
    }

    BiffStream m_stream;
    BiffText m_text;
    XlsWorkbook m_book;
    std::vector<CellRecord> m_cells;
    size_t m_next = 0;
};

void XlsRecords::listCells()
{
    if (m_stream.size() > std::numeric_limits<std::uint32_t>::max())
        throw WorkbookError(file(), "its workbook stream is larger than 4 GB");
    m_stream.seek(m_book.sheetStart());
    BiffRecord record;
    if (!m_stream.next(record) || record.type != biff::kBof || record.data.size() < 4 ||
        littleEndian<std::uint16_t>(record.data, 2) != kWorksheetKind)
        m_stream.damaged("its first worksheet does not begin where the workbook says");
    // A chart drawn on the sheet is a stream of its own inside the sheet's.
    for (int depth = 1; depth > 0;) {
        const auto at = static_cast<std::uint32_t>(m_stream.position());
        if (!m_stream.next(record))
            m_stream.damaged("its first worksheet has no end");
        if (record.type == biff::kBof) {
            ++depth;
        } else if (record.type == biff::kEof) {
            --depth;
        } else if (depth == 1 && record.type == biff::kDimensions) {
            dimensions(record.data);
        } else if (depth == 1 && isCell(record.type)) {
            if (record.data.size() < 6)
                m_stream.damaged("a cell is cut short");
            m_cells.push_back({littleEndian<std::uint16_t>(record.data, 0), at});
        }
    }
    // The records of one line keep their order: of two for one cell, the last counts.
    const auto byRow = [](const CellRecord &a, const CellRecord &b) { return a.row < b.row; };
    if (!std::is_sorted(m_cells.begin(), m_cells.end(), byRow))
        std::stable_sort(m_cells.begin(), m_cells.end(), byRow);
}

void XlsRecords::dimensions(std::string_view data)
{
    const bool wide = m_book.biff8();
    if (data.size() < (wide ? 12u : 8u))
        m_stream.damaged("the worksheet's dimensions are cut short");
    const std::uint32_t rows =
        wide ? littleEndian<std::uint32_t>(data, 4) : littleEndian<std::uint16_t>(data, 2);
    const std::uint16_t columns = littleEndian<std::uint16_t>(data, wide ? 10 : 6);
    if (rows > kMaxXlsRows || columns > kMaxXlsColumns)
        throw WorkbookError(file(), "the worksheet claims " + std::to_string(rows) + " rows and " +
                                        std::to_string(columns) + " columns");
    declareWidth(columns);
}

void XlsRecords::take(std::uint32_t at, std::vector<Variant> &cells)
{
    m_stream.seek(at);
    BiffRecord record;
    m_stream.next(record);
    const std::string_view data = record.data;
    const auto put = [&](std::uint32_t column, Variant value) {
        if (column >= kMaxXlsColumns)
            pastTheEdge();
        if (cells.size() <= column)
            cells.resize(column + 1, Variant::null());
        cells[column] = std::move(value);
    };
    const auto text = [](std::string_view t) { return t.empty() ? Variant::null() : Variant(t); };
    const auto column = littleEndian<std::uint16_t>(data, 2);
    const auto format = littleEndian<std::uint16_t>(data, 4);
    switch (record.type) {
    case biff::kLabelSst: {
        if (data.size() < 10)
            m_stream.damaged("a cell is cut short");
        const auto index = littleEndian<std::uint32_t>(data, 6);
        if (index >= m_book.sharedTexts())
            m_stream.damaged("a cell refers to the shared text " + std::to_string(index) +
                             " of a table of " + std::to_string(m_book.sharedTexts()));
        put(column, text(m_book.sharedText(index)));
        break;
    }
    case biff::kLabel:
    case biff::kRString:
        put(column, text(labelText(data)));
        break;
    case biff::kNumber:
        if (data.size() < 14)
            m_stream.damaged("a cell is cut short");
        put(column, number(format, littleEndian<double>(data, 6)));
        break;
    case biff::kRk:
        if (data.size() < 10)
            m_stream.damaged("a cell is cut short");
        put(column, number(format, rkNumber(littleEndian<std::uint32_t>(data, 6))));
        break;
    case biff::kMulRk: {
        // Each cell's format and number, then the last cell's column.
        const size_t count = (data.size() - 6) / 6;
        if (data.size() < 12 || (data.size() - 6) % 6 != 0 ||
            littleEndian<std::uint16_t>(data, data.size() - 2) != column + count - 1)
            m_stream.damaged("a row of numbers does not end where it says");
        for (size_t i = 0; i < count; ++i)
            put(static_cast<std::uint32_t>(column + i),
                number(littleEndian<std::uint16_t>(data, 4 + i * 6),
                       rkNumber(littleEndian<std::uint32_t>(data, 6 + i * 6))));
        break;
    }
    case biff::kBoolErr: {
        if (data.size() < 8)
            m_stream.damaged("a logical or error value is cut short");
        const auto value = static_cast<std::uint8_t>(data[6]);
        if (data[7] == 0) {
            put(column, Variant(value != 0));
        } else {
            const std::string error = errorText(value);
            if (error.empty())
                m_stream.damaged("an error value is of no known kind");
            put(column, Variant(error));
        }
        break;
    }
    default:
        put(column, formula(data));
        break;
    }
}

Variant XlsRecords::number(std::uint16_t format, double value) const
{
    if (!std::isfinite(value))
        m_stream.damaged("a number is not valid");
    if (m_book.isDateFormat(format))
        return Variant::fromDate(m_book.date1904() ? value + k1904DaysOffset : value);
    return Variant(value);
}

std::string XlsRecords::labelText(std::string_view data)
{
    if (data.size() < 8)
        m_stream.damaged("a cell is cut short");
    if (m_book.biff8()) {
        BiffReader reader(m_stream, data.substr(6));
        return m_text.unicode(reader);
    }
    BiffReader reader(m_stream, data.substr(8));
    return m_text.codePage(reader, littleEndian<std::uint16_t>(data, 6));
}

// The result the workbook holds for a formula: a number, or what its last two bytes say it is
// instead, its kind in its first.
Variant XlsRecords::formula(std::string_view data)
{
    if (data.size() < 20)
        m_stream.damaged("a formula is cut short");
    if (littleEndian<std::uint16_t>(data, 12) != 0xFFFF)
        return number(littleEndian<std::uint16_t>(data, 4), littleEndian<double>(data, 6));
    const auto detail = static_cast<std::uint8_t>(data[8]);
    switch (static_cast<std::uint8_t>(data[6])) {
    case 0:
        return formulaText();
    case 1:
        return Variant(detail != 0);
    case 2: {
        const std::string error = errorText(detail);
        if (error.empty())
            m_stream.damaged("an error value is of no known kind");
        return Variant(error);
    }
    case 3:
        return Variant::null();
    default:
        m_stream.damaged("a formula's result is of no known kind");
    }
}

// A formula's text follows it in a record of its own, after the records that share the
// formula with other cells; without it the result is not known.
Variant XlsRecords::formulaText()
{
    std::uint16_t type = 0;
    BiffRecord record;
    while (m_stream.peekType(type) &&
           (type == biff::kSharedFormula || type == biff::kArray || type == biff::kTable))
        m_stream.next(record);
    if (type != biff::kString || !m_stream.next(record))
        return uncomputedFormula();
    if (record.data.size() < 2)
        m_stream.damaged("a formula's text is cut short");
    std::string text;
    if (m_book.biff8()) {
        BiffReader reader(m_stream, record.data);
        text = m_text.unicode(reader);
    } else {
        BiffReader reader(m_stream, record.data.substr(2));
        text = m_text.codePage(reader, littleEndian<std::uint16_t>(record.data, 0));
    }
    return text.empty() ? Variant::null() : Variant(text);
}

} // namespace

std::shared_ptr<SheetRecords> readXls(const std::filesystem::path &file)
{
    return std::make_shared<XlsRecords>(file);
}

} // namespace host

#pragma once

#include "host/core/hostobject.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// The cells of one exported row, by 1-based export column: texts, or numbers handed over as
// numbers, which a number column writes as they are and any other column as their shortest text.
class ExportRowData
{
public:
    void setItem(long col, std::string_view text);
    void setNumber(long col, double value);
    // The cell's text; empty for a number.
    const std::string &Item(long col) const;
    std::optional<double> Number(long col) const;
    void reset(long cols);

private:
    struct Cell
    {
        std::string text;
        std::optional<double> number;
    };
    Cell &cell(long col);

    std::vector<Cell> m_items;
};

// The host export library's engine ("ZarvoExpImp.ExportEngine"): the caller declares the
// columns (caption, type 7 number or 10 text, length) and the row count, then Run asks for the
// file and writes an .xlsx workbook, asking the caller for each row's texts through LoadData.
// Number columns hold numbers where the text reads as one; the title names the worksheet and
// the workbook. Row 1 holds the captions, the rows follow from row 2.
class ExportEngine : public HostObject
{
public:
    static constexpr long NumberType = 7;
    static constexpr long TextType = 10;

    // The LoadData event: nRow counts from 1.
    std::function<void(long nRow, ExportRowData &ColData)> LoadData;

    long Cols() const { return static_cast<long>(m_columns.size()); }
    virtual void setCols(long cols);
    long Rows() const { return m_rows; }
    virtual void setRows(long rows);
    virtual void setColCaption(long col, const std::string &caption);
    virtual void setColType(long col, long type);
    virtual void setColLength(long col, long length);
    std::string ColCaption(long col) const;
    long ColType(long col) const;
    long ColLength(long col) const;

    // Asks for the file in a save dialog and writes it; nothing when the user cancels.
    virtual void Run(const std::string &title);
    // Writes the workbook to that file without asking; a file already there is replaced only by
    // a workbook written whole.
    void writeWorkbook(const std::string &path, const std::string &title);

    static constexpr std::string_view ProgId = "ZarvoExpImp.ExportEngine";

private:
    struct Column
    {
        std::string caption;
        long type = TextType;
        long length = 255;
    };
    Column &column(long col);
    const Column &column(long col) const;

    std::vector<Column> m_columns;
    long m_rows = 0;
};

} // namespace host

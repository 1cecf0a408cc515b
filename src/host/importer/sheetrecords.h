#pragma once

#include "host/core/hostobject.h"
#include "host/core/variant.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <cstdio>
#undef EOF

namespace host {

// The first worksheet shown of a workbook, read one record at a time, like a forward-only
// recordset: only the current line is made, so a sheet of any length takes no more memory than
// its widest line and what its reader keeps of the file (an .xlsx workbook's shared texts, an
// .xls workbook's stream).
//
// The first line names the fields (an empty header cell gives "F" and the column number); the
// fields are as many as the header line or the sheet's own dimension gives, and cells further
// right are not read. Every later line holding a value in a field is one record, empty cells
// Null; a line holding none is no record, so a sheet costs what its filled lines cost however
// far apart they lie. A damaged file, a cell past a worksheet's edge or lines out of order are
// found as the reading reaches them, and MoveNext throws HostError.
class SheetRecords : public HostObject
{
public:
    static constexpr std::uint32_t kMaxRows = 1048576;
    static constexpr std::uint32_t kMaxColumns = 16384;

    long FieldCount() const { return static_cast<long>(m_names.size()); }
    // 0-based; throws HostError past the fields.
    const std::string &FieldName(long index) const;
    bool EOF() const { return m_eof; }
    void MoveNext();
    // The value of a field in the current record; throws HostError past the fields or at EOF.
    const Variant &Value(long index) const;
    // The sheet line the current record stands on, 0-based: under a header on the first line,
    // the first line of data is 1.
    std::uint32_t sheetLine() const { return m_line; }

protected:
    explicit SheetRecords(std::filesystem::path file) : m_file(std::move(file)) {}

    // Reads the header and moves to the first record; the reader calls it once it is set up.
    void readHeader();
    // The next line of the sheet holding anything: its 0-based number, above the last one's,
    // and its cells up to the last one holding a value (Null in between). False at the end.
    virtual bool readLine(std::uint32_t &line, std::vector<Variant> &cells) = 0;
    // The fields the sheet declares before its lines (its dimension), when it does.
    void declareWidth(size_t columns) { m_declaredWidth = columns; }
    const std::filesystem::path &file() const { return m_file; }

private:
    // The next line holding a value in a field into m_ahead; false at the end.
    bool readAhead();

    std::filesystem::path m_file;
    std::vector<std::string> m_names;
    std::vector<Variant> m_current;
    std::vector<Variant> m_ahead;
    std::uint32_t m_aheadLine = 0;
    bool m_hasAhead = false;
    std::uint32_t m_line = 0; // sheet line of the current record
    size_t m_declaredWidth = 0;
    bool m_eof = false;
};

// The value of a cell whose formula the workbook holds without its result, as programs that
// write workbooks without computing them leave it: not blank, and no number either.
class UncomputedFormula : public HostObject
{};
Variant uncomputedFormula();
bool isUncomputedFormula(const Variant &value);

// The first worksheet shown of an Excel 5 to 2003 workbook (.xls). Throws HostError when the
// file cannot be read (WorkbookLocked when it is protected by a password).
std::shared_ptr<SheetRecords> readXls(const std::filesystem::path &file);
// The first worksheet shown of an Office Open XML workbook (.xlsx).
std::shared_ptr<SheetRecords> readXlsx(const std::filesystem::path &file);

// Either kind, told apart by the file's signature rather than its extension.
std::shared_ptr<SheetRecords> readWorkbook(const std::filesystem::path &file);

} // namespace host

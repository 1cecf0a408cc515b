#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace host {

class BiffStream;
class BiffText;

// What the records at the head of an .xls workbook say for all its sheets: its version, which
// cell formats show dates and from which day they count, its shared texts, and where the sheet
// to read begins: the first worksheet shown, or the first worksheet when all are hidden (never
// a chart, macro or module sheet). The shared texts are kept end to end in one buffer, so they
// cost little more than the file holds of them.
class XlsWorkbook
{
public:
    // Reads the records from the start of the stream. Throws WorkbookLocked for a workbook
    // protected by a password and WorkbookError when the records are damaged or name no
    // worksheet.
    XlsWorkbook(BiffStream &stream, BiffText &text);

    bool biff8() const { return m_biff8; }
    bool date1904() const { return m_date1904; }
    bool isDateFormat(std::uint16_t cellFormat) const
    {
        return cellFormat < m_dateFormats.size() && m_dateFormats[cellFormat];
    }
    size_t sharedTexts() const { return m_ends.size(); }
    // The shared text at an index below sharedTexts().
    std::string_view sharedText(size_t index) const;
    // Where the sheet's first record begins in the stream.
    std::uint32_t sheetStart() const { return m_sheetStart; }

private:
    void readSharedTexts(BiffStream &stream, BiffText &text, std::string_view data);

    bool m_biff8 = true;
    bool m_date1904 = false;
    std::vector<bool> m_dateFormats;
    std::string m_texts;
    std::vector<size_t> m_ends;
    std::uint32_t m_sheetStart = 0;
};

} // namespace host

#include "host/exporter/sheetrows.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace host {
namespace {

std::string columnName(long col)
{
    std::string name;
    for (long n = col + 1; n > 0; n = (n - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
    return name;
}

void appendNumber(std::string &out, long n)
{
    std::array<char, 24> digits{};
    out.append(digits.data(), std::to_chars(digits.begin(), digits.end(), n).ptr);
}

bool isControl(unsigned char c)
{
    return c < 0x20 && c != '\t' && c != '\n';
}

// As the writer escapes an inline string: the XML's three, and the control characters XML
// cannot hold as Excel's _xHHHH_.
void appendEscaped(std::string &out, std::string_view text)
{
    static constexpr std::string_view kHex = "0123456789ABCDEF";
    std::size_t plain = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c != '&' && c != '<' && c != '>' && !isControl(c))
            continue;
        out.append(text.substr(plain, i - plain));
        plain = i + 1;
        if (c == '&')
            out.append("&amp;");
        else if (c == '<')
            out.append("&lt;");
        else if (c == '>')
            out.append("&gt;");
        else
            out.append("_x00").append(1, kHex[c >> 4]).append(1, kHex[c & 15]).append(1, '_');
    }
    out.append(text.substr(plain));
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

} // namespace

SheetRows::SheetRows(long cols)
{
    for (long col = 0; col < cols; ++col)
        m_colNames.push_back(columnName(col));
}

void SheetRows::cell(long row, long col)
{
    if (row != m_lastRow) {
        if (m_lastRow > 0)
            m_buffer.append("</row>");
        m_rowNumber.clear();
        appendNumber(m_rowNumber, row + 1);
        m_buffer.append("<row r=\"").append(m_rowNumber).append("\">");
        m_lastRow = row;
    }
    m_buffer.append("<c r=\"")
        .append(m_colNames[static_cast<std::size_t>(col)])
        .append(m_rowNumber)
        .append(1, '"');
}

void SheetRows::number(long row, long col, double value)
{
    cell(row, col);
    m_buffer.append("><v>");
    appendSheetNumber(m_buffer, value);
    m_buffer.append("</v></c>");
}

void SheetRows::text(long row, long col, std::string_view text)
{
    cell(row, col);
    // Blanks at either end of the escaped text are kept only when the cell says so.
    const bool keepBlanks = !text.empty() && (isBlank(text.front()) || isBlank(text.back()));
    m_buffer.append(keepBlanks ? " t=\"inlineStr\"><is><t xml:space=\"preserve\">"
                               : " t=\"inlineStr\"><is><t>");
    appendEscaped(m_buffer, text);
    m_buffer.append("</t></is></c>");
}

void SheetRows::finish()
{
    if (m_lastRow > 0)
        m_buffer.append("</row>");
}

void SheetRows::moveTo(std::string &out)
{
    out.swap(m_buffer);
    m_buffer.clear();
}

void appendSheetNumber(std::string &out, double value)
{
    // The writer's own choice of notation: plain digits from 1E-04 up to below 1E+16.
    const double size = std::fabs(value);
    const bool plain = size == 0 || (size >= 1e-4 && size < 1e16);
    std::array<char, 32> text{};
    char *end = std::to_chars(text.begin(), text.end(), value,
                              plain ? std::chars_format::fixed : std::chars_format::scientific)
                    .ptr;
    std::replace(text.begin(), end, 'e', 'E');
    out.append(text.data(), static_cast<std::size_t>(end - text.data()));
}

} // namespace host

#include "support/barexlsx.h"

#include <xlsxwriter.h>
#include <zip.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace {

// Produces the new sheet part as libzip reads it: the head of libxlsxwriter's sheet up to the
// end of its captions, the rows made one at a time, its tail.
class RowStream
{
public:
    RowStream(const std::vector<std::vector<BareCell>> &cells, std::string head, std::string tail)
        : m_cells(cells), m_head(std::move(head)), m_tail(std::move(tail))
    {
        const std::size_t cols = cells.empty() ? 0 : cells.front().size();
        for (std::size_t c = 0; c < cols; ++c) {
            std::string name;
            for (std::size_t n = c + 1; n > 0; n = (n - 1) / 26)
                name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
            m_names.push_back(name);
        }
    }

    static zip_int64_t call(void *state, void *data, zip_uint64_t length, zip_source_cmd_t cmd)
    {
        auto &stream = *static_cast<RowStream *>(state);
        switch (cmd) {
        case ZIP_SOURCE_OPEN:
            stream.m_piece = 0;
            stream.m_text = stream.m_head;
            stream.m_at = 0;
            return 0;
        case ZIP_SOURCE_READ:
            return stream.read(static_cast<char *>(data), length);
        case ZIP_SOURCE_STAT:
            zip_stat_init(static_cast<zip_stat_t *>(data));
            return sizeof(zip_stat_t);
        case ZIP_SOURCE_SUPPORTS:
            return ZIP_SOURCE_SUPPORTS_READABLE;
        default:
            return 0;
        }
    }

private:
    zip_int64_t read(char *data, zip_uint64_t length)
    {
        zip_uint64_t done = 0;
        while (done < length) {
            if (m_at == m_text.size() && !next())
                break;
            const std::size_t got = std::min<std::size_t>(length - done, m_text.size() - m_at);
            std::memcpy(data + done, m_text.data() + m_at, got);
            done += got;
            m_at += got;
        }
        return static_cast<zip_int64_t>(done);
    }

    // The next rows into the text, about a megabyte of them, then the tail; false after it.
    bool next()
    {
        m_at = 0;
        m_text.clear();
        if (m_piece >= m_cells.size())
            return false;
        while (m_text.size() < (std::size_t{1} << 20) && m_piece + 1 < m_cells.size())
            row(++m_piece);
        if (m_piece + 1 >= m_cells.size()) {
            m_text += m_tail;
            m_piece = m_cells.size();
        }
        return true;
    }

    void row(std::size_t r)
    {
        std::array<char, 32> number{};
        const std::string_view rowNumber(number.data(),
                                         std::to_chars(number.begin(), number.end(), r + 1).ptr);
        const std::string at = std::string(rowNumber);
        m_text.append("<row r=\"").append(at).append("\">");
        for (std::size_t c = 0; c < m_cells[r].size(); ++c) {
            const BareCell &cell = m_cells[r][c];
            if (const double *value = std::get_if<double>(&cell)) {
                const double size = std::fabs(*value);
                const bool plain = size == 0 || (size >= 1e-4 && size < 1e16);
                char *end =
                    std::to_chars(number.begin(), number.end(), *value,
                                  plain ? std::chars_format::fixed : std::chars_format::scientific)
                        .ptr;
                std::replace(number.begin(), end, 'e', 'E');
                m_text.append("<c r=\"").append(m_names[c]).append(at).append("\"><v>");
                m_text.append(number.data(), static_cast<std::size_t>(end - number.data()))
                    .append("</v></c>");
                continue;
            }
            const std::string &text = std::get<std::string>(cell);
            if (text.empty())
                continue;
            const auto blank = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\n'; };
            m_text.append("<c r=\"")
                .append(m_names[c])
                .append(at)
                .append("\" t=\"inlineStr\"><is>");
            m_text.append(blank(text.front()) || blank(text.back()) ? "<t xml:space=\"preserve\">"
                                                                    : "<t>");
            for (const char ch : text) {
                const auto u = static_cast<unsigned char>(ch);
                if (ch == '&')
                    m_text.append("&amp;");
                else if (ch == '<')
                    m_text.append("&lt;");
                else if (ch == '>')
                    m_text.append("&gt;");
                else if (u < 0x20 && ch != '\t' && ch != '\n')
                    m_text.append("_x00")
                        .append(1, "0123456789ABCDEF"[u >> 4])
                        .append(1, "0123456789ABCDEF"[u & 15])
                        .append(1, '_');
                else
                    m_text.push_back(ch);
            }
            m_text.append("</t></is></c>");
        }
        m_text.append("</row>");
    }

    const std::vector<std::vector<BareCell>> &m_cells;
    std::string m_head;
    std::string m_tail;
    std::vector<std::string> m_names;
    std::size_t m_piece = 0;
    std::string m_text;
    std::size_t m_at = 0;
};

void writeShell(const std::string &path, const std::vector<BareCell> &captions)
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook *workbook = workbook_new_opt(path.c_str(), &options);
    if (!workbook)
        throw std::runtime_error("the workbook could not be created");
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, "物料盘点表");
    lxw_format *bold = workbook_add_format(workbook);
    format_set_bold(bold);
    for (std::size_t c = 0; c < captions.size(); ++c)
        if (const auto *text = std::get_if<std::string>(&captions[c]))
            worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), text->c_str(), bold);
    if (workbook_close(workbook) != LXW_NO_ERROR)
        throw std::runtime_error("the workbook could not be written");
}

} // namespace

void bareExport(const std::string &path, const std::vector<std::vector<BareCell>> &cells)
{
    writeShell(path, cells.front());
    int error = 0;
    zip_t *archive = zip_open(path.c_str(), 0, &error);
    if (!archive)
        throw std::runtime_error("the workbook could not be opened");
    const char *name = "xl/worksheets/sheet1.xml";
    const zip_int64_t index = zip_name_locate(archive, name, 0);
    zip_stat_t stat;
    zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &stat);
    std::string sheet(stat.size, '\0');
    zip_file_t *part = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0);
    zip_fread(part, sheet.data(), sheet.size());
    zip_fclose(part);
    std::array<char, LXW_MAX_CELL_RANGE_LENGTH> range{};
    lxw_rowcol_to_range(range.data(), 0, 0, static_cast<lxw_row_t>(cells.size() - 1),
                        static_cast<lxw_col_t>(cells.front().size() - 1));
    const std::size_t ref = sheet.find("<dimension ref=\"") + 16;
    const std::size_t data = sheet.find("</sheetData>");
    RowStream rows(cells,
                   sheet.substr(0, ref) + range.data() +
                       sheet.substr(sheet.find('"', ref), data - sheet.find('"', ref)),
                   sheet.substr(data));
    zip_source_t *source = zip_source_function(archive, &RowStream::call, &rows);
    zip_delete(archive, static_cast<zip_uint64_t>(index));
    const zip_int64_t added = zip_file_add(archive, name, source, 0);
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(added), ZIP_CM_DEFLATE, 1);
    if (added < 0 || zip_close(archive) < 0)
        throw std::runtime_error("the sheet could not be written");
}

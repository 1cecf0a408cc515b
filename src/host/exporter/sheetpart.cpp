#include "host/exporter/sheetpart.h"

#include "host/core/hosterror.h"

#include <xlsxwriter.h>
#include <zip.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <memory>
#include <string_view>
#include <system_error>

namespace host {
namespace {

constexpr const char *kSheet = "xl/worksheets/sheet1.xml";
constexpr std::string_view kDimension = "<dimension ref=\"";
constexpr std::string_view kDataEnd = "</sheetData>";
constexpr zip_uint32_t kSheetCompression = 1;

[[noreturn]] void fail(const std::string &workbook, const std::string &why)
{
    throw HostError("The workbook could not be written: " + workbook + ": " + why);
}

struct ArchiveDiscarder
{
    void operator()(zip_t *archive) const { zip_discard(archive); }
};
struct EntryCloser
{
    void operator()(zip_file_t *entry) const { zip_fclose(entry); }
};

// The new sheet as libzip reads it: the captions' part of the old one, the rows as they are
// made, and the old one's end. What making the rows threw is kept for after libzip.
class SheetSource
{
public:
    explicit SheetSource(const std::function<bool(std::string &)> &rows) : m_rows(rows)
    {
        zip_error_init(&m_error);
    }
    ~SheetSource() { zip_error_fini(&m_error); }
    SheetSource(const SheetSource &) = delete;
    SheetSource &operator=(const SheetSource &) = delete;

    static zip_int64_t call(void *state, void *data, zip_uint64_t length, zip_source_cmd_t command)
    {
        return static_cast<SheetSource *>(state)->answer(data, length, command);
    }

    void around(std::string head, std::string tail)
    {
        m_head = std::move(head);
        m_tail = std::move(tail);
    }

    void rethrow() const
    {
        if (m_thrown)
            std::rethrow_exception(m_thrown);
    }

private:
    zip_int64_t answer(void *data, zip_uint64_t length, zip_source_cmd_t command)
    {
        switch (command) {
        case ZIP_SOURCE_OPEN:
            m_text = m_head;
            m_at = 0;
            m_stage = Stage::Head;
            return 0;
        case ZIP_SOURCE_READ:
            return read(static_cast<char *>(data), length);
        case ZIP_SOURCE_STAT: {
            auto *stat = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &m_error);
            if (!stat)
                return -1;
            zip_stat_init(stat);
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&m_error, data, length);
        case ZIP_SOURCE_SUPPORTS:
            return ZIP_SOURCE_SUPPORTS_READABLE;
        default:
            return 0;
        }
    }

    zip_int64_t read(char *data, zip_uint64_t length)
    {
        zip_uint64_t done = 0;
        while (done < length) {
            if (m_at == m_text.size() && !next())
                break;
            const zip_uint64_t got = std::min<zip_uint64_t>(length - done, m_text.size() - m_at);
            std::memcpy(data + done, m_text.data() + m_at, got);
            done += got;
            m_at += got;
        }
        return m_thrown ? -1 : static_cast<zip_int64_t>(done);
    }

    // The next text after the head: the rows while there are any, then the tail.
    bool next()
    {
        m_at = 0;
        m_text.clear();
        if (m_stage == Stage::Head)
            m_stage = Stage::Rows;
        if (m_stage == Stage::Rows) {
            try {
                if (m_rows(m_text))
                    return true;
            } catch (...) {
                m_thrown = std::current_exception();
                zip_error_set(&m_error, ZIP_ER_READ, 0);
                return false;
            }
            m_text += m_tail;
            m_stage = Stage::Done;
            return true;
        }
        return false;
    }

    enum class Stage
    {
        Head,
        Rows,
        Done
    };
    std::string m_head;
    std::string m_tail;
    const std::function<bool(std::string &)> &m_rows;
    Stage m_stage = Stage::Head;
    std::string m_text;
    std::size_t m_at = 0;
    std::exception_ptr m_thrown;
    zip_error_t m_error{};
};

std::string sheetText(zip_t &archive, zip_uint64_t index, const std::string &workbook)
{
    zip_stat_t stat;
    if (zip_stat_index(&archive, index, 0, &stat) < 0)
        fail(workbook, zip_strerror(&archive));
    std::unique_ptr<zip_file_t, EntryCloser> entry(zip_fopen_index(&archive, index, 0));
    if (!entry)
        fail(workbook, zip_strerror(&archive));
    std::string text(stat.size, '\0');
    if (zip_fread(entry.get(), text.data(), text.size()) != static_cast<zip_int64_t>(text.size()))
        fail(workbook, zip_file_strerror(entry.get()));
    return text;
}

} // namespace

void insertSheetRows(const std::string &workbook, long lastRow, long cols,
                     const std::function<bool(std::string &)> &rows)
{
    // Before the archive, which reads it until it is closed or discarded.
    SheetSource source(rows);
    int error = 0;
    std::unique_ptr<zip_t, ArchiveDiscarder> archive(zip_open(workbook.c_str(), 0, &error));
    if (!archive)
        fail(workbook, "it is no zip archive");
    const zip_int64_t index = zip_name_locate(archive.get(), kSheet, 0);
    if (index < 0)
        fail(workbook, "it has no worksheet");
    const std::string sheet = sheetText(*archive, static_cast<zip_uint64_t>(index), workbook);
    const std::size_t dimension = sheet.find(kDimension);
    const std::size_t dataEnd = sheet.find(kDataEnd);
    const std::size_t refStart =
        dimension == std::string::npos ? dimension : dimension + kDimension.size();
    const std::size_t refEnd = sheet.find('"', refStart);
    if (refEnd == std::string::npos || dataEnd == std::string::npos || dataEnd < refEnd)
        fail(workbook, "its worksheet has no rows");
    std::array<char, LXW_MAX_CELL_RANGE_LENGTH> range{};
    lxw_rowcol_to_range(range.data(), 0, 0, static_cast<lxw_row_t>(lastRow),
                        static_cast<lxw_col_t>(std::max(cols - 1, 0L)));
    source.around(sheet.substr(0, refStart) + range.data() + sheet.substr(refEnd, dataEnd - refEnd),
                  sheet.substr(dataEnd));

    zip_source_t *added = zip_source_function(archive.get(), &SheetSource::call, &source);
    if (!added)
        fail(workbook, zip_strerror(archive.get()));
    // Added anew rather than replaced: libzip keeps the level asked for only for an entry
    // whose method changes or that is new, and otherwise deflates at its best compression,
    // ten times slower than its fastest for a sheet a quarter smaller.
    zip_int64_t entry = -1;
    if (zip_delete(archive.get(), static_cast<zip_uint64_t>(index)) < 0 ||
        (entry = zip_file_add(archive.get(), kSheet, added, 0)) < 0) {
        zip_source_free(added);
        fail(workbook, zip_strerror(archive.get()));
    }
    if (zip_set_file_compression(archive.get(), static_cast<zip_uint64_t>(entry), ZIP_CM_DEFLATE,
                                 kSheetCompression) < 0)
        fail(workbook, zip_strerror(archive.get()));
    zip_t *written = archive.release();
    if (zip_close(written) < 0) {
        const std::string why = zip_strerror(written);
        const zip_error_t *closing = zip_get_error(written);
        const int system =
            zip_error_system_type(closing) == ZIP_ET_SYS ? zip_error_code_system(closing) : 0;
        zip_discard(written);
        source.rethrow();
        if (system != 0)
            throw std::system_error(system, std::generic_category(), why);
        fail(workbook, why);
    }
}

} // namespace host

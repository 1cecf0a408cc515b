#include "host/exporter/sheetpart.h"

#include "host/core/hosterror.h"

#include <xlsxwriter.h>
#include <zip.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string_view>

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

// The new sheet as libzip reads it: the captions' part of the old one, the rows from the file,
// and the old one's end, without copying the rows once more.
class SheetSource
{
public:
    SheetSource(std::FILE &rows, long rowsSize) : m_rows(rows), m_rowsSize(rowsSize)
    {
        zip_error_init(&m_error);
    }
    ~SheetSource() { zip_error_fini(&m_error); }
    SheetSource(const SheetSource &) = delete;
    SheetSource &operator=(const SheetSource &) = delete;

    void around(std::string head, std::string tail)
    {
        m_head = std::move(head);
        m_tail = std::move(tail);
    }

    static zip_int64_t call(void *state, void *data, zip_uint64_t length, zip_source_cmd_t command)
    {
        return static_cast<SheetSource *>(state)->answer(data, length, command);
    }

private:
    zip_int64_t answer(void *data, zip_uint64_t length, zip_source_cmd_t command)
    {
        switch (command) {
        case ZIP_SOURCE_OPEN:
            m_at = 0;
            return std::fseek(&m_rows, 0, SEEK_SET) == 0 ? 0 : failed(ZIP_ER_SEEK);
        case ZIP_SOURCE_READ:
            return read(static_cast<char *>(data), length);
        case ZIP_SOURCE_STAT: {
            auto *stat = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &m_error);
            if (!stat)
                return -1;
            zip_stat_init(stat);
            stat->size = size();
            stat->valid |= ZIP_STAT_SIZE;
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

    zip_uint64_t size() const { return m_head.size() + m_rowsSize + m_tail.size(); }

    zip_int64_t read(char *data, zip_uint64_t length)
    {
        const zip_uint64_t rowsEnd = m_head.size() + m_rowsSize;
        zip_uint64_t done = 0;
        while (done < length && m_at < size()) {
            zip_uint64_t got = 0;
            const zip_uint64_t wanted = length - done;
            if (m_at < m_head.size()) {
                got = std::min<zip_uint64_t>(wanted, m_head.size() - m_at);
                std::memcpy(data + done, m_head.data() + m_at, got);
            } else if (m_at < rowsEnd) {
                got = std::fread(data + done, 1, std::min(wanted, rowsEnd - m_at), &m_rows);
                if (got == 0)
                    return failed(ZIP_ER_READ);
            } else {
                got = std::min<zip_uint64_t>(wanted, size() - m_at);
                std::memcpy(data + done, m_tail.data() + (m_at - rowsEnd), got);
            }
            done += got;
            m_at += got;
        }
        return static_cast<zip_int64_t>(done);
    }

    zip_int64_t failed(int error)
    {
        zip_error_set(&m_error, error, errno);
        return -1;
    }

    std::FILE &m_rows;
    zip_uint64_t m_rowsSize;
    std::string m_head;
    std::string m_tail;
    zip_uint64_t m_at = 0;
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

void insertSheetRows(const std::string &workbook, std::FILE &rows, long lastRow, long cols)
{
    if (std::fflush(&rows) != 0 || std::fseek(&rows, 0, SEEK_END) != 0)
        fail(workbook, "the temporary file cannot be read");
    SheetSource source(rows, std::ftell(&rows));
    int error = 0;
    std::unique_ptr<zip_t, ArchiveDiscarder> archive(zip_open(workbook.c_str(), 0, &error));
    if (!archive)
        fail(workbook, "it is no zip archive");
    const zip_int64_t index = zip_name_locate(archive.get(), kSheet, 0);
    if (index < 0)
        fail(workbook, "it has no worksheet");
    std::string sheet = sheetText(*archive, static_cast<zip_uint64_t>(index), workbook);
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
    std::string head =
        sheet.substr(0, refStart) + range.data() + sheet.substr(refEnd, dataEnd - refEnd);
    source.around(std::move(head), sheet.substr(dataEnd));

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
        zip_discard(written);
        fail(workbook, why);
    }
}

} // namespace host

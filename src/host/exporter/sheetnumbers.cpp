#include "host/exporter/sheetnumbers.h"

#include "host/core/hosterror.h"

#include <zip.h>

#include <array>
#include <charconv>
#include <cstdio>
#include <memory>
#include <string_view>

namespace host {
namespace {

constexpr const char *kSheet = "xl/worksheets/sheet1.xml";
constexpr std::string_view kOpen = "<v>";
constexpr std::string_view kClose = "</v>";
constexpr std::size_t kChunk = std::size_t{64} * 1024;
constexpr zip_uint32_t kSheetCompression = 1;

std::string shortestText(double value)
{
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.begin(), text.end(), value).ptr;
    return {text.begin(), end};
}

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
struct FileCloser
{
    void operator()(std::FILE *file) const { std::fclose(file); }
};

// Copies the sheet's text into out, each value of a listed place replaced.
class ValueRewriter
{
public:
    ValueRewriter(std::span<const SheetNumber> numbers, std::FILE &out)
        : m_numbers(numbers), m_out(out)
    {}

    bool feed(std::string_view chunk)
    {
        m_pending.append(chunk);
        std::size_t done = 0;
        while (true) {
            const std::size_t open = m_pending.find(kOpen, done);
            if (open == std::string::npos) {
                // The end may hold the start of the next value's tag.
                const std::size_t keep = std::min(m_pending.size() - done, kOpen.size() - 1);
                return flush(done, m_pending.size() - keep);
            }
            const std::size_t value = open + kOpen.size();
            const std::size_t close = m_pending.find(kClose, value);
            if (close == std::string::npos)
                return flush(done, open);
            if (!write(std::string_view(m_pending).substr(done, value - done)))
                return false;
            if (m_next < m_numbers.size() && m_numbers[m_next].index == m_place) {
                if (!write(shortestText(m_numbers[m_next].value)))
                    return false;
                ++m_next;
            } else if (!write(std::string_view(m_pending).substr(value, close - value))) {
                return false;
            }
            ++m_place;
            done = close;
        }
    }

    bool finish() { return write(m_pending); }

private:
    bool write(std::string_view text)
    {
        return std::fwrite(text.data(), 1, text.size(), &m_out) == text.size();
    }

    bool flush(std::size_t from, std::size_t to)
    {
        const bool written = write(std::string_view(m_pending).substr(from, to - from));
        m_pending.erase(0, to);
        return written;
    }

    std::span<const SheetNumber> m_numbers;
    std::FILE &m_out;
    std::string m_pending;
    std::size_t m_next = 0;
    std::size_t m_place = 0;
};

} // namespace

bool writtenAsShortest(double value)
{
    std::array<char, 40> written{};
    const int length = std::snprintf(written.data(), written.size(), "%.16G", value);
    std::string shortest = shortestText(value);
    for (char &c : shortest)
        c = c == 'e' ? 'E' : c;
    return length > 0 && std::string_view(written.data(), static_cast<std::size_t>(length)) ==
                             std::string_view(shortest);
}

void rewriteSheetNumbers(const std::string &workbook, std::span<const SheetNumber> numbers)
{
    int error = 0;
    std::unique_ptr<zip_t, ArchiveDiscarder> archive(zip_open(workbook.c_str(), 0, &error));
    if (!archive)
        fail(workbook, "it is no zip archive");
    const zip_int64_t index = zip_name_locate(archive.get(), kSheet, 0);
    if (index < 0)
        fail(workbook, "it has no worksheet");
    std::unique_ptr<std::FILE, FileCloser> rewritten(std::tmpfile());
    if (!rewritten)
        fail(workbook, "no temporary file");
    {
        std::unique_ptr<zip_file_t, EntryCloser> sheet(
            zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(index), 0));
        if (!sheet)
            fail(workbook, zip_strerror(archive.get()));
        ValueRewriter rewriter(numbers, *rewritten);
        std::string chunk(kChunk, '\0');
        zip_int64_t got = 0;
        while ((got = zip_fread(sheet.get(), chunk.data(), chunk.size())) > 0)
            if (!rewriter.feed(std::string_view(chunk).substr(0, static_cast<std::size_t>(got))))
                fail(workbook, "the temporary file is full");
        if (got < 0)
            fail(workbook, zip_file_strerror(sheet.get()));
        if (!rewriter.finish() || std::fflush(rewritten.get()) != 0)
            fail(workbook, "the temporary file is full");
        std::rewind(rewritten.get());
    }
    // The source takes the file over and closes it when the archive is written.
    std::FILE *file = rewritten.release();
    zip_source_t *source = zip_source_filep(archive.get(), file, 0, -1);
    if (!source) {
        std::fclose(file);
        fail(workbook, zip_strerror(archive.get()));
    }
    // Added anew rather than replaced: libzip keeps the level asked for only for an entry
    // whose method changes or that is new, and otherwise deflates at its best compression,
    // ten times slower than its fastest for a sheet a quarter smaller.
    zip_int64_t added = -1;
    if (zip_delete(archive.get(), static_cast<zip_uint64_t>(index)) < 0 ||
        (added = zip_file_add(archive.get(), kSheet, source, 0)) < 0) {
        zip_source_free(source);
        fail(workbook, zip_strerror(archive.get()));
    }
    if (zip_set_file_compression(archive.get(), static_cast<zip_uint64_t>(added), ZIP_CM_DEFLATE,
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

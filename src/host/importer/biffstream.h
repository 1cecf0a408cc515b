#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace host {

// The record types of an .xls workbook that its reader looks at.
namespace biff {
constexpr std::uint16_t kBof = 0x0809;
constexpr std::uint16_t kEof = 0x000A;
constexpr std::uint16_t kContinue = 0x003C;
constexpr std::uint16_t kFilePass = 0x002F;
constexpr std::uint16_t kCodePage = 0x0042;
constexpr std::uint16_t kDateMode = 0x0022;
constexpr std::uint16_t kFormat = 0x041E;
constexpr std::uint16_t kXf = 0x00E0;
constexpr std::uint16_t kBoundSheet = 0x0085;
constexpr std::uint16_t kSst = 0x00FC;
constexpr std::uint16_t kDimensions = 0x0200;
constexpr std::uint16_t kLabelSst = 0x00FD;
constexpr std::uint16_t kLabel = 0x0204;
constexpr std::uint16_t kRString = 0x00D6;
constexpr std::uint16_t kNumber = 0x0203;
constexpr std::uint16_t kRk = 0x027E;
constexpr std::uint16_t kMulRk = 0x00BD;
constexpr std::uint16_t kBoolErr = 0x0205;
constexpr std::uint16_t kFormula = 0x0006;
constexpr std::uint16_t kString = 0x0207;
constexpr std::uint16_t kSharedFormula = 0x04BC;
constexpr std::uint16_t kArray = 0x0221;
constexpr std::uint16_t kTable = 0x0236;
constexpr std::uint16_t kBiff8 = 0x0600;
constexpr std::uint16_t kBiff5 = 0x0500;
} // namespace biff

struct BiffRecord
{
    std::uint16_t type = 0;
    std::string_view data;
};

// The stream of an .xls workbook as a row of records, each a type, a length and its data.
// Nothing it says is trusted: a record running past the stream's end is damage.
class BiffStream
{
public:
    BiffStream(std::filesystem::path file, std::string bytes);

    // The record at the position, moving past it; false at the end of the stream.
    bool next(BiffRecord &record);
    // The type of the record at the position, which stays; false at the end of the stream.
    bool peekType(std::uint16_t &type) const;
    size_t position() const { return m_at; }
    void seek(size_t at) { m_at = at; }
    size_t size() const { return m_bytes.size(); }

    const std::filesystem::path &file() const { return m_file; }
    // Throws WorkbookError.
    [[noreturn]] void damaged(const std::string &why) const;

private:
    std::filesystem::path m_file;
    std::string m_bytes;
    size_t m_at = 0;
};

// The data of one record and of the CONTINUE records after it, read front to back as one: a
// table of shared texts or a long text goes on in them. Reading past the data is damage.
class BiffReader
{
public:
    // The stream stands after the record, where its continuations would be.
    BiffReader(BiffStream &stream, std::string_view data) : m_stream(stream), m_data(data) {}

    std::uint8_t byte();
    std::uint16_t u16();
    std::uint32_t u32();
    void skip(std::uint64_t bytes);
    // Characters of one byte (the low byte of the unit) or two, as wide says. Characters that go
    // on in the next record start it with a flag byte of their own saying which.
    void characters(size_t count, bool wide, std::u16string &out);
    // Whether no byte is left in the record or its continuations.
    bool atEnd();

private:
    // Moves to the next continuation; damage when there is none.
    void nextPart();

    BiffStream &m_stream;
    std::string_view m_data;
    size_t m_at = 0;
};

} // namespace host

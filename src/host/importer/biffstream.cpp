#include "host/importer/biffstream.h"

#include "host/importer/littleendian.h"
#include "host/importer/workbookerror.h"

#include <algorithm>

namespace host {

BiffStream::BiffStream(std::filesystem::path file, std::string bytes)
    : m_file(std::move(file)), m_bytes(std::move(bytes))
{}

bool BiffStream::next(BiffRecord &record)
{
    if (m_at >= m_bytes.size() || m_bytes.size() - m_at < 4)
        return false;
    const std::string_view bytes(m_bytes);
    record.type = littleEndian<std::uint16_t>(bytes, m_at);
    const auto size = littleEndian<std::uint16_t>(bytes, m_at + 2);
    if (m_bytes.size() - m_at - 4 < size)
        damaged("a record runs past the end of the workbook");
    record.data = bytes.substr(m_at + 4, size);
    m_at += 4 + size;
    return true;
}

bool BiffStream::peekType(std::uint16_t &type) const
{
    if (m_at >= m_bytes.size() || m_bytes.size() - m_at < 4)
        return false;
    type = littleEndian<std::uint16_t>(m_bytes, m_at);
    return true;
}

void BiffStream::damaged(const std::string &why) const
{
    throw WorkbookError(m_file, "the workbook's records are damaged: " + why);
}

void BiffReader::nextPart()
{
    std::uint16_t type = 0;
    BiffRecord record;
    if (!m_stream.peekType(type) || type != biff::kContinue || !m_stream.next(record))
        m_stream.damaged("a record is cut short");
    m_data = record.data;
    m_at = 0;
}

std::uint8_t BiffReader::byte()
{
    while (m_at == m_data.size())
        nextPart();
    return static_cast<std::uint8_t>(m_data[m_at++]);
}

std::uint16_t BiffReader::u16()
{
    const std::uint16_t low = byte();
    return static_cast<std::uint16_t>(low | byte() << 8);
}

std::uint32_t BiffReader::u32()
{
    const std::uint32_t low = u16();
    return low | std::uint32_t{u16()} << 16;
}

void BiffReader::skip(std::uint64_t bytes)
{
    while (bytes > 0) {
        if (m_at == m_data.size())
            nextPart();
        const size_t step = std::min<std::uint64_t>(bytes, m_data.size() - m_at);
        m_at += step;
        bytes -= step;
    }
}

void BiffReader::characters(size_t count, bool wide, std::u16string &out)
{
    while (count > 0) {
        if (m_at == m_data.size()) {
            nextPart();
            wide = (byte() & 1) != 0;
            continue;
        }
        const size_t unit = wide ? 2 : 1;
        const size_t available = std::min(count, (m_data.size() - m_at) / unit);
        if (available == 0)
            m_stream.damaged("a character is split between two records");
        for (size_t i = 0; i < available; ++i, m_at += unit)
            out.push_back(wide ? littleEndian<char16_t>(m_data, m_at)
                               : static_cast<char16_t>(static_cast<unsigned char>(m_data[m_at])));
        count -= available;
    }
}

bool BiffReader::atEnd()
{
    std::uint16_t type = 0;
    return m_at == m_data.size() && (!m_stream.peekType(type) || type != biff::kContinue);
}

} // namespace host

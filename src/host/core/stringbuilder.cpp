#include "host/core/stringbuilder.h"

#include "host/core/hosterror.h"

namespace host {
namespace {

bool isLeadByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

} // namespace

StringBuilder &StringBuilder::Append(std::string_view text)
{
    m_text.append(text);
    for (char c : text)
        m_length += isLeadByte(c) ? 1 : 0;
    return *this;
}

size_t StringBuilder::byteOffset(long characters) const
{
    if (characters == m_length)
        return m_text.size();
    long seen = 0;
    for (size_t i = 0; i < m_text.size(); ++i) {
        if (isLeadByte(m_text[i])) {
            if (seen == characters)
                return i;
            ++seen;
        }
    }
    return m_text.size();
}

void StringBuilder::Remove(long start, long count)
{
    if (start < 1 || count < 0 || start - 1 + count > m_length)
        throw HostError("Invalid procedure call or argument", HostError::InvalidProcedureCall);
    if (start == 1 && count == m_length) {
        m_text.clear();
        m_length = 0;
        return;
    }
    const size_t from = byteOffset(start - 1);
    const size_t to = byteOffset(start - 1 + count);
    m_text.erase(from, to - from);
    m_length -= count;
}

} // namespace host

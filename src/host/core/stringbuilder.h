#pragma once

#include <string>
#include <string_view>

namespace host {

// The host's string builder for SQL text. Lengths and positions count characters (not UTF-8
// bytes), positions from 1, as the host's own strings do.
class StringBuilder
{
public:
    StringBuilder &Append(std::string_view text);
    const std::string &StringValue() const { return m_text; }
    long Length() const { return m_length; }
    // Removes count characters from start on; Remove(1, Length()) empties the builder.
    void Remove(long start, long count);

private:
    size_t byteOffset(long characters) const;

    std::string m_text;
    long m_length = 0;
};

} // namespace host

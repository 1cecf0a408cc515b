#pragma once

#include <bit>
#include <cstdint>
#include <string_view>

namespace host {

// A number stored least significant byte first at a position of the bytes, as the binary
// formats of workbooks store them; 0 where the bytes end before it.
template <typename T> T littleEndian(std::string_view bytes, size_t at)
{
    static_assert(sizeof(T) <= sizeof(std::uint64_t));
    if (at > bytes.size() || bytes.size() - at < sizeof(T))
        return T{};
    std::uint64_t value = 0;
    for (size_t i = sizeof(T); i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    if constexpr (sizeof(T) == sizeof(std::uint64_t))
        return std::bit_cast<T>(value);
    else
        return static_cast<T>(value);
}

} // namespace host

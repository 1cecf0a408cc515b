#include "support/barexls.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string_view>
#include <variant>
#include <vector>

namespace {

template <typename T> T read(std::string_view bytes, size_t at)
{
    if (at + sizeof(T) > bytes.size())
        throw std::runtime_error("the workbook ends too soon");
    T value;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

std::string workbookStream(const std::string &file)
{
    const size_t sector = size_t{1} << read<std::uint16_t>(file, 0x1E);
    std::vector<std::uint32_t> fat;
    const auto fatSectors = read<std::uint32_t>(file, 0x2C);
    for (std::uint32_t i = 0; i < fatSectors && i < 109; ++i) {
        const size_t at = (read<std::uint32_t>(file, 0x4C + i * 4) + size_t{1}) * sector;
        for (size_t entry = 0; entry < sector / 4; ++entry)
            fat.push_back(read<std::uint32_t>(file, at + entry * 4));
    }
    const auto chain = [&](std::uint32_t next) {
        std::string bytes;
        for (size_t steps = 0; next < 0xFFFFFFFA && steps < fat.size(); ++steps) {
            bytes.append(file, (next + size_t{1}) * sector, sector);
            next = fat.at(next);
        }
        return bytes;
    };
    const std::string directory = chain(read<std::uint32_t>(file, 0x30));
    const std::string name("W\0o\0r\0k\0b\0o\0o\0k\0\0\0", 18);
    for (size_t entry = 0; entry + 128 <= directory.size(); entry += 128) {
        if (directory.compare(entry, name.size(), name) == 0) {
            std::string stream = chain(read<std::uint32_t>(directory, entry + 0x74));
            stream.resize(read<std::uint32_t>(directory, entry + 0x78));
            return stream;
        }
    }
    throw std::runtime_error("no workbook stream");
}

void putUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
    } else {
        if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        }
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    }
    out += static_cast<char>(0x80 | (c & 0x3F));
}

// The shared texts: the table's record and its continuations as one row of bytes, where the
// characters a continuation goes on with start with a flag byte of their own.
class SharedTexts
{
public:
    SharedTexts(std::string_view stream, size_t &at)
    {
        m_parts.push_back(stream.substr(at + 4, read<std::uint16_t>(stream, at + 2)));
        at += 4 + m_parts.back().size();
        while (at + 4 <= stream.size() && read<std::uint16_t>(stream, at) == 0x003C) {
            m_parts.push_back(stream.substr(at + 4, read<std::uint16_t>(stream, at + 2)));
            at += 4 + m_parts.back().size();
        }
        skip(4);
        const std::uint32_t count = bytes(4);
        m_texts.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i)
            m_texts.push_back(text());
    }

    const std::vector<std::string> &texts() const { return m_texts; }

private:
    std::uint32_t bytes(int count)
    {
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i)
            value |= std::uint32_t{byte()} << (8 * i);
        return value;
    }
    std::uint8_t byte()
    {
        while (m_at == m_parts[m_part].size()) {
            ++m_part;
            m_at = 0;
        }
        return static_cast<std::uint8_t>(m_parts[m_part][m_at++]);
    }
    void skip(std::uint64_t count)
    {
        for (; count > 0; --count)
            byte();
    }
    std::string text()
    {
        const std::uint32_t length = bytes(2);
        const std::uint8_t flags = byte();
        const std::uint32_t runs = (flags & 8) != 0 ? bytes(2) : 0;
        const std::uint32_t phonetic = (flags & 4) != 0 ? bytes(4) : 0;
        bool wide = (flags & 1) != 0;
        std::string out;
        for (std::uint32_t i = 0; i < length; ++i) {
            if (m_at == m_parts[m_part].size()) {
                ++m_part;
                m_at = 0;
                wide = (byte() & 1) != 0;
            }
            char16_t unit = byte();
            if (wide)
                unit = static_cast<char16_t>(unit | byte() << 8);
            char32_t c = unit;
            if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < length) {
                const char16_t low = static_cast<char16_t>(wide ? bytes(2) : byte());
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00u);
                ++i;
            }
            putUtf8(out, c);
        }
        skip(runs * 4 + phonetic);
        return out;
    }

    std::vector<std::string_view> m_parts;
    size_t m_part = 0;
    size_t m_at = 0;
    std::vector<std::string> m_texts;
};

double rk(std::uint32_t value)
{
    double number = 0;
    if ((value & 2) != 0) {
        number = static_cast<std::int32_t>(value) >> 2;
    } else {
        const std::uint64_t bits = std::uint64_t{value & 0xFFFFFFFC} << 32;
        std::memcpy(&number, &bits, sizeof number);
    }
    return (value & 1) != 0 ? number / 100 : number;
}

} // namespace

long bareReadXls(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), {});
    const std::string stream = workbookStream(file);
    std::vector<std::string> texts;
    size_t sheet = 0;
    for (size_t at = 0; at + 4 <= stream.size();) {
        const auto type = read<std::uint16_t>(stream, at);
        if (type == 0x000A)
            break;
        if (type == 0x00FC) {
            texts = SharedTexts(stream, at).texts();
            continue;
        }
        if (type == 0x0085 && sheet == 0)
            sheet = read<std::uint32_t>(stream, at + 4);
        at += 4 + read<std::uint16_t>(stream, at + 2);
    }
    using Cell = std::variant<std::monostate, std::string, double>;
    std::vector<Cell> line;
    long values = 0;
    long row = -1;
    const auto put = [&](long r, size_t column, Cell cell) {
        if (r != row) {
            line.clear();
            row = r;
        }
        if (line.size() <= column)
            line.resize(column + 1);
        line[column] = std::move(cell);
        ++values;
    };
    for (size_t at = sheet; at + 4 <= stream.size();) {
        const auto type = read<std::uint16_t>(stream, at);
        const std::string_view data =
            std::string_view(stream).substr(at + 4, read<std::uint16_t>(stream, at + 2));
        at += 4 + data.size();
        if (type == 0x000A)
            break;
        if (type != 0x00FD && type != 0x0203 && type != 0x027E && type != 0x00BD)
            continue;
        const long r = read<std::uint16_t>(data, 0);
        const size_t column = read<std::uint16_t>(data, 2);
        if (type == 0x00FD)
            put(r, column, texts.at(read<std::uint32_t>(data, 6)));
        else if (type == 0x0203)
            put(r, column, read<double>(data, 6));
        else if (type == 0x027E)
            put(r, column, rk(read<std::uint32_t>(data, 6)));
        else
            for (size_t i = 0; 6 + i * 6 + 4 <= data.size() - 2; ++i)
                put(r, column + i, rk(read<std::uint32_t>(data, 6 + i * 6)));
    }
    return values;
}

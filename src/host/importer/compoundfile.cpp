#include "host/importer/compoundfile.h"

#include "host/core/text.h"
#include "host/importer/littleendian.h"
#include "host/importer/workbookerror.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <optional>
#include <vector>

namespace host {
namespace {

constexpr std::uint32_t kLastRegularSector = 0xFFFFFFFA;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr size_t kHeaderFatEntries = 109;
constexpr size_t kEntrySize = 128;
constexpr std::uint8_t kStream = 2;

class CompoundFile
{
public:
    explicit CompoundFile(const std::filesystem::path &file)
        : m_file(file), m_in(file, std::ios::binary)
    {
        std::error_code ec;
        const auto size = std::filesystem::file_size(file, ec);
        m_header.resize(512);
        if (ec || !m_in.read(m_header.data(), static_cast<std::streamsize>(m_header.size())))
            damaged("it is shorter than its header");
        const auto shift = littleEndian<std::uint16_t>(m_header, 0x1E);
        const auto miniShift = littleEndian<std::uint16_t>(m_header, 0x20);
        if ((shift != 9 && shift != 12) || miniShift != 6)
            damaged("its sector sizes are not valid");
        m_sectorSize = size_t{1} << shift;
        m_sectors =
            size > m_sectorSize ? (size - m_sectorSize + m_sectorSize - 1) / m_sectorSize : 0;
        m_version3 = littleEndian<std::uint16_t>(m_header, 0x1A) == 3;
        readFat();
    }

    std::string stream(std::initializer_list<std::string_view> names)
    {
        const std::string directory =
            chain(littleEndian<std::uint32_t>(m_header, 0x30), std::nullopt);
        const size_t entries = directory.size() / kEntrySize;
        if (entries == 0)
            damaged("it has no directory");
        const auto entry = [&directory](size_t index) {
            return std::string_view(directory).substr(index * kEntrySize, kEntrySize);
        };
        for (const std::string_view name : names) {
            if (const auto found = find(entry, entries, name)) {
                const std::string_view e = entry(*found);
                std::uint64_t size = littleEndian<std::uint64_t>(e, 0x78);
                if (m_version3)
                    size &= 0xFFFFFFFF;
                const auto start = littleEndian<std::uint32_t>(e, 0x74);
                if (size < littleEndian<std::uint32_t>(m_header, 0x38))
                    return miniStream(entry(0), start, size);
                return chain(start, size);
            }
        }
        throw WorkbookError(m_file, "it holds no workbook stream");
    }

private:
    [[noreturn]] void damaged(const std::string &why) const
    {
        throw WorkbookError(m_file, "the compound document is damaged: " + why);
    }

    std::string sector(std::uint32_t index)
    {
        std::string bytes(m_sectorSize, '\0');
        m_in.clear();
        m_in.seekg(static_cast<std::streamoff>((std::uint64_t{index} + 1) * m_sectorSize));
        m_in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return bytes;
    }

    void checkSector(std::uint32_t index) const
    {
        if (index >= m_sectors || index >= m_fat.size())
            damaged("a chain runs past its sectors");
    }

    // The sectors listing the allocation table, from the header and the chain after it.
    void readFat()
    {
        std::vector<std::uint32_t> fatSectors;
        const auto add = [&](std::uint32_t index) {
            if (index > kLastRegularSector)
                return false;
            if (index >= m_sectors || fatSectors.size() >= m_sectors)
                damaged("its allocation table lies past its sectors");
            fatSectors.push_back(index);
            return true;
        };
        for (size_t i = 0; i < kHeaderFatEntries; ++i) {
            if (!add(littleEndian<std::uint32_t>(m_header, 0x4C + i * 4)))
                break;
        }
        std::uint32_t next = littleEndian<std::uint32_t>(m_header, 0x44);
        for (size_t steps = 0; next <= kLastRegularSector; ++steps) {
            if (next >= m_sectors || steps >= m_sectors)
                damaged("its allocation table lies past its sectors");
            const std::string bytes = sector(next);
            const size_t perSector = m_sectorSize / 4 - 1;
            for (size_t i = 0; i < perSector; ++i)
                add(littleEndian<std::uint32_t>(bytes, i * 4));
            next = littleEndian<std::uint32_t>(bytes, perSector * 4);
        }
        for (const std::uint32_t index : fatSectors) {
            const std::string bytes = sector(index);
            for (size_t i = 0; i < m_sectorSize / 4; ++i)
                m_fat.push_back(littleEndian<std::uint32_t>(bytes, i * 4));
        }
    }

    // The sectors of a chain, end to end; a given size must fit the chain and is what is kept.
    std::string chain(std::uint32_t start, std::optional<std::uint64_t> size)
    {
        std::string bytes;
        std::uint32_t index = start;
        for (size_t steps = 0; index != kEndOfChain && (!size || bytes.size() < *size); ++steps) {
            checkSector(index);
            if (steps >= m_sectors)
                damaged("a chain runs in a circle");
            bytes += sector(index);
            index = m_fat[index];
        }
        if (size) {
            if (bytes.size() < *size)
                damaged("a stream is longer than its sectors");
            bytes.resize(*size);
        }
        return bytes;
    }

    // A small stream, kept in the short sectors of the root entry's own stream.
    std::string miniStream(std::string_view root, std::uint32_t start, std::uint64_t size)
    {
        std::uint64_t rootSize = littleEndian<std::uint64_t>(root, 0x78);
        if (m_version3)
            rootSize &= 0xFFFFFFFF;
        const std::string container = chain(littleEndian<std::uint32_t>(root, 0x74), rootSize);
        const std::string miniFatBytes =
            chain(littleEndian<std::uint32_t>(m_header, 0x3C), std::nullopt);
        constexpr size_t kMiniSector = 64;
        std::string bytes;
        std::uint32_t index = start;
        for (size_t steps = 0; bytes.size() < size; ++steps) {
            if (index > kLastRegularSector || index >= miniFatBytes.size() / 4 ||
                (std::uint64_t{index} + 1) * kMiniSector > container.size() ||
                steps > container.size() / kMiniSector)
                damaged("a short stream runs past its sectors");
            bytes.append(container, std::uint64_t{index} * kMiniSector, kMiniSector);
            index = littleEndian<std::uint32_t>(miniFatBytes, std::uint64_t{index} * 4);
        }
        bytes.resize(size);
        return bytes;
    }

    // The entry of a stream of the root storage by name, through the tree of its children.
    template <typename Entry>
    std::optional<size_t> find(const Entry &entry, size_t entries, std::string_view name) const
    {
        std::vector<std::uint32_t> pending{littleEndian<std::uint32_t>(entry(0), 0x4C)};
        std::vector<bool> seen(entries);
        while (!pending.empty()) {
            const std::uint32_t index = pending.back();
            pending.pop_back();
            if (index == kNoStream)
                continue;
            if (index >= entries || seen[index])
                damaged("its directory is not a tree");
            seen[index] = true;
            const std::string_view e = entry(index);
            if (e[0x42] == kStream && entryName(e) == toLower(name))
                return index;
            pending.push_back(littleEndian<std::uint32_t>(e, 0x44));
            pending.push_back(littleEndian<std::uint32_t>(e, 0x48));
        }
        return std::nullopt;
    }

    // An entry's name in lower case; the names looked for are ASCII, others are left as they
    // are and match none.
    static std::string entryName(std::string_view entry)
    {
        const size_t units = std::min<size_t>(littleEndian<std::uint16_t>(entry, 0x40), 64) / 2;
        std::string name;
        for (size_t i = 0; i + 1 < units; ++i) {
            const auto unit = littleEndian<std::uint16_t>(entry, i * 2);
            name += unit < 0x80 ? lowerAscii(static_cast<char>(unit)) : '\x80';
        }
        return name;
    }

    std::filesystem::path m_file;
    std::ifstream m_in;
    std::string m_header;
    size_t m_sectorSize = 512;
    size_t m_sectors = 0;
    bool m_version3 = true;
    std::vector<std::uint32_t> m_fat;
};

} // namespace

std::string readCompoundStream(const std::filesystem::path &file,
                               std::initializer_list<std::string_view> names)
{
    return CompoundFile(file).stream(names);
}

} // namespace host

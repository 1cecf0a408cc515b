#pragma once

#include <zip.h>

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>

namespace host {

// A zip archive opened for reading; closed without writing anything back.
class ZipArchive
{
public:
    // Throws HostError when the file is no zip archive.
    explicit ZipArchive(const std::filesystem::path &file);

    zip_t *handle() const { return m_archive.get(); }
    const std::filesystem::path &file() const { return m_file; }
    bool contains(const std::string &name) const;

private:
    struct Closer
    {
        void operator()(zip_t *archive) const { zip_discard(archive); }
    };
    std::unique_ptr<zip_t, Closer> m_archive;
    std::filesystem::path m_file;
};

// One member of the archive, read in chunks as it is uncompressed. The size the archive's
// directory claims is not trusted: a member that claims more than the limit is refused before
// it is read, reading stops with an error once more than the limit has come out whatever it
// claimed, and a member whose data is cut short or fails its checksum is reported damaged.
class ZipPart
{
public:
    // Throws HostError when the archive has no such member or it claims more than the limit.
    ZipPart(const ZipArchive &archive, const std::string &name, size_t limit);

    // Replaces chunk with the next piece of the member; empty at its end. Throws HostError when
    // the member is damaged or larger than the limit.
    void next(std::string &chunk);
    const std::string &name() const { return m_name; }

private:
    struct Closer
    {
        void operator()(zip_file_t *entry) const { zip_fclose(entry); }
    };
    std::unique_ptr<zip_file_t, Closer> m_entry;
    std::filesystem::path m_file;
    std::string m_name;
    size_t m_limit;
    size_t m_read = 0;
};

} // namespace host

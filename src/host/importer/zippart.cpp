#include "host/importer/zippart.h"

#include "host/importer/workbookerror.h"

namespace host {
namespace {

constexpr size_t kChunk = size_t{64} * 1024;

} // namespace

ZipArchive::ZipArchive(const std::filesystem::path &file) : m_file(file)
{
    int error = 0;
    m_archive.reset(zip_open(file.c_str(), ZIP_RDONLY, &error));
    if (!m_archive) {
        zip_error_t detail;
        zip_error_init_with_code(&detail, error);
        const std::string text = zip_error_strerror(&detail);
        zip_error_fini(&detail);
        throw WorkbookError(file, "not a readable zip archive (" + text + ")");
    }
}

bool ZipArchive::contains(const std::string &name) const
{
    return zip_name_locate(m_archive.get(), name.c_str(), 0) >= 0;
}

ZipPart::ZipPart(const ZipArchive &archive, const std::string &name, size_t limit)
    : m_file(archive.file()), m_name(name), m_limit(limit)
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(archive.handle(), name.c_str(), 0, &stat) == 0 &&
        (stat.valid & ZIP_STAT_SIZE) != 0 && stat.size > m_limit)
        throw WorkbookError(m_file, "the part " + name + " claims to unpack to more than " +
                                        std::to_string(m_limit >> 20) + " MB");
    m_entry.reset(zip_fopen(archive.handle(), name.c_str(), 0));
    if (!m_entry)
        throw WorkbookError(m_file, "the part " + name + " cannot be opened (" +
                                        zip_strerror(archive.handle()) + ")");
}

void ZipPart::next(std::string &chunk)
{
    chunk.resize(kChunk);
    const zip_int64_t got = zip_fread(m_entry.get(), chunk.data(), chunk.size());
    if (got < 0)
        throw WorkbookError(m_file, "the part " + m_name + " is damaged (" +
                                        zip_file_strerror(m_entry.get()) + ")");
    m_read += static_cast<size_t>(got);
    if (m_read > m_limit)
        throw WorkbookError(m_file, "the part " + m_name + " unpacks to more than " +
                                        std::to_string(m_limit >> 20) + " MB");
    chunk.resize(static_cast<size_t>(got));
}

} // namespace host

#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

// A folder of a bench's own in the temporary folder, removed with everything in it when the
// object goes.
class BenchDir
{
public:
    explicit BenchDir(const std::string &name)
        : m_path(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(m_path);
    }
    ~BenchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    BenchDir(const BenchDir &) = delete;
    BenchDir &operator=(const BenchDir &) = delete;

    const std::filesystem::path &path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

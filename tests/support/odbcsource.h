#pragma once

#include "host/db/appconnection.h"

#include <gtest/gtest.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

// A data source "stockcheck" on Debian's SQLite ODBC driver, configured in a folder of the
// test's own: unixODBC reads the driver and data-source files from there (ODBCSYSINI, ODBCINI),
// so the test needs no system configuration, only the driver package.
class OdbcSource
{
public:
    OdbcSource()
    {
        const auto *test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path() /
                ("stockcheck-odbc-" + std::to_string(::getpid()) + "-" + test->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        std::ofstream(m_dir / "odbcinst.ini") << "[SQLite3]\nDriver=" << driver().string() << "\n";
        std::ofstream(m_dir / "odbc.ini")
            << "[stockcheck]\nDriver=SQLite3\nDatabase=" << database().string() << "\n";
        setenv("ODBCSYSINI", m_dir.c_str(), 1);
        setenv("ODBCINI", (m_dir / "odbc.ini").c_str(), 1);
    }
    ~OdbcSource() { std::filesystem::remove_all(m_dir); }
    OdbcSource(const OdbcSource &) = delete;
    OdbcSource &operator=(const OdbcSource &) = delete;

    static std::string connectionString() { return "DSN=stockcheck;"; }

    // Runs what connects to the data source. The driver keeps a little memory from every
    // connect, which the sanitizer build must not count as the program's leak.
    template <typename Connect> static void connecting(Connect connect)
    {
#if defined(__SANITIZE_ADDRESS__)
        const __lsan::ScopedDisabler keptByTheDriver;
#endif
        connect();
    }
    // The file the data source keeps its tables in.
    std::filesystem::path database() const
    {
        return m_dir / "server.db";
    }
    const std::filesystem::path &folder() const
    {
        return m_dir;
    }

    // The driver's library, or an empty path when libsqliteodbc is not installed.
    static std::filesystem::path driver()
    {
        for (const auto &entry : std::filesystem::directory_iterator("/usr/lib")) {
            const auto library = entry.path() / "odbc" / "libsqlite3odbc.so";
            if (std::filesystem::exists(library))
                return library;
        }
        return {};
    }

private:
    std::filesystem::path m_dir;
};

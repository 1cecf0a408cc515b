#include "importfile.h"

#include "host/db/hostdatabase.h"
#include "host/lang/hosttext.h"

#include <array>
#include <fstream>
#include <string_view>
#include <system_error>

namespace {

constexpr std::string_view kXlsSignature{"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8};
constexpr std::string_view kXlsxSignature{"PK\x03\x04", 4};

bool startsWith(const std::filesystem::path &file, std::string_view signature)
{
    std::ifstream in(file, std::ios::binary);
    std::array<char, 8> head{};
    in.read(head.data(), static_cast<std::streamsize>(signature.size()));
    return in.gcount() == static_cast<std::streamsize>(signature.size()) &&
           std::string_view(head.data(), signature.size()) == signature;
}

} // namespace

std::string importFileRefusal(const std::filesystem::path &file)
{
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (!std::filesystem::exists(status))
        return host::hostText("指定引入Excel文件不存在，请重新选择!");
    // Reading a pipe or a device would wait for a writer that never comes.
    if (!std::filesystem::is_regular_file(status))
        return file.string() + " is no regular file: import reads .xls and .xlsx files";
    // Read and closed, a file of the database would lose every lock the program holds on it.
    if (host::isHostDatabaseFile(file))
        return host::hostText("所选文件是正在使用的数据库的文件，请另选文件!");
    if (!startsWith(file, kXlsSignature) && !startsWith(file, kXlsxSignature))
        return file.string() + " is not a spreadsheet: import reads .xls and .xlsx files";
    return {};
}

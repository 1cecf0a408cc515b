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

// The host's sentence for the file, in the user's language.
std::string aboutFile(std::string_view source, const std::filesystem::path &file)
{
    std::string text = host::hostText(source);
    if (const auto at = text.find("%1"); at != std::string::npos)
        text.replace(at, 2, file.string());
    return text;
}

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
        return aboutFile("%1 不是普通文件：可以引入的是 .xls 和 .xlsx 文件。", file);
    // Read and closed, a file of the database would lose every lock the program holds on it.
    if (host::isHostDatabaseFile(file))
        return host::hostText("所选文件是正在使用的数据库的文件，请另选文件!");
    if (!startsWith(file, kXlsSignature) && !startsWith(file, kXlsxSignature))
        return aboutFile("%1 不是电子表格：可以引入的是 .xls 和 .xlsx 文件。", file);
    return {};
}

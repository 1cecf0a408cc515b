#include "host/importer/sheetgrid.h"

#include "host/core/hosterror.h"

#include <array>
#include <fstream>

namespace host {

SheetGrid readWorkbook(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw HostError("Cannot open the workbook " + file.string());
    std::array<unsigned char, 4> signature{};
    in.read(reinterpret_cast<char *>(signature.data()), signature.size());
    // A compound document holds an .xls workbook; a zip archive an .xlsx one.
    constexpr std::array<unsigned char, 4> compound{0xD0, 0xCF, 0x11, 0xE0};
    constexpr std::array<unsigned char, 4> zip{'P', 'K', 0x03, 0x04};
    if (signature == compound)
        return readXls(file);
    if (signature == zip)
        return readXlsx(file);
    throw HostError("The file is not an Excel workbook: " + file.string());
}

} // namespace host

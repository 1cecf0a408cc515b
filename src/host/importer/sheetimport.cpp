#include "host/importer/sheetimport.h"

#include "host/db/recordset.h"
#include "host/importer/sheetgrid.h"

namespace host {

std::shared_ptr<Recordset> SheetImport::importdata(const std::string &filePath)
{
    std::vector<std::vector<Variant>> rows = readWorkbook(filePath).takeRows();
    const size_t width = rows.empty() ? 0 : rows.front().size();

    std::vector<std::string> names;
    for (size_t column = 0; column < width; ++column) {
        const Variant &header = rows.front()[column];
        names.push_back(header.isNull() ? "F" + std::to_string(column + 1) : CStr(header));
    }
    if (!rows.empty())
        rows.erase(rows.begin());
    return std::make_shared<Recordset>(std::move(names), std::move(rows));
}

} // namespace host

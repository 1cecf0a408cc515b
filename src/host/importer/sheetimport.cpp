#include "host/importer/sheetimport.h"

#include "host/importer/sheetrecords.h"

namespace host {

std::shared_ptr<SheetRecords> SheetImport::importdata(const std::string &filePath)
{
    return readWorkbook(filePath);
}

} // namespace host

#pragma once

#include "host/core/hostobject.h"

#include <memory>
#include <string>
#include <string_view>

namespace host {

class Recordset;

// The host spreadsheet reader ("ZarvoImport.Import"): the first worksheet of a workbook as a
// recordset. The first line names the fields (an empty header cell gives "F" and the column
// number); every later line up to the last one holding a value is one record, empty cells Null.
class SheetImport : public HostObject
{
public:
    // Throws HostError when the file cannot be read.
    virtual std::shared_ptr<Recordset> importdata(const std::string &filePath);

    static constexpr std::string_view ProgId = "ZarvoImport.Import";
};

} // namespace host

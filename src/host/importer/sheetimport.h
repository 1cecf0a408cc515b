#pragma once

#include "host/core/hostobject.h"

#include <memory>
#include <string>
#include <string_view>

namespace host {

class SheetRecords;

// The host spreadsheet reader ("ZarvoImport.Import"): the first worksheet shown of a workbook as
// records read one after another (see SheetRecords).
class SheetImport : public HostObject
{
public:
    // Throws HostError when the file cannot be opened as a workbook; a damage found later is
    // thrown by the records' MoveNext.
    virtual std::shared_ptr<SheetRecords> importdata(const std::string &filePath);

    static constexpr std::string_view ProgId = "ZarvoImport.Import";
};

} // namespace host

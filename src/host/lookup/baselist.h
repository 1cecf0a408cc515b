#pragma once

#include "host/core/hostobject.h"

#include <memory>
#include <string_view>

namespace host {

class Recordset;

// The host's base-data list ("ZarvoBaseList.BaseList"): a modal picker over one class of base
// data. Class -15 is the stock places (fields FSPID, FNumber, FShortNumber, FName).
class BaseList : public HostObject
{
public:
    // The class's records positioned on the one the user chose, or nothing when the user
    // cancelled. The mode is kept for callers that pass one; the picker has only one.
    virtual std::shared_ptr<Recordset> Show(long mode, long classId);

    static constexpr std::string_view ProgId = "ZarvoBaseList.BaseList";
    static constexpr long StockPlaces = -15;
};

} // namespace host

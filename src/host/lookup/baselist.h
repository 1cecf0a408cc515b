#pragma once

#include "host/core/hostobject.h"

#include <memory>
#include <string>
#include <string_view>

namespace host {

class Recordset;

// The host's base-data list ("ZarvoBaseList.BaseList"): a modal picker over one class of base
// data, narrowed by Filter, an SQL condition on the class's rows. Class -15 is the stock places
// (fields FItemID and FSPID, FNumber, FShortNumber, FName), class 18 the batches held in stock
// (fields FItemID, FBatchNo, FQty).
class BaseList : public HostObject
{
public:
    const std::string &Filter() const { return m_filter; }
    void setFilter(std::string filter) { m_filter = std::move(filter); }

    // The class's records positioned on the one the user chose, or nothing when the user
    // cancelled. The mode is kept for callers that pass one; the picker has only one.
    virtual std::shared_ptr<Recordset> Show(long mode, long classId);

    static constexpr std::string_view ProgId = "ZarvoBaseList.BaseList";
    static constexpr long StockPlaces = -15;
    static constexpr long Batches = 18;

private:
    std::string m_filter;
};

} // namespace host

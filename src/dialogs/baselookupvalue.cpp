#include "dialogs/baselookupvalue.h"

#include "host/core/objectfactory.h"
#include "host/db/recordset/recordset.h"
#include "host/lookup/baselist.h"
#include "host/lookup/glview.h"
#include "services/modulestate.h"
#include "services/pubvariant.h"

namespace {

std::optional<std::string> fromStockPlaces(bool name)
{
    const auto places = host::CreateObjectAs<host::BaseList>(host::BaseList::ProgId);
    const auto rs = places->Show(0, host::BaseList::StockPlaces);
    if (!rs || rs->State() == host::Recordset::adStateClosed || rs->EOF() || rs->BOF())
        return std::nullopt;
    const char *field = name ? "FName" : module().gUseShortNumber ? "FNumber" : "FShortNumber";
    return host::CStr(rs->Fields(field).Value());
}

std::optional<std::string> fromLookup(long classId, const char *filter, bool name)
{
    const auto result = PubVariant::BaseDataLookup(classId, "", filter, 1, 0);
    if (!result || !result->ReturnObject)
        return std::nullopt;
    const host::LookupRecord &record = *result->ReturnObject;
    if (name)
        return host::CStr(record.Properties("FName"));
    return module().gUseShortNumber ? record.Number()
                                    : host::CStr(record.Properties("FShortNumber"));
}

} // namespace

std::optional<std::string> lookUpBaseValue(long itemClassId)
{
    static constexpr const char *stocks = " FTypeID=500 Or FTypeID=20293 Or FTypeID=20291";
    static constexpr const char *items = "x2.FErpClsID in (1,2,3,5,7,9)";
    switch (itemClassId) {
    case -55:
        return fromStockPlaces(false);
    case -15:
        return fromStockPlaces(true);
    case -5:
        return fromLookup(5, stocks, false);
    case 5:
        return fromLookup(5, stocks, true);
    case 4:
        return fromLookup(4, items, false);
    case -4:
        return fromLookup(4, items, true);
    default:
        return std::nullopt;
    }
}

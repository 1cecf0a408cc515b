#include "host/core/hosterror.h"
#include "host/core/objectfactory.h"
#include "host/lookup/glview.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

namespace PubVariant {
namespace {

// Clears the busy flag on every way out.
class LookupGuard
{
public:
    LookupGuard() { module().gLookupBusy = true; }
    ~LookupGuard() { module().gLookupBusy = false; }
    LookupGuard(const LookupGuard &) = delete;
    LookupGuard &operator=(const LookupGuard &) = delete;
};

std::shared_ptr<host::LookupResult> lookUp(host::GLView &view, long classId, std::string &search,
                                           std::string &filter, long dataType, long extra)
{
    switch (classId) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 8: {
        host::Dictionary options;
        options.SetValue("BeShortNumber", !module().gUseShortNumber);
        options.SetValue("GetDataType", dataType);
        options.SetValue("Search", search);
        return view.ItemLookUp(classId, search, filter, options);
    }
    case 7:
        return view.UnitLookup(extra, search, filter);
    case 12:
        return view.CurrencyLookup(search);
    case 13:
        return view.AccountLookup(search);
    case 130:
        return view.SettTypeLookup(search);
    default:
        if ((classId >= 20 && classId <= 129) || (classId >= 131 && classId <= 999))
            return view.SubMesLookup(classId, search);
        throw host::HostError("No base-data lookup for item class " + std::to_string(classId) +
                              ".");
    }
}

} // namespace

std::shared_ptr<host::LookupResult> BaseDataLookup(long itemClassId, std::string_view search,
                                                   std::string_view filter, long dataType,
                                                   long extra)
{
    if (module().gLookupBusy)
        return nullptr;
    try {
        const LookupGuard busy;
        const auto view = host::CreateObjectAs<host::GLView>(host::GLView::ProgId);
        std::string searchText(search);
        std::string filterText(filter);
        auto result = lookUp(*view, itemClassId, searchText, filterText, dataType, extra);
        if (!result || !result->ReturnObject)
            return nullptr;
        return result;
    } catch (const host::HostError &e) {
        ShowErrMsg(MParse::LoadLangString("基础资料查询失败。") + "\r\n" + e.Description());
        return nullptr;
    }
}

} // namespace PubVariant

#pragma once

#include "host/lookup/glview.h"

namespace host {

// The host's base-data lookup view on the host database: each call shows a LookupWindow
// modally over the records of the class asked for.
class GLViewComponent : public GLView
{
public:
    std::shared_ptr<LookupResult> ItemLookUp(long classId, std::string &search, std::string &filter,
                                             Dictionary &options) override;
    std::shared_ptr<LookupResult> UnitLookup(long unitGroupId, std::string &search,
                                             std::string &filter) override;
    std::shared_ptr<LookupResult> SubMesLookup(long classId, std::string &search) override;
    std::shared_ptr<LookupResult> CurrencyLookup(std::string &search) override;
    std::shared_ptr<LookupResult> SettTypeLookup(std::string &search) override;
    std::shared_ptr<LookupResult> AccountLookup(std::string &search) override;
};

} // namespace host

#pragma once

#include "host/core/dictionary.h"
#include "host/core/hostobject.h"
#include "host/core/variant.h"

#include <memory>
#include <string>
#include <string_view>

namespace host {

// One base-data record chosen in a lookup: its code and its named fields.
class LookupRecord : public HostObject
{
public:
    virtual std::string Number() const = 0;
    virtual Variant Properties(std::string_view name) const = 0;
};

// What a lookup returns; ReturnObject is empty when the user cancelled.
class LookupResult : public HostObject
{
public:
    std::shared_ptr<LookupRecord> ReturnObject;
};

// The host's base-data lookup view ("ZarvoGLView.GLView"): a modal, searchable list of one
// class of base data.
class GLView : public HostObject
{
public:
    // Items (4), stocks (5) and similar classes; options "BeShortNumber", "GetDataType",
    // "Search".
    virtual std::shared_ptr<LookupResult> ItemLookUp(long classId, std::string &search,
                                                     std::string &filter, Dictionary &options) = 0;
    virtual std::shared_ptr<LookupResult> UnitLookup(long unitGroupId, std::string &search,
                                                     std::string &filter) = 0;
    virtual std::shared_ptr<LookupResult> SubMesLookup(long classId, std::string &search) = 0;
    virtual std::shared_ptr<LookupResult> CurrencyLookup(std::string &search) = 0;
    virtual std::shared_ptr<LookupResult> SettTypeLookup(std::string &search) = 0;
    virtual std::shared_ptr<LookupResult> AccountLookup(std::string &search) = 0;

    static constexpr std::string_view ProgId = "ZarvoGLView.GLView";
};

} // namespace host

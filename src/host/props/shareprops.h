#pragma once

#include "host/core/hostobject.h"
#include "host/core/variant.h"

#include <string_view>

namespace host {

// The host's shared properties ("ZarvoProps.ShareProps"): values by process id and name that
// the host sets for its components. Every instance reads and writes one process-wide store.
class ShareProps : public HostObject
{
public:
    virtual Variant GetProperty(long processId, std::string_view name) const;
    virtual void SetProperty(long processId, std::string_view name, Variant value);
    virtual void RemoveAll();

    static constexpr std::string_view ProgId = "ZarvoProps.ShareProps";
};

long currentProcessId();

} // namespace host

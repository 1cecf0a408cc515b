#pragma once

#include "host/core/hostobject.h"

#include <string>
#include <string_view>

namespace host {

// The host's system values ("ZarvoBillData.SysInfo"): options of the system profile.
class SysInfo : public HostObject
{
public:
    // The value of the option key of the category as text; an empty text when there is none.
    // The host context string names the database, which here is the host's own.
    virtual std::string GetSysValue(std::string_view propsString, std::string_view category,
                                    std::string_view key);

    static constexpr std::string_view ProgId = "ZarvoBillData.SysInfo";
};

} // namespace host

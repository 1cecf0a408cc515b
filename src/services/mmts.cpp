#include "services/mmts.h"

#include "host/core/objectfactory.h"
#include "host/props/shareprops.h"

namespace MMTS {

host::Variant GetShareProperty(std::string_view name)
{
    const auto props = host::CreateObjectAs<host::ShareProps>(host::ShareProps::ProgId);
    return props->GetProperty(host::currentProcessId(), name);
}

std::string GetPropsString()
{
    return host::CStr(GetShareProperty("PropsString"));
}

std::string GetUserName()
{
    return host::CStr(GetShareProperty("UserName"));
}

} // namespace MMTS

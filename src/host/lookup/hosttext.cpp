#include "host/lookup/hosttext.h"

#include "host/core/text.h"
#include "host/core/variant.h"
#include "host/lang/resloader.h"
#include "host/props/shareprops.h"

namespace host {
namespace {

std::string hostLanguage()
{
    const std::string props = CStr(ShareProps().GetProperty(currentProcessId(), "PropsString"));
    const size_t key = findNoCase(props, "LANGUAGE=");
    if (key == std::string::npos)
        return {};
    std::string value = props.substr(key + 9, props.find(';', key) - key - 9);
    if (value.size() >= 2 && value.front() == '{' && value.back() == '}')
        value = value.substr(1, value.size() - 2);
    return value;
}

} // namespace

QString hostText(std::string_view source)
{
    ResLoader loader;
    loader.SetLanguageID(hostLanguage());
    return QString::fromStdString(loader.LoadString(source));
}

} // namespace host

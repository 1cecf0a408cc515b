#include "host/props/shareprops.h"

#include <map>
#include <string>
#include <unistd.h>
#include <utility>

namespace host {
namespace {

std::map<std::pair<long, std::string>, Variant> &store()
{
    static std::map<std::pair<long, std::string>, Variant> properties;
    return properties;
}

} // namespace

Variant ShareProps::GetProperty(long processId, std::string_view name) const
{
    const auto it = store().find({processId, std::string(name)});
    return it == store().end() ? Variant() : it->second;
}

void ShareProps::SetProperty(long processId, std::string_view name, Variant value)
{
    store()[{processId, std::string(name)}] = std::move(value);
}

void ShareProps::RemoveAll()
{
    store().clear();
}

long currentProcessId()
{
    return static_cast<long>(::getpid());
}

} // namespace host

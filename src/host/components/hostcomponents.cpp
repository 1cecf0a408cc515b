#include "host/components/hostcomponents.h"

#include "host/core/objectfactory.h"
#include "host/lang/resloader.h"
#include "host/log/logcomponent.h"
#include "host/props/shareprops.h"

#include <memory>

namespace host {
namespace {

template <typename T> void registerDefault(std::string_view progId)
{
    registerObject(progId, [] { return std::make_shared<T>(); });
}

} // namespace

void registerHostComponents()
{
    registerDefault<ShareProps>(ShareProps::ProgId);
    registerDefault<ResLoader>(ResLoader::ProgId);
    registerObject(LogComponent::ProgId,
                   [] { return std::make_shared<LogComponent>(LogComponent::defaultFile()); });
}

} // namespace host

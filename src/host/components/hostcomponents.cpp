#include "host/components/hostcomponents.h"

#include "host/core/objectfactory.h"
#include "host/db/appconnection.h"
#include "host/lang/resloader.h"
#include "host/listserver/listupdate.h"
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
    // The bills are made on a connection of the component's own, to the host's database.
    registerObject(ListUpdate::ProgId, [] {
        return std::make_shared<ListUpdate>(
            [] { return CreateObjectAs<AppConnection>("ZarvoConnection.AppConnection"); });
    });
}

} // namespace host

#include "host/core/objectfactory.h"
#include "host/core/text.h"

#include "host/core/hosterror.h"

#include <utility>

namespace host {
namespace {

ObjectRegistry &ownRegistry()
{
    static ObjectRegistry own;
    return own;
}

ObjectRegistry *&current()
{
    static ObjectRegistry *inUse = &ownRegistry();
    return inUse;
}

ObjectRegistry &registry()
{
    return *current();
}

} // namespace

ObjectRegistry &objectRegistry()
{
    return registry();
}

void useObjectRegistry(ObjectRegistry *registry)
{
    current() = registry ? registry : &ownRegistry();
}

void throwCannotCreate(std::string_view progId)
{
    constexpr long kCannotCreateObject = 429;
    throw HostError("ActiveX component can't create object: " + std::string(progId),
                    kCannotCreateObject);
}

std::shared_ptr<HostObject> CreateObject(std::string_view progId)
{
    const auto it = registry().find(toLower(progId));
    if (it == registry().end() || !it->second)
        throwCannotCreate(progId);
    auto object = it->second();
    if (!object)
        throwCannotCreate(progId);
    return object;
}

ObjectFactory registerObject(std::string_view progId, ObjectFactory factory)
{
    auto &slot = registry()[toLower(progId)];
    return std::exchange(slot, std::move(factory));
}

void unregisterObject(std::string_view progId)
{
    registry().erase(toLower(progId));
}

} // namespace host

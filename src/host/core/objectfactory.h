#pragma once

#include "host/core/hostobject.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace host {

using ObjectFactory = std::function<std::shared_ptr<HostObject>()>;
using ObjectRegistry = std::map<std::string, ObjectFactory>;

// The registry in use. A module loaded at run time is handed the host program's registry, so
// that both create components from one place; nullptr goes back to this library's own.
ObjectRegistry &objectRegistry();
void useObjectRegistry(ObjectRegistry *registry);

// The stand-in of creating a host component by its ProgID. Components register a factory under
// their ProgID; tests register their own to put a double in place. Not thread-safe: the module
// runs on the host's thread.
std::shared_ptr<HostObject> CreateObject(std::string_view progId);

template <typename T> std::shared_ptr<T> CreateObjectAs(std::string_view progId);

// Returns the factory it replaces (empty when there was none), so a test can put it back.
ObjectFactory registerObject(std::string_view progId, ObjectFactory factory);
void unregisterObject(std::string_view progId);

[[noreturn]] void throwCannotCreate(std::string_view progId);

template <typename T> std::shared_ptr<T> CreateObjectAs(std::string_view progId)
{
    auto object = std::dynamic_pointer_cast<T>(CreateObject(progId));
    if (!object)
        throwCannotCreate(progId);
    return object;
}

} // namespace host

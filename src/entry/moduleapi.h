#pragma once

#include "host/core/objectfactory.h"

#include <string>

namespace host {
class HostObject;
namespace ui {
class ModalServices;
}
} // namespace host

// What the host program hands the module when it creates an object of it: the host's component
// registry and its modal services, so that both sides share them.
struct StockCheckHost
{
    host::ObjectRegistry *registry = nullptr;
    host::ui::ModalServices *modals = nullptr;
};

// The module's class factory, exported under this name: a new object of the class with that
// CLSID, or nullptr with the reason in error. The caller owns the object.
using StockCheckCreateObjectFn = host::HostObject *(*)(const char *clsid,
                                                       const StockCheckHost *host,
                                                       std::string *error);
constexpr const char *kStockCheckCreateObject = "StockCheckCreateObject";

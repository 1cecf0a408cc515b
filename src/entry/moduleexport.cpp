#include "entry/iccheckinterface.h"
#include "entry/moduleapi.h"
#include "entry/typelib.h"
#include "host/ui/modal/modalservices.h"

#include <exception>
#include <string>
#include <string_view>

extern "C" __attribute__((visibility("default"))) host::HostObject *
StockCheckCreateObject(const char *clsid, const StockCheckHost *host, std::string *error)
{
    if (!clsid || std::string_view(clsid) != TypeLib::CLSID_ICCheckInterface) {
        if (error)
            *error = "Class not registered: " + std::string(clsid ? clsid : "");
        return nullptr;
    }
    if (host) {
        host::useObjectRegistry(host->registry);
        if (host->modals)
            host::ui::installModals(host->modals);
    }
    try {
        return new ICCheckInterface();
    } catch (const std::exception &e) {
        if (error)
            *error = e.what();
        return nullptr;
    }
}

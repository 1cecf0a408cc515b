#pragma once

#include "host/core/dictionary.h"

#include <memory>
#include <string>

namespace host {
class LogComponent;
class ResLoader;
} // namespace host

// The module-wide variables, one set for the whole module and shared by every object of it.
// Kept in one place so a test can start from a clean slate.
struct ModuleState
{
    // Host context string and language resources
    std::shared_ptr<host::Dictionary> g_colProps;
    std::string gPropsString;
    std::string gLanguage;
    std::shared_ptr<host::ResLoader> gResLoader;

    // Logging
    std::shared_ptr<host::LogComponent> gLog;
    bool gLogInitDone = false;
};

ModuleState &module();
void resetModuleState();

#pragma once

#include "options.h"

#include <filesystem>
#include <memory>
#include <string>

namespace host {
class Dispatch;
class HostObject;
namespace ui {
class ModalServices;
}
} // namespace host

// The module as the host program reaches it: a shared library loaded at run time whose class
// factory makes the public class, used through late-bound calls.
class ModuleHost
{
public:
    // The library beside the program, or $STOCKCHECK_MODULE.
    static std::filesystem::path defaultModulePath();

    ModuleHost(const std::filesystem::path &library, host::ui::ModalServices *modals);
    ModuleHost(const ModuleHost &) = delete;
    ModuleHost &operator=(const ModuleHost &) = delete;

    // A new entry object; throws HostError with the module's reason when it cannot be made.
    std::shared_ptr<host::HostObject> createEntryObject() const;

private:
    // Stays loaded until the process ends: objects the module made may outlive this host.
    void *m_library = nullptr;
    void *m_factory = nullptr;
    host::ui::ModalServices *m_modals;
};

// Runs one of the module's commands (processes, backup, input, check, print, import) on the
// database of the options, as the host does; returns the program's exit status.
int runModuleCommand(const Options &options);

#pragma once

#include <memory>
#include <string>

namespace host {
class AppConnection;
class Connection;
class Dictionary;
class FrmResLoader;
class HostObject;
class LogComponent;
class ResLoader;
} // namespace host

// The module-wide variables of the entry class and the shared services, one set for the whole
// module and shared by every object of it. Each subsystem keeps its own share of the module-wide
// state beside its code (moduleStateOf below), so that a change to one share rebuilds only what
// reads it.
struct ModuleState
{
    // Entry and host link
    std::shared_ptr<host::AppConnection> gAppConn; // every SQL statement of the module runs here
    std::shared_ptr<host::Connection> gConn;       // only handed to the host bill list
    bool gShowFilterBeforeCheck = false;
    bool gIsTest = false;
    long gOperatorID = 0;
    std::shared_ptr<host::Dictionary> gProcDict;
    bool gOpenFromProcList = false;
    long gCurInterID = 0; // the current count process

    // Options, periods and dates
    long gCurPeriod = 0;
    double gPeriodStart = 0;
    double gPeriodEnd = 0;
    bool gUseShortNumber = false;
    long gMtoPlanMode = 0;
    bool gAlertSameCheckStockRecord = false;

    // Lookups and help
    bool gLookupBusy = false;
    std::shared_ptr<host::HostObject> gHelpTool;

    // Host context string and language resources
    std::shared_ptr<host::Dictionary> g_colProps;
    std::string gPropsString;
    std::string gLanguage;
    std::shared_ptr<host::ResLoader> gResLoader;
    std::shared_ptr<host::FrmResLoader> gFormResLoader;

    // Logging
    std::shared_ptr<host::LogComponent> gLog;
    bool gLogInitDone = false;
};

ModuleState &module();

// Puts every share of the module-wide state back to its defaults, so that a test starts from a
// clean slate.
void resetModuleState();

namespace detail {
void addModuleStateReset(void (*reset)());
} // namespace detail

// The one instance of a subsystem's share of the module-wide state, made on first use and put
// back to its defaults by resetModuleState with the rest.
template <class State> State &moduleStateOf()
{
    static State state;
    [[maybe_unused]] static const bool registered =
        (detail::addModuleStateReset([] { state = State{}; }), true);
    return state;
}

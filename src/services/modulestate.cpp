#include "services/modulestate.h"

#include "host/core/settingsstore.h"
#include "host/formres/frmresloader.h"
#include "host/lang/resloader.h"
#include "host/log/logcomponent.h"

namespace {

ModuleState &instance()
{
    static ModuleState state;
    return state;
}

} // namespace

ModuleState &module()
{
    return instance();
}

void resetModuleState()
{
    instance() = ModuleState{};
}

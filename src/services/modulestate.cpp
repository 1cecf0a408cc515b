#include "services/modulestate.h"

#include <vector>

namespace {

ModuleState &instance()
{
    static ModuleState state;
    return state;
}

std::vector<void (*)()> &shareResets()
{
    static std::vector<void (*)()> resets;
    return resets;
}

} // namespace

ModuleState &module()
{
    return instance();
}

void resetModuleState()
{
    instance() = ModuleState{};
    for (const auto reset : shareResets())
        reset();
}

void detail::addModuleStateReset(void (*reset)())
{
    shareResets().push_back(reset);
}

#include "services/modulestate.h"

#include <gtest/gtest.h>

namespace {

// A subsystem's share as the subsystems declare theirs.
struct Share
{
    long gValue = 7;
};

TEST(ModuleState, OneResetPutsTheSharedStateAndEveryShareBack)
{
    moduleStateOf<Share>().gValue = 3;
    module().gCurInterID = 5;
    EXPECT_EQ(&moduleStateOf<Share>(), &moduleStateOf<Share>());
    resetModuleState();
    EXPECT_EQ(moduleStateOf<Share>().gValue, 7);
    EXPECT_EQ(module().gCurInterID, 0);
}

} // namespace

#pragma once

#include "host/components/hostcomponents.h"
#include "host/core/paths.h"
#include "host/props/shareprops.h"
#include "services/modulestate.h"

#include <gtest/gtest.h>

#include <cstdlib>

// A clean module and host for each test, with the host context string the host would set.
class ServicesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("STOCKCHECK_DATA_DIR", STOCKCHECK_DATA_DIR, 1);
        host::registerHostComponents();
        host::ShareProps().RemoveAll();
        resetModuleState();
    }
    void TearDown() override { resetModuleState(); }

    static void setPropsString(const std::string &props)
    {
        host::ShareProps().SetProperty(host::currentProcessId(), "PropsString", props);
    }
};

#include "host/db/sqlite/sqlitedb.h"
#include "support/isolatedhome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    const IsolatedHome home;
    host::sqlite::guardEveryConnection();
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}

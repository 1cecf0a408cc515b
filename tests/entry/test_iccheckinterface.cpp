#include "entry/iccheckinterface.h"
#include "entry/typelib.h"
#include "host/components/hostcomponents.h"
#include "host/core/hosterror.h"
#include "host/core/objectfactory.h"
#include "host/db/appconnection.h"
#include "host/db/connection.h"
#include "host/db/hostdatabase.h"
#include "host/props/shareprops.h"
#include "services/modulestate.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class EntryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("STOCKCHECK_DATA_DIR", STOCKCHECK_DATA_DIR, 1);
        setenv("STOCKCHECK_LOG", "off", 1);
        resetModuleState();
        m_db = std::make_shared<host::AppConnection>();
        m_db->openDatabase(":memory:");
        m_db->Execute("CREATE TABLE t_SystemProfile (FCategory varchar(30) NOT NULL, FKey "
                      "varchar(50) NOT NULL, FValue varchar(255) NULL)");
        host::setHostConnection(m_db);
        host::registerHostComponents();
        host::ShareProps().SetProperty(host::currentProcessId(), "PropsString",
                                       "UserID=16394;LANGUAGE=CHS");
    }
    void TearDown() override
    {
        resetModuleState();
        host::setHostConnection(nullptr);
    }

    void setOption(const std::string &key, const std::string &value)
    {
        m_db->Execute("INSERT INTO t_SystemProfile (FCategory,FKey,FValue) VALUES ('IC','" + key +
                      "','" + value + "')");
    }

    static long errorNumber(const std::function<void()> &f)
    {
        try {
            f();
        } catch (const host::HostError &e) {
            return e.Number();
        }
        return 0;
    }

    std::shared_ptr<host::AppConnection> m_db;
};

} // namespace

TEST_F(EntryTest, CreationReadsTheFilterOption)
{
    {
        const ICCheckInterface entry;
        EXPECT_FALSE(module().gShowFilterBeforeCheck);
        EXPECT_TRUE(module().gAppConn);
        EXPECT_TRUE(module().gConn);
    }
    setOption("ShowFilterBeforeCheck", "1");
    const ICCheckInterface entry;
    EXPECT_TRUE(module().gShowFilterBeforeCheck);
}

TEST_F(EntryTest, AnOptionThatIsNoNumberFailsTheCreation)
{
    setOption("ShowFilterBeforeCheck", "yes please");
    EXPECT_THROW(ICCheckInterface(), host::HostError);
    // Nothing is left half made.
    EXPECT_FALSE(module().gAppConn);
}

TEST_F(EntryTest, NestedObjectsShareTheConnectionsTheOuterOneReleases)
{
    auto outer = std::make_unique<ICCheckInterface>();
    const auto connection = module().gAppConn;
    bool test = true;
    outer->IsTest(test);
    {
        const ICCheckInterface nested;
        EXPECT_EQ(module().gAppConn, connection);
        // A new object starts out of test mode.
        EXPECT_FALSE(module().gIsTest);
    }
    // The host's object still has its connections after the nested one is gone.
    EXPECT_EQ(module().gAppConn, connection);
    EXPECT_TRUE(module().gConn);
    outer.reset();
    EXPECT_FALSE(module().gAppConn);
    EXPECT_FALSE(module().gConn);
}

TEST_F(EntryTest, CheckDataCheckSetsTheOperatorBeforeItsWindow)
{
    ICCheckInterface entry;
    entry.OperaterID(16394);
    EXPECT_EQ(module().gOperatorID, 16394);
    EXPECT_THROW(entry.CheckDataCheck(0), host::HostError);
    EXPECT_EQ(module().gOperatorID, 0);
}

TEST_F(EntryTest, CommandsWithoutTheirWindowsFailWithTheModulesError)
{
    ICCheckInterface entry;
    const std::function<void()> commands[] = {
        [&] { entry.BackupCheckData(); },
        [&] { entry.PrintCheckBook(); },
        [&] { entry.CheckDataInput(); },
        [&] { entry.DisChkStockProc(std::make_shared<host::Dictionary>()); },
        [&] { entry.TestImport("count.xls"); },
    };
    for (const auto &command : commands) {
        try {
            command();
            ADD_FAILURE() << "a command without its window succeeded";
        } catch (const host::HostError &e) {
            EXPECT_EQ(e.Source(), "ZarvoStockCheck");
            EXPECT_NE(e.Description().find("此功能在本版本中不可用"), std::string::npos);
        }
    }
}

TEST_F(EntryTest, LocalConnectionNeverFails)
{
    ICCheckInterface entry;
    auto bad = std::make_shared<host::Connection>();
    EXPECT_NO_THROW(entry.LocalConnection(bad));
    EXPECT_EQ(module().gConn->State(), host::Connection::adStateClosed);

    const auto good = std::make_shared<host::Connection>(m_db);
    entry.LocalConnection(good);
    EXPECT_EQ(module().gConn->State(), host::Connection::adStateOpen);
    EXPECT_EQ(module().gConn->CursorLocation(), host::Connection::adUseClient);
    // A second call leaves the first connection as it was.
    EXPECT_NO_THROW(entry.LocalConnection(good));
    EXPECT_EQ(module().gConn->State(), host::Connection::adStateOpen);
}

TEST_F(EntryTest, MembersAreReachableByNameAndDispatchId)
{
    ICCheckInterface entry;
    struct Case
    {
        const char *name;
        long dispId;
    };
    const Case members[] = {
        {"LocalConnection", TypeLib::DISPID_LocalConnection},
        {"OperaterID", TypeLib::DISPID_OperaterID},
        {"BackupCheckData", TypeLib::DISPID_BackupCheckData},
        {"PrintCheckBook", TypeLib::DISPID_PrintCheckBook},
        {"istest", TypeLib::DISPID_IsTest},
        {"CheckDataInput", TypeLib::DISPID_CheckDataInput},
        {"CheckDataCheck", TypeLib::DISPID_CheckDataCheck},
        {"DisChkStockProc", TypeLib::DISPID_DisChkStockProc},
        {"TestImport", TypeLib::DISPID_TestImport},
    };
    for (const auto &m : members)
        EXPECT_EQ(entry.GetIDsOfNames(m.name), m.dispId) << m.name;

    std::vector<host::Variant> args{4711};
    entry.InvokeByName("OperaterID", host::InvokeKind::PropertyPut, args);
    EXPECT_EQ(module().gOperatorID, 4711);
    args = {true};
    entry.Invoke(TypeLib::DISPID_IsTest, host::InvokeKind::PropertyPut, args);
    EXPECT_TRUE(module().gIsTest);
    args = {"count.xls"};
    EXPECT_THROW(entry.Invoke(TypeLib::DISPID_TestImport, host::InvokeKind::Method, args),
                 host::HostError);
}

TEST_F(EntryTest, UnknownMembersGiveThePlatformsErrors)
{
    ICCheckInterface entry;
    std::vector<host::Variant> none;
    std::vector<host::Variant> one{1};
    EXPECT_EQ(errorNumber([&] { entry.GetIDsOfNames("Frobnicate"); }), host::Dispatch::UnknownName);
    EXPECT_EQ(errorNumber([&] { entry.Invoke(0x12345, host::InvokeKind::Method, none); }),
              host::Dispatch::MemberNotFound);
    // OperaterID can be put, not called or read.
    EXPECT_EQ(errorNumber(
                  [&] { entry.Invoke(TypeLib::DISPID_OperaterID, host::InvokeKind::Method, one); }),
              host::Dispatch::MemberNotFound);
    EXPECT_EQ(errorNumber([&] {
                  entry.Invoke(TypeLib::DISPID_OperaterID, host::InvokeKind::PropertyPut, none);
              }),
              host::Dispatch::BadParamCount);
}

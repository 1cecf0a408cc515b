#include "backup/frmchkstockproc.h"
#include "entry/iccheckinterface.h"
#include "entry/typelib.h"
#include "host/components/hostcomponents.h"
#include "host/core/hosterror.h"
#include "host/core/objectfactory.h"
#include "host/db/appconnection.h"
#include "host/db/connection.h"
#include "host/db/hostdatabase.h"
#include "host/props/shareprops.h"
#include "host/ui/modal/scriptedmodals.h"
#include "host/ui/toolbar/tool.h"
#include "host/ui/toolbar/toolbarcontrol.h"
#include "services/modulestate.h"
#include "support/hostdatabases.h"

#include <QAction>

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
        m_db = openSchemaDatabase();
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

TEST_F(EntryTest, CountSheetCommandsRefuseWhenNothingIsBackedUp)
{
    host::ui::ScriptedModals modals;
    ICCheckInterface entry;
    entry.OperaterID(16394);
    EXPECT_EQ(module().gOperatorID, 16394);
    entry.CheckDataCheck(0);
    EXPECT_EQ(module().gOperatorID, 0);
    entry.CheckDataInput();
    entry.PrintCheckBook();
    const QStringList expected(3, QStringLiteral("仓库数据还未备份,请备份仓库数据!"));
    EXPECT_EQ(modals.messageTexts(), expected);
}

TEST_F(EntryTest, CountSheetCommandsOpenTheCountSheetWindowModally)
{
    m_db->Execute("INSERT INTO t_Stock (FItemID,FNumber,FName) VALUES (1,'01','成品仓')");
    m_db->Execute("INSERT INTO ICInvBackup (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,FBatchNo,"
                  "FMtoNo,FStockID,FSelect,FAdj,FAdjQty,FStockPlaceID) VALUES "
                  "(1,'0',1,0,1,'','',1,0,0,0,0)");
    host::ui::ScriptedModals modals;
    ICCheckInterface entry;
    entry.PrintCheckBook();
    entry.CheckDataInput();
    entry.CheckDataCheck(16394);
    QStringList captions;
    for (const auto &window : modals.modalWindows()) {
        EXPECT_EQ(window.className, QStringLiteral("frmMain"));
        captions << window.caption;
    }
    EXPECT_EQ(captions, (QStringList{"打印物料盘点表", "录入盘点数据", "物料盘点报告单"}));
}

TEST_F(EntryTest, TestImportReportsAFileItCannotReadAndReturns)
{
    host::ui::ScriptedModals modals;
    ICCheckInterface entry;
    EXPECT_NO_THROW(entry.TestImport("/nonexistent/count.xls"));
    ASSERT_EQ(modals.messageTexts().size(), 1);
    EXPECT_TRUE(modals.messageTexts().front().startsWith(
        "引入遇到问题，请重命名工作表或重新生成引入文件，再重试\n"));
}

TEST_F(EntryTest, BackupAndProcessListOpenTheirWindowsModally)
{
    m_db->Execute("INSERT INTO t_UserRight (FUserID,FObjectType,FRightIndex,FAccessMask) VALUES "
                  "(16394,1001,5,131072)");
    host::ui::ScriptedModals modals;
    ICCheckInterface entry;
    const auto connection = module().gAppConn;
    entry.BackupCheckData();
    auto dict = std::make_shared<host::Dictionary>();
    dict->SetValue("UserID", 16394);
    // New in the process list opens the backup window through an entry object of its own.
    modals.whileShown([](host::ui::Form &form) {
        dynamic_cast<frmChkStockProc &>(form)
            .barProc->Bands("Band1")
            .Tools("New")
            .action()
            .trigger();
    });
    entry.DisChkStockProc(dict);
    std::vector<std::string> shown;
    for (const auto &window : modals.modalWindows())
        shown.push_back(window.className.toStdString());
    EXPECT_EQ(shown, (std::vector<std::string>{"frmBackupInv", "frmChkStockProc", "frmBackupInv"}));
    EXPECT_EQ(module().gProcDict, dict);
    // The nested object left the host's connections in place.
    EXPECT_EQ(module().gAppConn, connection);
    EXPECT_TRUE(module().gConn);
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
    host::ui::ScriptedModals modals;
    args = {"/nonexistent/count.xls"};
    entry.Invoke(TypeLib::DISPID_TestImport, host::InvokeKind::Method, args);
    EXPECT_EQ(modals.messageTexts().size(), 1);
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

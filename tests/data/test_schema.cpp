#include "data/demodatabase.h"
#include "support/hostdatabases.h"

#include "sampledata/schema.h"

#include "backup/backupbatch.h"
#include "backup/cutdatesql.h"
#include "dialogs/billselectsql.h"
#include "host/core/datetime.h"
#include "support/casename.h"

#include <gtest/gtest.h>

#include <string>

// The module's own statements, from its builders, run against the host schema with the demo
// company in it: the demo must give each of them rows to work on.

namespace {

const double kToday = host::makeDate(2026, 12, 7);

class ModuleStatements : public ::testing::Test
{
protected:
    void SetUp() override { m_db = openDemoDatabase(kToday); }

    long count(const std::string &sql) { return host::CLng(scalar(*m_db, sql)); }

    std::string allStocks()
    {
        std::string ids;
        for (const auto &row : rowsAsText(*m_db, "select FItemID from t_Stock order by FItemID"))
            ids += (ids.empty() ? "" : ",") + row[0];
        return ids;
    }

    // A backup of the current stock of every stock into process 1.
    void backUpCurrentStock()
    {
        backup::SnapshotBatch batch;
        batch.processId = 1;
        batch.processNumber = "202612070001";
        batch.stock = allStocks();
        batch.date = "2026-12-07";
        batch.operatorId = 16;
        batch.maxBillInterID = count("select max(FInterID) from ICStockBill");
        batch.maxMTOChangeID = count("select max(FID) from t_MTOChange");
        batch.source = backup::currentStockSelect(batch.processId, batch.maxBillInterID, "");
        m_db->Execute(backup::snapshotBatchSql(batch));
    }

    std::unique_ptr<host::AppConnection> m_db;
};

TEST_F(ModuleStatements, BackupMakesOneCountLinePerStockRow)
{
    backUpCurrentStock();
    // Every stock row has a place row (FSPID 0 for none) and a unit, so none is left out.
    EXPECT_EQ(count("select count(*) from ICInvBackup where FInterID = 1"),
              count("select count(*) from ICInventory"));
    EXPECT_EQ(count("select count(*) from ICStockCheckProcess where FID = 1 and FStatus = 0"), 1);
    EXPECT_EQ(count("select fcurno from icbillno where fbillid=-1"), 2);
    EXPECT_EQ(count("select count(*) from ICInvBackup where FInterID = 1 and FSecQty <> 0 and "
                    "FSecCheckQty <> FSecQty"),
              0);
    // The counting-unit quantity is the base quantity over the counting unit's coefficient.
    EXPECT_EQ(count("select count(*) from ICInvBackup b inner join t_MeasureUnit u on "
                    "u.FMeasureUnitID = b.FUnitID where abs(b.FAuxQty * u.FCoefficient - b.FQty) "
                    "> 0.0001"),
              0);
    // The last-check date written to the material is read back through the item.
    EXPECT_GT(count("select count(*) from t_ICItem where FCheckCycle > 0 and "
                    "FLastCheckDate = '2026-12-07'"),
              0);
    EXPECT_EQ(count("select count(*) from t_ICItem i where FCheckCycle > 0 and exists (select 1 "
                    "from ICInvBackup b where b.FItemID = i.FItemID) and "
                    "isnull(FLastCheckDate,'2000-01-01') <> '2026-12-07'"),
              0);
}

// A line of each kind of movement the bill selection lists, taken from the demo's own rows.
struct BillLineCase
{
    const char *kind;
    const char *line; // stock, item, batch, plan number, place, property, period, date
    long inOrOut;
    const char *typeName;
};

class BillSelection : public ModuleStatements, public ::testing::WithParamInterface<BillLineCase>
{};

TEST_P(BillSelection, FindsTheMovementsOfALine)
{
    const auto line = rowsAsText(*m_db, GetParam().line);
    ASSERT_EQ(line.size(), 1U) << GetParam().kind;
    const auto &k = line[0];
    BillSelectLine key;
    key.stockId = std::stol(k[0]);
    key.itemId = std::stol(k[1]);
    key.batchNo = k[2];
    key.mtoNo = k[3];
    key.stockPlaceId = std::stol(k[4]);
    key.auxPropId = std::stol(k[5]);
    key.kfPeriod = std::stol(k[6]);
    key.kfDate = k[7];
    BillSelectOptions options;
    options.procId = 1;
    options.planMode = true;
    options.billTypeName = "x1.FName";
    options.changeTypeName = "x1.FName_CHS";
    setSnapshotConditions(options, 1, {}, 0, 0);

    const auto bills = m_db->Execute(billSelectSQL(key, options));
    ASSERT_GT(bills->RecordCount(), 0) << GetParam().kind;
    EXPECT_EQ(host::CStr(bills->Fields("FName").Value()), GetParam().typeName);
    EXPECT_EQ(host::CLng(bills->Fields("FInOrOut").Value()), GetParam().inOrOut);
}

INSTANTIATE_TEST_SUITE_P(
    ModuleStatements, BillSelection,
    ::testing::Values(
        BillLineCase{"purchase receipt",
                     "select top 1 e.FDCStockID, e.FItemID, e.FBatchNo, e.FMtoNo, e.FDCSPID, "
                     "e.FAuxPropID, e.FKFPeriod, isnull(convert(varchar(10),e.FKFDate,120),'') "
                     "from ICStockBillEntry e inner join ICStockBill b on b.FInterID = e.FInterID "
                     "where b.FTranType = 1 and b.FCheckerID > 0 and b.FCancellation = 0 order "
                     "by e.FInterID",
                     1, "外购入库"},
        BillLineCase{"plan-tracking change",
                     "select top 1 e.FStockID, e.FItemID, e.FBatchNo, e.FToMtoNo, e.FSPID, "
                     "e.FAuxPropID, e.FKFPeriod, isnull(convert(varchar(10),e.FKFDate,120),'') "
                     "from t_MTOChangeEntry e inner join t_MTOChange c on c.FID = e.FID where "
                     "c.FCheckerID > 0 and e.FFromMtoNo <> e.FToMtoNo order by e.FID",
                     1, "计划跟踪号调整单"}),
    [](const auto &c) { return caseName(c.index, c.param.kind); });

TEST_F(ModuleStatements, CutOffBalanceTakesTheOpeningBalanceAndTheMovementsSince)
{
    backup::CutDateBalance balance;
    balance.processId = 1;
    balance.cutDate = "2026-12-03";
    balance.startDate = "2026-12-01";
    balance.baseYear = 2026;
    balance.basePeriod = 12;
    balance.stock = allStocks();
    m_db->Execute(backup::cutDateFillSql(balance));
    EXPECT_EQ(count("select count(*) from ICInvBackupTemp where FDateBackup = '2026-12-03' and "
                    "FInterID = 1"),
              count("select count(*) from ICInvBackupTemp"));
    // One row per opening balance, the rest from the movements up to the cut-off date.
    EXPECT_GE(count("select count(*) from ICInvBackupTemp"),
              count("select count(*) from ICInvBal where FYear = 2026 and FPeriod = 12 and "
                    "FBegQty <> 0"));
    EXPECT_GT(count("select count(*) from ICInvBackupTemp where FKFDate like '2026-__-__' or "
                    "FKFDate like '2025-__-__'"),
              0);
}

TEST(Schema, StatementsEndAtSemicolonsAndSkipComments)
{
    const auto statements = sampledata::schemaStatements(
        "-- a comment\nCREATE TABLE a (\n  x int\n);\n\nCREATE INDEX i ON a (x);\n");
    ASSERT_EQ(statements.size(), 2U);
    EXPECT_EQ(statements[0], "CREATE TABLE a (\r\nx int\r\n)");
    EXPECT_EQ(statements[1], "CREATE INDEX i ON a (x)");
}

TEST(Schema, CreatesEveryHostTable)
{
    const auto db = openMemoryDatabase();
    sampledata::createSchema(*db);
    for (const char *table : {"ICInvBackup",      "ICInvBackupTemp",  "ICStockCheckProcess",
                              "icbillno",         "IC_MaxNum",        "ICInventory",
                              "ICInvBal",         "ICStockBill",      "ICStockBillEntry",
                              "t_MTOChange",      "t_MTOChangeEntry", "ICTransactionType",
                              "ICClassType",      "t_ICItem",         "t_ICItemBase",
                              "t_ICItemMaterial", "t_MeasureUnit",    "t_Stock",
                              "t_item",           "t_StockPlace",     "t_AuxItem",
                              "t_PeriodDate",     "t_user",           "t_Emp",
                              "t_barcode",        "t_SystemProfile",  "ICChatBillTitle",
                              "t_UserRight",      "t_DataAccessRule"}) {
        EXPECT_NO_THROW(db->Execute(std::string("select count(*) from ") + table)) << table;
    }
}

TEST(Schema, TextComparesWithoutCaseAndTrailingBlanks)
{
    const auto db = openMemoryDatabase();
    sampledata::createSchema(*db);
    db->Execute("insert into t_Stock (FItemID,FNumber,FName) values (1,'ab01','原材料仓')");
    EXPECT_EQ(host::CLng(scalar(*db, "select count(*) from t_Stock where FNumber = 'AB01  '")), 1);
}

TEST(Schema, DecimalColumnsKeepTheirScale)
{
    const auto db = openMemoryDatabase();
    sampledata::createSchema(*db);
    db->Execute("insert into ICInventory (FItemID,FStockID,FQty) values (1,1,0.123456789012345)");
    EXPECT_EQ(host::CStr(scalar(*db, "select FQty from ICInventory")), "0.123456789");
    // A difference that is zero in decimal arithmetic is stored as zero.
    db->Execute("update ICInventory set FSecQty = FSecQty + 0.1");
    db->Execute("update ICInventory set FSecQty = FSecQty + 0.2");
    db->Execute("update ICInventory set FSecQty = FSecQty - 0.3");
    EXPECT_EQ(host::CStr(scalar(*db, "select FSecQty from ICInventory")), "0");
}

} // namespace

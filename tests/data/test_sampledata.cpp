#include "data/demodatabase.h"
#include "support/hostdatabases.h"

#include "sampledata/sampledata.h"
#include "sampledata/schema.h"

#include "host/core/datetime.h"

#include "support/casename.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <regex>

namespace {

const double kToday = host::makeDate(2026, 12, 7);

class DemoCompany : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_connection = openDemoDatabase(kToday).release(); }
    static void TearDownTestSuite()
    {
        delete s_connection;
        s_connection = nullptr;
    }

    static long count(const std::string &sql) { return host::CLng(scalar(*s_connection, sql)); }

    static host::AppConnection *s_connection;
};

host::AppConnection *DemoCompany::s_connection = nullptr;

TEST_F(DemoCompany, HasTheSizeOfOneCompany)
{
    EXPECT_GE(count("select count(*) from t_Stock"), 3);
    EXPECT_LE(count("select count(*) from t_Stock"), 5);
    EXPECT_GE(count("select count(*) from t_ICItem"), 40);
    EXPECT_LE(count("select count(*) from t_ICItem"), 80);
}

struct KindCase
{
    const char *kind;
    const char *sql; // counts the records of that kind
};

class EveryKind : public DemoCompany, public ::testing::WithParamInterface<KindCase>
{};

TEST_P(EveryKind, Exists)
{
    EXPECT_GT(count(GetParam().sql), 0) << GetParam().kind;
}

INSTANTIATE_TEST_SUITE_P(
    DemoCompany, EveryKind,
    ::testing::Values(
        KindCase{"stock keeping places in a group",
                 "select count(*) from t_Stock s inner join t_StockPlace p on "
                 "p.FSPGroupID = s.FSPGroupID where s.FIsStockMgr = 1 and p.FDetail = 1"},
        KindCase{"stock without places", "select count(*) from t_Stock where FIsStockMgr = 0"},
        KindCase{"book stock in a place",
                 "select count(*) from ICInventory where FStockPlaceID > 0"},
        KindCase{"counting unit bigger than the base unit",
                 "select count(*) from t_ICItem i inner join t_MeasureUnit u on "
                 "i.FStoreUnitID = u.FMeasureUnitID where i.FStoreUnitID <> i.FUnitID and "
                 "u.FCoefficient > 1 and u.FUnitGroupID = i.FUnitGroupID"},
        KindCase{"second unit with stock in it",
                 "select count(*) from t_ICItem i inner join ICInventory s on "
                 "s.FItemID = i.FItemID where i.FSecUnitID > 0 and s.FSecQty <> 0"},
        KindCase{"batch-managed stock",
                 "select count(*) from t_ICItem i inner join ICInventory s on "
                 "s.FItemID = i.FItemID where i.FBatchManager = 1 and s.FBatchNo <> ''"},
        KindCase{"shelf-life stock",
                 "select count(*) from t_ICItem i inner join ICInventory s on "
                 "s.FItemID = i.FItemID where i.FISKFPeriod = 1 and i.FKFPeriod > 0 and "
                 "s.FKFDate <> '' and s.FKFPeriod = i.FKFPeriod"},
        KindCase{"stock with auxiliary properties of the item's class",
                 "select count(*) from t_ICItem i inner join ICInventory s on "
                 "s.FItemID = i.FItemID inner join t_AuxItem a on a.FItemID = s.FAuxPropID "
                 "where a.FItemClassID = i.FAuxClassID"},
        KindCase{"serial-number item", "select count(*) from t_ICItem where FISSNManage = 1"},
        KindCase{"daily count cycle", "select count(*) from t_ICItem where FCheckCycUnit = 11603"},
        KindCase{"weekly count cycle", "select count(*) from t_ICItem where FCheckCycUnit = 11602"},
        KindCase{"monthly count cycle",
                 "select count(*) from t_ICItem where FCheckCycUnit = 11601"},
        KindCase{
            "cycle item never counted",
            "select count(*) from t_ICItem where FCheckCycUnit > 0 and FLastCheckDate is null"},
        KindCase{"cycle item counted before",
                 "select count(*) from t_ICItem where FCheckCycUnit > 0 and "
                 "FLastCheckDate is not null"},
        KindCase{"plan-tracked stock", "select count(*) from ICInventory where FMtoNo <> ''"},
        KindCase{"deleted item", "select count(*) from t_ICItem where FDeleted = 1"},
        KindCase{"virtual item", "select count(*) from t_ICItem where FErpClsID = 6"},
        KindCase{"negative book stock", "select count(*) from ICInventory where FQty < 0"},
        KindCase{"zero book stock", "select count(*) from ICInventory where FQty = 0"},
        KindCase{"item barcode", "select count(*) from t_barcode b inner join t_ICItem i on "
                                 "i.FItemID = b.FItemID where b.FTypeID = 4"},
        KindCase{"opening balance of the current period",
                 "select count(*) from ICInvBal where FYear = 2026 and FPeriod = 12"},
        KindCase{"audited bill",
                 "select count(*) from ICStockBill where FCheckerID > 0 and FCancellation = 0"},
        KindCase{"unaudited bill",
                 "select count(*) from ICStockBill where ISNULL(FCheckerID,0) = 0 and "
                 "FUpStockWhenSave = 0 and FCancellation = 0"},
        KindCase{"bill posted when saved",
                 "select count(*) from ICStockBill where ISNULL(FCheckerID,0) = 0 and "
                 "FUpStockWhenSave = 1"},
        KindCase{"cancelled bill", "select count(*) from ICStockBill where FCancellation = 1"},
        KindCase{"transfer between two stocks",
                 "select count(*) from ICStockBill b inner join ICStockBillEntry e on "
                 "e.FInterID = b.FInterID where b.FTranType = 41 and e.FSCStockID <> e.FDCStockID"},
        KindCase{"audited plan-tracking change",
                 "select count(*) from t_MTOChange c inner join t_MTOChangeEntry e on "
                 "e.FID = c.FID where c.FClassTypeID = 1107011 and c.FCheckerID > 0 and "
                 "e.FFromMtoNo <> e.FToMtoNo"},
        KindCase{"bill after a snapshot taken on the 3rd",
                 "select count(*) from ICStockBill where FDate > '2026-12-03'"},
        KindCase{"user limited to some stocks",
                 "select count(*) from t_DataAccessRule where FDataTable = 't_Stock'"},
        KindCase{"user allowed to change counts",
                 "select count(*) from t_UserRight where FObjectType = 1001 and "
                 "FRightIndex = 5 and FAccessMask = 131072"}),
    [](const auto &c) { return caseName(c.index, c.param.kind); });

// Unaudited bills keep some stocks from a current-stock count, so the refusal can be seen, but
// at least two stocks are clean, so that a count of them can be made.
TEST_F(DemoCompany, SomeStocksHoldUnauditedBillsAndTwoAreClean)
{
    const std::string pending =
        "select s.FItemID from t_Stock s where exists (select 1 from ICStockBillEntry e join "
        "ICStockBill b on e.FInterID=b.FInterID where b.FCancellation=0 and b.FCheckerID is null "
        "and (e.FDCStockID=s.FItemID or e.FSCStockID=s.FItemID)) or exists (select 1 from "
        "t_MTOChangeEntry e join t_MTOChange c on e.FID=c.FID where isnull(c.FCheckerID,0)=0 "
        "and e.FStockID=s.FItemID)";
    const long stocks = count("select count(*) from t_Stock");
    const long held = count("select count(*) from (" + pending + ") x");
    EXPECT_GT(held, 0);
    EXPECT_LE(held, stocks - 2);
}

TEST_F(DemoCompany, HasBillsOfEveryTransactionTypeWithItsName)
{
    for (const int type : {1, 2, 5, 10, 21, 24, 28, 29, 40, 41, 43}) {
        const std::string id = std::to_string(type);
        EXPECT_GT(count("select count(*) from ICStockBill where FTranType = " + id), 0) << type;
        EXPECT_FALSE(host::CStr(scalar(*s_connection,
                                       "select FName_EN from ICTransactionType where FID = " + id))
                         .empty())
            << type;
    }
    EXPECT_EQ(
        host::CStr(scalar(*s_connection, "select FName_CHS from ICClassType where FID = 1107011")),
        "计划跟踪号调整单");
}

TEST_F(DemoCompany, ItemsHaveFullAndShortNumbersAndChineseNames)
{
    const std::regex fullNumber(R"(\d\d\.\d\d\.\d{3,})");
    const auto items = rowsAsText(*s_connection, "select FNumber, FName from t_ICItem");
    for (const auto &item : items) {
        EXPECT_TRUE(std::regex_match(item[0], fullNumber)) << item[0];
        // Chinese characters are bytes above 0x7F in UTF-8.
        EXPECT_TRUE(std::any_of(item[1].begin(), item[1].end(), [](char c) {
            return static_cast<unsigned char>(c) > 0x7F;
        })) << item[1];
    }
    EXPECT_EQ(count("select count(distinct FShortNumber) from t_ICItem"),
              static_cast<long>(items.size()));
}

TEST_F(DemoCompany, HasTheOptionsOfCategoryIC)
{
    const std::map<std::string, std::string> expected{{"CurrentYear", "2026"},
                                                      {"CurrentPeriod", "12"},
                                                      {"StartYear", "2025"},
                                                      {"StartPeriod", "1"},
                                                      {"UseShortNumber", "0"},
                                                      {"EnableMtoPlanMode", "1"},
                                                      {"ShowFilterBeforeCheck", "0"},
                                                      {"AlertSameCheckStockRecord", "1"},
                                                      {"ICBillPos", "0"}};
    for (const auto &[key, value] : expected) {
        EXPECT_EQ(
            host::CStr(scalar(*s_connection, "Select FValue From t_SystemProFile Where FKey='" +
                                                 key + "' And FCategory='IC'")),
            value)
            << key;
    }
}

TEST_F(DemoCompany, EveryUserIsAnEmployeeToo)
{
    EXPECT_GT(count("select count(*) from t_user"), 0);
    EXPECT_EQ(count("select count(*) from t_user u left join t_Emp e on e.FItemID = u.FUserID "
                    "where e.FName is null"),
              0);
}

TEST_F(DemoCompany, ProcessNumberingStartsAtOne)
{
    EXPECT_EQ(count("select fcurno from icbillno where fbillid=-1"), 1);
}

TEST_F(DemoCompany, HoldsTheColumnTemplatesOfTheThreeSheets)
{
    for (int type : {1, 3, 4})
        EXPECT_GT(
            count("select count(*) from ICChatBillTitle where FTypeID=" + std::to_string(type)), 10)
            << type;
    EXPECT_EQ(count("select count(*) from ICChatBillTitle where FTypeID not in (1,3,4)"), 0);
}

// The cut-off backup rebuilds book stock from the opening balance and the effective movements,
// so the sample data must agree with itself: balance + movements = ICInventory, per position.
TEST_F(DemoCompany, BookStockIsOpeningBalancePlusEffectiveMovements)
{
    std::map<std::string, double> net;
    auto add = [&](const std::string &sql) {
        for (const auto &row : rowsAsText(*s_connection, sql)) {
            std::string key;
            for (std::size_t f = 0; f + 1 < row.size(); ++f)
                key += row[f] + "|";
            net[key] += host::Val(row.back());
        }
    };
    const std::string effective =
        "(b.FCheckerID > 0 or b.FCheckerID < 0 or b.FUpStockWhenSave = 1) and b.FCancellation = 0";
    const std::string position = "e.FItemID, e.FBatchNo, e.FMtoNo, e.FAuxPropID, ";
    add("select FItemID, FBatchNo, FMtoNo, FAuxPropID, FStockID, FStockPlaceID, FBegQty "
        "from ICInvBal where FYear = 2026 and FPeriod = 12");
    add("select FItemID, FBatchNo, FMtoNo, FAuxPropID, FStockID, FStockPlaceID, -FQty "
        "from ICInventory");
    add("select " + position +
        "e.FDCStockID, e.FDCSPID, case when b.FTranType in (1,2,5,10,40,41) then e.FQty "
        "else -e.FQty end from ICStockBillEntry e inner join ICStockBill b on "
        "b.FInterID = e.FInterID where b.FTranType <> 24 and " +
        effective);
    add("select " + position +
        "e.FSCStockID, case when b.FTranType = 24 then e.FDCSPID else e.FSCSPID end, -e.FQty "
        "from ICStockBillEntry e inner join ICStockBill b on b.FInterID = e.FInterID "
        "where b.FTranType in (24,41) and " +
        effective);
    add("select e.FItemID, e.FBatchNo, e.FToMtoNo, e.FAuxPropID, e.FStockID, e.FSPID, "
        "e.FChangeBaseQty from t_MTOChangeEntry e inner join t_MTOChange b on b.FID = e.FID "
        "where b.FCheckerID > 0 or b.FUpStockWhenSave = 1");
    add("select e.FItemID, e.FBatchNo, e.FFromMtoNo, e.FAuxPropID, e.FStockID, e.FSPID, "
        "-e.FChangeBaseQty from t_MTOChangeEntry e inner join t_MTOChange b on b.FID = e.FID "
        "where b.FCheckerID > 0 or b.FUpStockWhenSave = 1");
    ASSERT_GT(net.size(), 10U);
    for (const auto &[key, sum] : net)
        EXPECT_NEAR(sum, 0.0, 1e-6) << key;
}

TEST(SampleData, PeriodsCoverToday)
{
    const auto connection = openDemoDatabase(0);
    const double today = std::floor(host::now());
    const auto period = rowsAsText(
        *connection, "select p.FStartDate, p.FEndDate from t_PeriodDate p where "
                     "p.FYear = (select FValue from t_SystemProfile where FKey = 'CurrentYear' "
                     "and FCategory = 'IC') and p.FPeriod = (select FValue from t_SystemProfile "
                     "where FKey = 'CurrentPeriod' and FCategory = 'IC')");
    ASSERT_EQ(period.size(), 1U);
    EXPECT_LE(*host::parseDate(period[0][0]), today);
    EXPECT_GE(*host::parseDate(period[0][1]), today);
    EXPECT_EQ(host::CLng(scalar(*connection, "select count(*) from t_PeriodDate")), 24);
    EXPECT_EQ(host::CLng(scalar(*connection,
                                "select count(*) from t_PeriodDate p inner join t_SystemProfile "
                                "y on y.FCategory = 'IC' and y.FKey = 'StartYear' and "
                                "y.FValue = p.FYear inner join t_SystemProfile s on "
                                "s.FCategory = 'IC' and s.FKey = 'StartPeriod' and "
                                "s.FValue = p.FPeriod")),
              1);
}

TEST(SampleData, SameSeedGivesTheSameCompany)
{
    const auto first = openDemoDatabase(kToday);
    const auto second = openDemoDatabase(kToday);
    for (const char *sql : {"select * from t_ICItem order by FItemID", "select * from ICInventory",
                            "select * from ICStockBillEntry order by FInterID, FEntryID",
                            "select * from ICInvBal order by FYear, FPeriod, FItemID, FStockID"}) {
        EXPECT_EQ(rowsAsText(*first, sql), rowsAsText(*second, sql)) << sql;
    }
}

TEST(SampleData, ScalesTheBookStockToTheRowsAskedFor)
{
    const auto connection = openMemoryDatabase();
    sampledata::createSchema(*connection);
    sampledata::SampleOptions options;
    options.rows = 1000;
    options.today = kToday;
    const auto summary = sampledata::generateSampleData(*connection, options);
    const long rows = host::CLng(scalar(*connection, "select count(*) from ICInventory"));
    EXPECT_EQ(static_cast<std::size_t>(rows), summary.stockRows);
    EXPECT_GE(rows, 1000);
    EXPECT_LE(rows, 1020);
    EXPECT_GE(summary.stocks, 5U);
}

} // namespace

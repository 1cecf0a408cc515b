#include "backuptest.h"

#include "host/core/datetime.h"
#include "host/core/hosterror.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/recordset/recordset.h"

#include <sqlite3.h>

namespace {

struct DueDateCase
{
    const char *name;
    long unit;
    long cycle;
    long daysPer;
    const char *lastCheck;
    const char *due; // nullptr: no due date
};

// The server's clock, stopped in a year not divisible by 4: the February rule reads the year.
void commonYearClock(sqlite3_context *context, int, sqlite3_value **)
{
    sqlite3_result_text(context, "2025-06-30 12:00:00.000", -1, SQLITE_STATIC);
}

class CycleDueDate : public BackupTest, public ::testing::WithParamInterface<DueDateCase>
{
protected:
    void SetUp() override
    {
        BackupTest::SetUp();
        ASSERT_EQ(sqlite3_create_function_v2(m_conn->embedded()->handle(), "tsql_getdate", 0,
                                             SQLITE_UTF8, nullptr, commonYearClock, nullptr,
                                             nullptr, nullptr),
                  SQLITE_OK);
    }
};

class CycleCount : public BackupTest
{
protected:
    void SetUp() override
    {
        BackupTest::SetUp();
        // 102 is due; 101 was counted today on a 30-day cycle; 103 is not cycle counted.
        exec("update t_ICItemMaterial set FCheckCycUnit=11603,FCheckCycle=1,"
             "FLastCheckDate='2024-01-01' where FItemID=102");
        exec("update t_ICItemMaterial set FCheckCycUnit=11603,FCheckCycle=30,FLastCheckDate='" +
             today() + "' where FItemID=101");
        for (long stock : {1, 2, 3}) {
            addStock({kItemPiece, stock, 10, "L1", 5});
            addStock({kItemBox, stock, 10, "L1", 12});
            addStock({kItemOther, stock, 10, "L1", 1});
        }
    }

    std::string lastCheck(long item)
    {
        const auto v = scalar("select FLastCheckDate from t_ICItemMaterial where FItemID=" +
                              std::to_string(item));
        return v.isNull() ? std::string() : host::formatDate(host::CDate(v), "YYYY-MM-DD");
    }
};

std::string dateText(const host::Variant &v)
{
    return v.isNull() ? std::string() : host::formatDate(host::CDate(v), "YYYY-MM-DD");
}

} // namespace

TEST_P(CycleDueDate, DueDateOfTheCycle)
{
    const auto &c = GetParam();
    exec("update t_ICItemMaterial set FCheckCycUnit=" + std::to_string(c.unit) +
         ",FCheckCycle=" + std::to_string(c.cycle) + ",FDaysPer=" + std::to_string(c.daysPer) +
         ",FLastCheckDate=" + (c.lastCheck ? "'" + std::string(c.lastCheck) + "'" : "NULL") +
         " where FItemID=102");
    addStock({kItemPiece, 1, 10, "", 5});

    ICBackupInv backup;
    auto rs = backup.GetCheckCycItem();
    ASSERT_FALSE(rs->EOF());
    EXPECT_EQ(dateText(rs->Fields("CurCycDate").Value()), c.due ? c.due : "");
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CycleDueDate,
    ::testing::Values(
        DueDateCase{"Days", 11603, 10, 0, "2024-01-01", "2024-01-11"},
        // The Monday of the week two weeks on, before the last count's weekday (Wednesday).
        DueDateCase{"WeekMonday", 11602, 2, 1, "2024-01-03", "2024-01-15"},
        DueDateCase{"WeekSunday", 11602, 1, 7, "2024-01-03", "2024-01-14"},
        DueDateCase{"MonthDay", 11601, 2, 5, "2024-03-10", "2024-05-05"},
        // Day 31 after a 31-day month falls on the last day of the month before the target.
        DueDateCase{"Month31AfterLongMonth", 11601, 1, 31, "2024-01-15", "2024-01-31"},
        DueDateCase{"Month30RunsIntoMarch", 11601, 1, 30, "2024-01-10", "2024-03-01"},
        // Counted in February, a day past the 28th falls on that February's last day when the
        // count runs in a common year, and the 28th itself a month on.
        DueDateCase{"MonthFebruary", 11601, 1, 29, "2024-02-10", "2024-02-29"},
        DueDateCase{"MonthFebruary28", 11601, 1, 28, "2024-02-10", "2024-03-28"},
        DueDateCase{"NeverCounted", 11603, 10, 0, nullptr, nullptr}),
    [](const auto &testCase) { return std::string(testCase.param.name); });

TEST_F(CycleCount, DuePositionsAndStocks)
{
    addStock({kItemPiece, 1, 10, "L1", 2, 0, "MTO-1"}); // differs only in plan-tracking number
    addStock({kItemPiece, 0, 10, "L1", 2});             // no stock
    ICBackupInv backup;

    auto all = backup.GetCheckCycItem();
    std::vector<std::pair<long, long>> positions;
    for (; !all->EOF(); all->MoveNext())
        positions.emplace_back(host::CLng(all->Fields("fstockid").Value()),
                               host::CLng(all->Fields("fitemid").Value()));
    EXPECT_EQ(positions, (std::vector<std::pair<long, long>>{{1, 102}, {2, 102}, {3, 102}}));

    std::string sql;
    auto one = backup.GetCheckCycItem(&sql, false, "2");
    ASSERT_FALSE(one->EOF());
    EXPECT_EQ(one->RecordCount(), 1);
    EXPECT_EQ(host::CLng(one->Fields("fstockid").Value()), 2);
    EXPECT_EQ(host::CStr(one->Fields("fcycunitname").Value()), "日");
    EXPECT_NE(sql.find("a.fstockid=2"), std::string::npos);

    EXPECT_EQ(backup.GetCheckCycItem(&sql, true, ""), nullptr);
    EXPECT_NE(sql.find("into #temp1"), std::string::npos);

    auto stocks = backup.GetCheckCycStockID();
    std::vector<long> ids;
    for (; !stocks->EOF(); stocks->MoveNext())
        ids.push_back(host::CLng(stocks->Fields(0).Value()));
    EXPECT_EQ(ids, (std::vector<long>{1, 2, 3}));
}

TEST_F(CycleCount, AllStocksInOneProcess)
{
    ICBackupInv backup;
    ASSERT_TRUE(backup.GetStockBillMaxID());
    std::string itemTable;
    ASSERT_TRUE(backup.BackUpData(params("", "", "2026-04-01"), false, 0, true, true, false, false,
                                  &itemTable));
    EXPECT_EQ(rows("select FStockID,FItemID,FQty from ICInvBackup order by FStockID"),
              (std::vector<Row>{{1, 102, 5.0}, {2, 102, 5.0}, {3, 102, 5.0}}));
    EXPECT_EQ(count("ICStockCheckProcess"), 1);
    EXPECT_EQ(lastCheck(102), "2026-04-01");
    EXPECT_EQ(lastCheck(101), today());
}

// One process per stock; the item-list table collects the counted items from the first call
// to the last, which stamps them and drops it.
TEST_F(CycleCount, PerStockProcessesShareTheItemListTable)
{
    ICBackupInv backup;
    ASSERT_TRUE(backup.GetStockBillMaxID());
    std::string itemTable;
    const std::vector<long> stocks = {1, 2, 3};
    for (size_t i = 0; i < stocks.size(); ++i) {
        const bool first = i == 0;
        const bool last = i + 1 == stocks.size();
        ASSERT_TRUE(backup.BackUpData(params(std::to_string(stocks[i]), "", "2026-04-01"), false, 0,
                                      true, last, true, first, &itemTable));
        if (first) {
            EXPECT_EQ(itemTable.rfind("t_StockCheckTemp1", 0), 0u);
            EXPECT_EQ(itemTable.size(), std::string("t_StockCheckTemp1").size() + 14);
        }
        if (!last) {
            EXPECT_EQ(rows("select FItemID from " + itemTable), (std::vector<Row>(i + 1, {102})));
            EXPECT_EQ(lastCheck(102), "2024-01-01");
        }
    }
    EXPECT_THROW(exec("select FItemID from " + itemTable), host::HostError);
    EXPECT_EQ(lastCheck(102), "2026-04-01");
    EXPECT_EQ(rows("select FID,count(*) from ICStockCheckProcess a join ICInvBackup b on "
                   "a.FID=b.FInterID group by FID order by FID"),
              (std::vector<Row>{{1, 1}, {2, 1}, {3, 1}}));
}

// A stock that makes no line, first or last, neither loses the item-list table for the stocks
// after it nor the last-check stamp of the stocks before it.
TEST_F(CycleCount, PerStockCountGoesOnPastAStockWithoutLines)
{
    for (const std::vector<long> &stocks : {std::vector<long>{9, 1, 3}, {1, 3, 9}}) {
        exec("delete from ICInvBackup");
        exec("delete from ICStockCheckProcess");
        exec("update t_ICItemMaterial set FLastCheckDate='2024-01-01' where FItemID=102");
        ICBackupInv backup;
        ASSERT_TRUE(backup.GetStockBillMaxID());
        std::string itemTable;
        for (size_t i = 0; i < stocks.size(); ++i) {
            EXPECT_TRUE(backup.BackUpData(params(std::to_string(stocks[i]), "", "2026-04-01"),
                                          false, 0, true, i + 1 == stocks.size(), true, i == 0,
                                          &itemTable))
                << stocks[i];
        }
        EXPECT_TRUE(messages().empty()) << messages().front();
        EXPECT_EQ(rows("select FStockID from ICInvBackup order by FStockID"),
                  (std::vector<Row>{{1}, {3}}));
        EXPECT_EQ(lastCheck(102), "2026-04-01");
        EXPECT_THROW(exec("select FItemID from " + itemTable), host::HostError);
    }
}

#include "backuptest.h"

#include <optional>

namespace {

struct ExistingProcess
{
    long id;
    std::string suffix; // the number is the day's yyyymmdd (or "OLD") followed by it
    bool today;
};

struct NumberingCase
{
    const char *name;
    std::vector<ExistingProcess> processes;
    std::optional<long> counter; // nothing: no numbering row
    long expectedId;
    std::string expectedSuffix;
};

class BackupNumbering : public BackupTest, public ::testing::WithParamInterface<NumberingCase>
{};

} // namespace

TEST_P(BackupNumbering, NextProcessGetsAFreeNumberAndTheNextId)
{
    const auto &c = GetParam();
    exec("delete from icbillno");
    if (c.counter)
        exec("insert into icbillno (FBillID,FCurNo) values (-1," + std::to_string(*c.counter) +
             ")");
    for (const auto &p : c.processes)
        addProcess(p.id, (p.today ? todayCompact() : std::string("20250101")) + p.suffix,
                   p.today ? today() : std::string("2025-01-01"));
    addStock({kItemPiece, 1, 10, "", 3});

    ICBackupInv backup;
    ASSERT_TRUE(backUp(backup, params("1")));
    const auto created = rows("select FID,FProcessID from ICStockCheckProcess order by FID desc");
    ASSERT_FALSE(created.empty());
    EXPECT_EQ(host::CLng(created[0][0]), c.expectedId);
    EXPECT_EQ(host::CStr(created[0][1]), todayCompact() + c.expectedSuffix);
    EXPECT_EQ(count("ICInvBackup", "FInterID=" + std::to_string(c.expectedId)), 1);
    EXPECT_EQ(
        count("ICStockCheckProcess", "FProcessID='" + todayCompact() + c.expectedSuffix + "'"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BackupNumbering,
    ::testing::Values(
        // No process yet: the stored counter is used, no daily reset.
        NumberingCase{"FirstProcessEver", {}, 1, 1, "0001"},
        NumberingCase{"FirstProcessEverKeepsStoredCounter", {}, 3, 1, "0003"},
        // The latest process is of another day: the counter starts again.
        NumberingCase{"FirstOfTheDay", {{7, "0007", false}}, 8, 8, "0001"},
        // A backup leaves the counter at its id + 1, so the day goes on from there.
        NumberingCase{"NextOfTheDay", {{1, "0001", true}}, 2, 2, "0002"},
        NumberingCase{"TakenNumberIsSkipped", {{5, "0001", true}, {6, "0002", true}}, 1, 7, "0003"},
        NumberingCase{"CounterPastFourDigits", {{12, "9999", true}}, 10000, 13, "10000"},
        // Without the numbering row the id still follows the highest one and the number is
        // one of the day's free ones.
        NumberingCase{
            "NoNumberingRow", {{1, "0001", true}, {2, "0002", true}}, std::nullopt, 3, "0003"},
        NumberingCase{"NoNumberingRowNoProcess", {}, std::nullopt, 1, "0001"}),
    [](const auto &testCase) { return std::string(testCase.param.name); });

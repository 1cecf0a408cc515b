#include "importfixture.h"

#include "host/core/hosterror.h"
#include "host/importer/sheetrecords.h"
#include "import/basedatadicts.h"
#include "import/importrowcheck.h"
#include "import/importsheet.h"
#include "services/modulestate.h"

#include <optional>

namespace {

struct RowCase
{
    const char *name;
    long item;
    SheetLine changes;
    std::optional<std::string> message; // nothing: the row passes
    long mtoPlanMode = 0;
};

void PrintTo(const RowCase &c, std::ostream *os)
{
    *os << c.name;
}

class RowCheckTest : public ImportDatabaseTest, public ::testing::WithParamInterface<RowCase>
{};

// The third data line is checked, so every message names record 3.
TEST_P(RowCheckTest, FirstFailingTestGivesTheMessage)
{
    const RowCase &c = GetParam();
    module().gMtoPlanMode = c.mtoPlanMode;
    SheetLine l = line(c.item);
    for (const auto &[column, value] : c.changes)
        l[column] = value;
    const auto rs = sheet({l});
    const auto columns = ImportSheet::columnMap(c.mtoPlanMode == 1);
    const BaseDataDicts dicts = BaseDataDicts::load();

    EXPECT_EQ(checkImportRow(SheetRow(*rs, *columns), dicts, 3, c.mtoPlanMode == 1), c.message);
}

const host::Variant null = host::Variant::null();

INSTANTIATE_TEST_SUITE_P(
    Rows, RowCheckTest,
    ::testing::Values(
        RowCase{"PlainItemPasses", 9001, {}, std::nullopt},
        RowCase{"BlanksAroundNumbersAndNamesDoNotMatter",
                9001,
                {{"ItemNumber", " ST001 "}, {"ItemName", "螺栓  "}, {"StockName", " 测试仓"}},
                std::nullopt},
        RowCase{"ItemNameDiffers",
                9001,
                {{"ItemName", " 螺母 "}},
                "第3条记录的物料为： 螺母  在基础资料中不存在!"},
        RowCase{"FullNumberWhileShortNumbersAreUsed",
                9001,
                {{"ItemNumber", "T.001"}},
                "第3条记录的物料为：螺栓 在基础资料中不存在!"},
        RowCase{"BaseUnitMissing",
                9001,
                {{"FUnitName", "只"}},
                "第3条记录的基本单位为：只在基础资料中不存在!"},
        RowCase{"CountingUnitBeforeBatch",
                9002,
                {{"FCCUnitName", "件"}, {"BatchNo", null}},
                "第3条记录的单位为：件在基础资料中不存在!"},
        RowCase{"StockMissing",
                9001,
                {{"StockNumber", "ST9"}},
                "第3条记录的仓库为：测试仓在基础资料中不存在!"},
        RowCase{"PlaceMissing", 9001, {{"SPName", null}}, "第3条记录的仓位为：在基础资料中不存在!"},
        RowCase{"BatchItemWithoutBatch",
                9002,
                {{"BatchNo", "   "}},
                "第3条记录进行批次管理物料批次为空!"},
        RowCase{"BatchOnPlainItem",
                9001,
                {{"BatchNo", "B1"}},
                "第3条记录不进行批次管理物料批次不为空!"},
        RowCase{"AuxItemWithoutProperty",
                9003,
                {{"AuxPropName", null}},
                "第3条记录进行辅助属性管理物料辅助属性为空!"},
        RowCase{"PropertyOnPlainItem",
                9001,
                {{"AuxPropName", "红色"}},
                "第3条记录不进行辅助属性管理物料辅助属性不为空!"},
        RowCase{"PropertyOfAnotherClass",
                9003,
                {{"AuxPropNumber", "01"}, {"AuxPropName", "一等品"}},
                "第3条记录的辅助属性类别与物料辅助属性类别不一致!"},
        RowCase{"ShelfLifeWithoutDate",
                9004,
                {{"KFDate", null}},
                "第3条记录进行了保质期管理但生产/采购日期为空!"},
        RowCase{"DateOnPlainItem",
                9001,
                {{"KFDate", "2026-01-01"}},
                "第3条记录不进行保质期管理但生产/采购日期不为空!"},
        RowCase{"ShelfLifeWithoutPeriod",
                9004,
                {{"KFPeriod", null}},
                "第3条记录进行了保质期管理但保质期为空或不正确!"},
        RowCase{"ShelfLifeWithPeriodTextZero", 9004, {{"KFPeriod", "0"}}, std::nullopt},
        RowCase{"PeriodOnPlainItem",
                9001,
                {{"KFPeriod", 30.0}},
                "第3条记录不进行保质期管理但保质期不为空!"},
        RowCase{"ZeroPeriodOnPlainItem", 9001, {{"KFPeriod", 0.0}}, std::nullopt},
        RowCase{"PlanTrackingNumberOnSerialItem",
                9005,
                {{"MtoNo", "MTO-1"}},
                "第3条记录启用了序列号管理但计划跟踪号不为空！",
                1},
        RowCase{"SerialItemWithModeOff", 9005, {{"MtoNo", "MTO-1"}}, std::nullopt, 0},
        // Odd cells come first: no other test could read them for what they stand for.
        RowCase{"FormulaWithoutItsResult",
                9001,
                {{"ItemName", "没有的物料"}, {"CheckQty", host::uncomputedFormula()}},
                "第3条记录的CheckQty是没有计算结果的公式，请先用电子表格程序打开并保存工作簿!"},
        RowCase{"TrueAsCountedQuantity",
                9001,
                {{"CheckQty", true}},
                "第3条记录的CheckQty是逻辑值，不是数字或日期!"},
        RowCase{"FalseAsPeriodOfAShelfLifeItem",
                9004,
                {{"KFPeriod", false}},
                "第3条记录的KFPeriod是逻辑值，不是数字或日期!"},
        RowCase{"FormulaWithoutItsResultInAColumnNotRead",
                9001,
                {{"FQty", host::uncomputedFormula()}},
                std::nullopt}),
    [](const ::testing::TestParamInfo<RowCase> &param) { return std::string(param.param.name); });

TEST_F(ImportDatabaseTest, APeriodThatIsNoNumberIsAnErrorNotARefusal)
{
    SheetLine l = line(kPlainItem);
    l["KFPeriod"] = "abc";
    const auto rs = sheet({l});
    const auto columns = ImportSheet::columnMap(false);
    const BaseDataDicts dicts = BaseDataDicts::load();
    EXPECT_THROW(checkImportRow(SheetRow(*rs, *columns), dicts, 1, false), host::HostError);
}

} // namespace

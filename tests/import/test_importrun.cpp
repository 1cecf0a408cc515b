#include "importfixture.h"

#include "host/displayer/displaywindow.h"
#include "import/importcheckdata.h"
#include "import/importfromexcel.h"
#include "import/importstate.h"
#include "services/modulestate.h"

namespace {

class ImportRunTest : public ImportDatabaseTest
{
protected:
    // Runs the import on the sheet and keeps what the error list showed.
    bool run(const std::vector<SheetLine> &lines)
    {
        modals.whileShown([this](host::ui::Form &form) {
            if (auto *list = dynamic_cast<host::DisplayWindow *>(&form)) {
                errorCaption = list->Caption();
                errorLines = list->columnTexts(0);
            }
        });
        auto rs = sheet(lines);
        return PubVariant::ImportCheckData(rs);
    }

    QString errorCaption;
    QStringList errorLines;
};

TEST_F(ImportRunTest, AcceptedRowsUpdateTheirLineOrBecomeNewLines)
{
    SheetLine existing = line(kPlainItem);
    existing["CheckQty"] = 12.0;
    existing["AdjQty"] = 1.0;
    existing["FNote"] = " it's counted ";
    SheetLine added = line(kBatchItem);
    added["CheckQty"] = 4.0;

    EXPECT_TRUE(run({existing, added}));

    EXPECT_EQ(modals.messageTexts(), QStringList{"数据引入完毕!"});
    EXPECT_EQ(countLines(kPlainItem), 1);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FQty")), 10);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FCheckQty")), 12);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FMinus")), 1);
    EXPECT_EQ(host::CStr(lineValue(kPlainItem, "FNote")), "it's counted");
    EXPECT_EQ(host::CLng(lineValue(kPlainItem, "FChecker")), kOperator);
    EXPECT_EQ(countLines(kBatchItem), 1);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kBatchItem, "FQty")), 0);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kBatchItem, "FAuxCheckQty")), 4);
    EXPECT_EQ(host::CStr(lineValue(kBatchItem, "FBatchNo")), "B01");
    EXPECT_EQ(host::CLng(lineValue(kBatchItem, "FStockPlaceID")), kPlace);
    EXPECT_EQ(host::CLng(lineValue(kBatchItem, "FMaxBillInterID")), kMaxBill);
    EXPECT_EQ(stagingTables(), 0);
}

TEST_F(ImportRunTest, RefusedRowsAreListedAndTheOthersStillImported)
{
    SheetLine unknownItem = line(kPlainItem);
    unknownItem["ItemName"] = "没有的物料";
    SheetLine noBatch = line(kBatchItem);
    noBatch["BatchNo"] = host::Variant::null();
    const SheetLine good = line(kAuxItem);

    // A line left blank is no record, and the records after it keep their lines' numbers.
    run({unknownItem, {}, noBatch, good});

    EXPECT_EQ(errorCaption, "引入错误提示");
    EXPECT_EQ(errorLines, (QStringList{"第1条记录的物料为：没有的物料 在基础资料中不存在!",
                                       "第3条记录进行批次管理物料批次为空!"}));
    EXPECT_TRUE(modals.messageTexts().isEmpty()) << "no completion message after refusals";
    EXPECT_EQ(countLines(kAuxItem), 1);
    EXPECT_EQ(host::CLng(lineValue(kAuxItem, "FAuxPropID")), 114);
    EXPECT_EQ(countLines(kBatchItem), 0);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FCheckQty")), 0);
}

TEST_F(ImportRunTest, ASheetOfRefusedRowsChangesNothingAndLeavesNoTable)
{
    SheetLine refused = line(kPlainItem);
    refused["StockName"] = "别的仓";

    run({refused, refused});

    EXPECT_EQ(errorLines.size(), 2);
    EXPECT_EQ(errorLines.front(), "第1条记录的仓库为：别的仓在基础资料中不存在!");
    EXPECT_EQ(host::CLng(scalar("select count(*) from ICInvBackup where FInterID=900")), 2);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FCheckQty")), 0);
    EXPECT_EQ(stagingTables(), 0);
}

// The line of item 9006 holds 10 pieces and 5 in the second unit; one box is 12 pieces.
TEST_F(ImportRunTest, RowsWhoseDifferencesPointDifferentWaysAreRefusedAfterStaging)
{
    SheetLine loss = line(kTwoUnitItem);
    loss["FSecCheckQty"] = 4.0; // base +2, second unit -1
    run({line(kPlainItem), loss});

    EXPECT_EQ(errorLines, QStringList{"第2条记录基本单位与辅助计量单位盘盈盘亏方向不一致!"});
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kTwoUnitItem, "FCheckQty")), 0);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FCheckQty")), 1);

    SheetLine gain = line(kTwoUnitItem);
    gain["FSecCheckQty"] = 6.0;
    gain["AdjQty"] = 0.5;
    errorLines.clear();
    run({gain});
    EXPECT_TRUE(errorLines.isEmpty());
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kTwoUnitItem, "FCheckQty")), 12);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kTwoUnitItem, "FAuxCheckQty")), 1);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kTwoUnitItem, "FSecQtyAct")), 6);
    EXPECT_EQ(host::CLng(lineValue(kTwoUnitItem, "FSecUnitID")), 105);
    // Rate 12/6 = 2 pieces per kilogram: half a box (6 pieces) is 3 kilograms.
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kTwoUnitItem, "FSecAdjQty")), 3);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kTwoUnitItem, "FMinus")), 12 - 10 - 0.5 * 12);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kTwoUnitItem, "FSecMinus")), 6 - 5 - 3);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kTwoUnitItem, "FSecQty")), 5);
}

TEST_F(ImportRunTest, ManyRowsAreAllStagedAcrossBatches)
{
    std::vector<SheetLine> lines;
    for (int n = 1; n <= 250; ++n) {
        SheetLine l = line(kBatchItem);
        l["BatchNo"] = "B" + std::to_string(n);
        l["CheckQty"] = static_cast<double>(n);
        lines.push_back(l);
    }
    run(lines);

    EXPECT_EQ(countLines(kBatchItem), 250);
    EXPECT_DOUBLE_EQ(host::CDbl(scalar("select sum(FAuxCheckQty) from ICInvBackup where "
                                       "FItemID=9002")),
                     250 * 251 / 2);
    EXPECT_EQ(stagingTables(), 0);
}

TEST_F(ImportRunTest, AnUnreadableCellStopsTheRunNamingItsSheetLine)
{
    SheetLine badDate = line(kShelfLifeItem);
    badDate["KFDate"] = "不是日期";
    run({line(kPlainItem), line(kPlainItem), badDate, line(kBatchItem)});

    EXPECT_EQ(modals.messageTexts(), QStringList{"第4条记录存在非法数据,盘点引入失败"});
    EXPECT_TRUE(errorLines.isEmpty());
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FCheckQty")), 0);
    EXPECT_EQ(countLines(kBatchItem), 0);
    EXPECT_EQ(stagingTables(), 0);
}

TEST_F(ImportRunTest, TestModeTakesTheUsersLastOpenProcessAndWritesItsTime)
{
    // A closed process of the user and an open one of another user are passed over.
    db->Execute("insert into ICStockCheckProcess (FID,FProcessID,FOperatorID,FStatus,"
                "FMaxBillInterID) values (901,'PD901',16,1,5)");
    db->Execute("insert into ICStockCheckProcess (FID,FProcessID,FOperatorID,FStatus,"
                "FMaxBillInterID) values (902,'PD902',18,0,5)");
    module().gIsTest = true;
    module().gCurInterID = 0;
    importState().gImportStartTime = host::now();
    const auto timeFile = std::filesystem::path(
        std::filesystem::read_symlink("/proc/self/exe").parent_path() / "TestTime.txt");
    const auto before =
        std::filesystem::exists(timeFile) ? std::filesystem::file_size(timeFile) : 0;
    module().gUseShortNumber = true; // the sheet carries full numbers, as test mode reads them
    SheetLine counted = line(kPlainItem);
    module().gUseShortNumber = false;
    counted["CheckQty"] = 3.0;

    run({counted});

    EXPECT_EQ(module().gCurInterID, kProcess);
    EXPECT_TRUE(module().gUseShortNumber);
    EXPECT_TRUE(modals.messageTexts().isEmpty());
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FCheckQty")), 3);
    ASSERT_TRUE(std::filesystem::exists(timeFile));
    EXPECT_EQ(std::filesystem::file_size(timeFile), before + std::string("00:00:00\r\n").size());
}

TEST_F(ImportRunTest, TestModeWithoutAnOpenProcessFailsAtTheFirstLine)
{
    db->Execute("update ICStockCheckProcess set FStatus=1");
    module().gIsTest = true;
    run({line(kPlainItem)});
    EXPECT_EQ(modals.messageTexts(), QStringList{"第2条记录存在非法数据,盘点引入失败"});
}

} // namespace

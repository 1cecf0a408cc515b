#include "importfixture.h"

#include "host/core/datetime.h"
#include "import/basedatadicts.h"
#include "import/importsheet.h"
#include "import/staginglifetime.h"
#include "import/stagingrow.h"
#include "import/stagingtable.h"
#include "import/stagingwriter.h"
#include "import/tempinsertsql.h"
#include "services/modulestate.h"

namespace {

TEST(StagingTableTest, NameHoldsTheUserAndTheStartSecond)
{
    EXPECT_EQ(StagingTable::name(16, host::makeDate({2026, 12, 6, 13, 56, 1})),
              "IcInvBackUpTemp_16_261206135601");
    EXPECT_EQ(StagingTable::name(7, host::makeDate({2027, 3, 2, 9, 5, 4})),
              "IcInvBackUpTemp_7_270302090504");
}

TEST(StagingTableTest, CreateTextHasOneLinePerColumn)
{
    const std::string sql = StagingTable::createSql("T");
    EXPECT_TRUE(sql.starts_with("  Create Table T\r\n(FInterID int not null,\r\nFBrNo "));
    EXPECT_TRUE(sql.ends_with("FRowNum INT not null DEFAULT(0),\r\nFChecker int\r\n)\r\n"));
    EXPECT_EQ(std::count(sql.begin(), sql.end(), '\n'), 34);
}

class TempInsertTest : public ServicesTest
{
protected:
    void SetUp() override
    {
        ServicesTest::SetUp();
        module().gCurInterID = 900;
        module().gOperatorID = 17;
        run.tableName = "IcInvBackUpTemp_16_261206135601";
        run.backupTime = "2026-12-06 13:56:02";
        run.maxBillInterID = 77;
        row.itemId = 9001L;
        row.auxPropId = 0L;
        row.unitId = 102L;
        row.batchNo = " B01 ";
        row.stockId = 9501L;
        row.adjQty = 0.5;
        row.checkQty = 3;
        row.coefficientByUnit = 12;
        row.note = "it's";
        row.placeId = 9601L;
        row.kfDate = "2024/3/5";
        row.kfPeriod = 180;
        row.secUnitId = 105L;
        row.secQtyAct = 9;
        row.secCheckQty = 9;
        row.secAdjQty = 1.5;
        row.rowNum = 4;
    }

    StagingRun run;
    StagingRow row;
};

// The statement text is what the server receives, so it is compared whole.
TEST_F(TempInsertTest, WritesTheStatementOfOneStagedRow)
{
    EXPECT_EQ(PubVariant::GetTempInsertSQL(run, row),
              "Insert Into IcInvBackUpTemp_16_261206135601\r\n"
              "  (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,\r\n"
              "FBatchNo,FMtoNo,FStockID,FQty,FSelect,FAdj,FAdjQty,\r\n"
              "  FDateBackup,FMaxBillInterID,FCheckQty,FQtyAct,\r\n"
              " FAuxCheckQty,FAuxQtyAct,FAuxQty,FMinus,FNote,\r\n"
              " FStockPlaceID,FKFDate,FKFPeriod,FSecUnitID,FSecQty,FChecker,FSecQtyAct,"
              "FSecCheckQty,FSecAdjQty,FRowNum)\r\n"
              "  Values('900','0',9001,0,102,'B01'\r\n"
              ",''\r\n"
              "  ,9501,0,0,0,0.5,'2026-12-06 13:56:02',77\r\n"
              "  ,36,36,3,3,0,0,'it''s'\r\n"
              "  ,9601,'2024-03-05',180,105,0,17,9,9,1.5,\r\n"
              "4)\r\n");
}

TEST_F(TempInsertTest, AnEmptyDateStaysEmptyAndATextThatIsNoDateIsKept)
{
    row.kfDate = "";
    EXPECT_NE(PubVariant::GetTempInsertSQL(run, row).find("  ,9601,'',180,"), std::string::npos);
    row.kfDate = "next week";
    EXPECT_NE(PubVariant::GetTempInsertSQL(run, row).find("  ,9601,'next week',180,"),
              std::string::npos);
}

class StagingRowTest : public ImportDatabaseTest
{
protected:
    StagingRow fill(const SheetLine &l)
    {
        const auto rs = sheet({l});
        const bool mtoPlanMode = module().gMtoPlanMode == 1;
        const auto columns = ImportSheet::columnMap(mtoPlanMode);
        const auto units = db->Execute("select fcoefficient,FMeasureUnitID from t_measureunit");
        const BaseDataDicts dicts = BaseDataDicts::load();
        StagingRow row;
        fillStagingRow(row, SheetRow(*rs, *columns), dicts, UnitCoefficients(*units), mtoPlanMode,
                       5);
        return row;
    }
};

TEST_F(StagingRowTest, TakesIdsFromTheBaseDataAndTheRunsValues)
{
    SheetLine l = line(kAuxItem);
    l["BatchNo"] = host::Variant::null();
    l["FNote"] = "  盘点  ";
    const StagingRow row = fill(l);
    EXPECT_EQ(host::CLng(row.itemId), kAuxItem);
    EXPECT_EQ(host::CLng(row.stockId), kStock);
    EXPECT_EQ(host::CLng(row.placeId), kPlace);
    EXPECT_EQ(host::CLng(row.unitId), 100);
    EXPECT_EQ(host::CLng(row.auxPropId), 114);
    EXPECT_EQ(host::CLng(row.secUnitId), 0);
    EXPECT_EQ(row.batchNo, "");
    EXPECT_EQ(row.note, "盘点");
    EXPECT_EQ(host::CStr(row.kfDate), "");
    EXPECT_EQ(row.rowNum, 5);
}

struct RateCase
{
    const char *name;
    long mtoPlanMode;
    host::Variant checkQty;
    host::Variant secCheckQty;
    host::Variant adjQty;
    double rate;
    double secAdjQty;
};

void PrintTo(const RateCase &c, std::ostream *os)
{
    *os << c.name;
}

class SecondUnitRateTest : public StagingRowTest, public ::testing::WithParamInterface<RateCase>
{};

// Item 9006 is counted in boxes of 12 pieces.
TEST_P(SecondUnitRateTest, RateAndAdjustmentInTheSecondUnit)
{
    const RateCase &c = GetParam();
    module().gMtoPlanMode = c.mtoPlanMode;
    SheetLine l = line(kTwoUnitItem);
    l["CheckQty"] = c.checkQty;
    l["FSecCheckQty"] = c.secCheckQty;
    l["AdjQty"] = c.adjQty;
    const StagingRow row = fill(l);
    EXPECT_DOUBLE_EQ(row.rate, c.rate);
    EXPECT_DOUBLE_EQ(row.secAdjQty, c.secAdjQty);
    EXPECT_DOUBLE_EQ(row.secQtyAct, row.secCheckQty);
    EXPECT_DOUBLE_EQ(row.coefficientByUnit, 12);
    EXPECT_EQ(host::CLng(row.secUnitId), 105);
}

INSTANTIATE_TEST_SUITE_P(
    Rates, SecondUnitRateTest,
    ::testing::Values(RateCase{"ThreeBoxesNineKilograms", 0, 3.0, 9.0, 1.0, 4, 3},
                      RateCase{"NoSecondUnitCounted", 0, 3.0, 0.0, 1.0, 0, 0},
                      RateCase{"NoSecondUnitCountedWithMode", 1, 3.0, 0.0, 1.0, 0, 0},
                      RateCase{"NegativeSecondUnit", 0, 2.0, -6.0, 1.0, -4, -3},
                      RateCase{"NegativeSecondUnitWithMode", 1, 2.0, -6.0, 1.0, 0, 0},
                      RateCase{"EmptyCells", 0, host::Variant::null(), host::Variant::null(),
                               host::Variant::null(), 0, 0}),
    [](const ::testing::TestParamInfo<RateCase> &param) { return std::string(param.param.name); });

TEST_F(StagingRowTest, ThePlanTrackingNumberIsStagedOnlyWithTheMode)
{
    module().gMtoPlanMode = 1;
    SheetLine l = line(kBatchItem);
    l["MtoNo"] = " M1 ";
    EXPECT_EQ(fill(l).mtoNo, "M1");
    module().gMtoPlanMode = 0;
    EXPECT_EQ(fill(line(kBatchItem)).mtoNo, "");
}

TEST_F(StagingRowTest, AProductionDateIsStagedAsADate)
{
    SheetLine l = line(kShelfLifeItem);
    l["KFDate"] = "2024/3/5";
    const host::Variant date = fill(l).kfDate;
    ASSERT_EQ(date.type(), host::VariantType::Date);
    EXPECT_EQ(host::formatDate(date.dateValue(), "YYYY-MM-DD"), "2024-03-05");
}

using BaseDataDictTest = ImportDatabaseTest;

TEST_F(BaseDataDictTest, KeysAreNumberAndNameInTheNumberFormInUse)
{
    host::Dictionary items;
    PubVariant::LoadBaseDataDict(items, "t_icitem");
    EXPECT_EQ(host::CLng(items.Value("ST001|螺栓")), kPlainItem);
    EXPECT_FALSE(items.Exists("T.001|螺栓"));

    module().gUseShortNumber = true;
    host::Dictionary fullNumbers;
    PubVariant::LoadBaseDataDict(fullNumbers, "t_icitem");
    EXPECT_EQ(host::CLng(fullNumbers.Value("T.001|螺栓")), kPlainItem);
}

TEST_F(BaseDataDictTest, BlanksInTheDatabaseDoNotMatterAndTheHigherIdWins)
{
    db->Execute("update t_ICItemBase set FName='  螺栓 ' where FItemID=9001");
    db->Execute("insert into t_StockPlace (FSPID,FSPGroupID,FNumber,FShortNumber,FName) values "
                "(9602,96,'P1','SP1','一号位')");
    const BaseDataDicts dicts = BaseDataDicts::load();
    EXPECT_EQ(host::CLng(dicts.item.Value("ST001|螺栓")), kPlainItem);
    EXPECT_EQ(host::CLng(dicts.stockPlace.Value("SP1|一号位")), 9602);
    EXPECT_EQ(host::CLng(dicts.stockPlaceAndStock.Value("SP1|一号位|ST1|测试仓")), kPlace);
    EXPECT_TRUE(dicts.itemBatch.Exists("ST002|批次件"));
    EXPECT_FALSE(dicts.itemBatch.Exists("ST001|螺栓"));
    EXPECT_EQ(host::CLng(dicts.itemSerial.Value("ST005|序列件")), 7);
    EXPECT_EQ(host::CLng(dicts.itemAuxProp.Value("ST003|辅助件")), 3001);
    EXPECT_EQ(host::CLng(dicts.auxItemClass->Value("01|红色|3001")), 3001);
}

TEST_F(BaseDataDictTest, AnEmptyTableLeavesTheDictionaryEmpty)
{
    db->Execute("delete from t_AuxItem");
    host::Dictionary aux;
    PubVariant::LoadBaseDataDict(aux, "t_auxitem");
    EXPECT_EQ(aux.Count(), 0);
    EXPECT_EQ(PubVariant::LoadAuxItemDict()->Count(), 0);
}

using StagingWriterTest = ImportDatabaseTest;

// A server is sent the statements' text; the embedded database binds the values to one prepared
// insert. Both must leave the same rows, down to the digits a number is written with.
TEST_F(StagingWriterTest, BoundRowsStoreWhatTheStatementTextStores)
{
    const double start = host::now();
    const StagingTable::Claim textTable = StagingTable::create(16, start);
    const StagingTable::Claim boundTable = StagingTable::create(16, start);
    const StagingRun textRun{textTable.name, "2026-12-06 13:56:02", 77, false};
    const StagingRun boundRun{boundTable.name, "2026-12-06 13:56:02", 77, false};
    StagingRow plain;
    plain.itemId = 9001L;
    plain.auxPropId = 0L;
    plain.unitId = 102L;
    plain.stockId = 9501L;
    plain.placeId = 9601L;
    plain.secUnitId = 0L;
    plain.kfDate = std::string();
    plain.coefficientByUnit = 12;
    std::vector<StagingRow> rows(6, plain);
    rows[0].checkQty = 3;
    rows[0].note = "it's counted";
    rows[0].batchNo = " B01 ";
    rows[1].checkQty = 1.0 / 3;
    rows[1].coefficientByUnit = 0.1;
    rows[1].adjQty = -2.5;
    rows[1].secCheckQty = 2.0 / 3;
    rows[1].secQtyAct = 2.0 / 3;
    rows[1].secAdjQty = 0.12345678904999999;
    rows[2].kfDate = host::Variant::fromDate(host::makeDate({2024, 3, 5, 0, 0, 0}));
    rows[2].kfPeriod = 180.5;
    rows[2].itemId = 9004.0;
    rows[3].kfDate = "next week";
    rows[3].checkQty = 123456789012.345678;
    rows[3].mtoNo = " M1 ";
    rows[4].kfDate = "2024/3/5";
    rows[4].kfPeriod = 180.9999999999999;
    rows[5].checkQty = -0.30000000000000004;
    rows[5].secUnitId = 105L;
    {
        StagingWriter text(textRun, StagingWriter::Mode::Text);
        StagingWriter bound(boundRun, StagingWriter::Mode::Bound);
        for (size_t n = 0; n < rows.size(); ++n) {
            rows[n].rowNum = static_cast<long>(n + 1);
            text.add(rows[n]);
            bound.add(rows[n]);
        }
        text.send();
        bound.send();
    }

    const auto written = db->Execute("select * from " + textRun.tableName + " order by FRowNum");
    const auto stored = db->Execute("select * from " + boundRun.tableName + " order by FRowNum");
    ASSERT_EQ(written->RecordCount(), static_cast<long>(rows.size()));
    ASSERT_EQ(stored->RecordCount(), written->RecordCount());
    for (; !written->EOF(); written->MoveNext(), stored->MoveNext()) {
        for (long f = 0; f < written->FieldCount(); ++f)
            EXPECT_EQ(stored->Fields(f).Value(), written->Fields(f).Value())
                << written->Fields(f).Name() << " of row "
                << host::CStr(written->Fields("FRowNum").Value()) << ": "
                << host::CStr(written->Fields(f).Value());
    }
    StagingTable::drop(textRun.tableName);
    StagingTable::drop(boundRun.tableName);
}

} // namespace

#include "countsheetdb.h"

#include "countsheet/countsheetstate.h"
#include "countsheet/maindo.h"
#include "host/ui/ledger/ledgergrid.h"

namespace {

using host::Variant;

// Ledger rows over a sheet made in memory: two lines, the first with 3 decimals.
class LedgerRows : public CountSheetDbTest
{
protected:
    void SetUp() override
    {
        CountSheetDbTest::SetUp();
        CountSheetState &sheet = countSheetState();
        sheet.gShowType = 1;
        sheet.gColumns = {{"FName", "物料名称$", 1, 100, true},
                          {"FKFDate", "生产/采购日期$", 0, 100, true},
                          {"FKFPeriod", "保质期(天)$", 3, 60, true},
                          {"FQty", "基本单位账存数量$", 2, 90, true},
                          {"FCheckQty", "基本单位盘点数量$", 2, 90, true},
                          {"FOverQty", "基本单位盘盈数量$", 2, 90, true},
                          {"FNoSuchField", "无$", 1, 90, true}};
        m_main = std::make_unique<MainDo>();
        m_main->p_RSMain = std::make_shared<host::Recordset>(
            std::vector<std::string>{"FName", "FKFDate", "FKFPeriod", "FQty", "FCheckQty",
                                     "FOverQty", "FQtyDecimal"},
            std::vector<std::vector<Variant>>{
                {"螺栓", "2024-05-01", 180L, 1234.5, 1240.0, 5.5, 3L},
                {"螺母", "", 0L, 1234.5, 1234.5, Variant::null(), 0L},
            });
        m_ledger = std::make_unique<host::ui::LedgerGrid>();
        m_ledger->Face().setRows(2 + 2 + 1); // title rows, lines, totals
        m_main->Ldg(m_ledger.get());
    }

    std::unique_ptr<host::ui::LedgerGrid> m_ledger;
    std::unique_ptr<MainDo> m_main;
};

TEST_F(LedgerRows, HeaderJoinsTheCaptionsAsStored)
{
    countSheetState().gColumns.resize(3);
    EXPECT_EQ(m_main->TRowData(0), "物料名称$|生产/采购日期$|保质期(天)$|");
    countSheetState().gColumns.clear();
    EXPECT_EQ(m_main->TRowData(0), "");
}

TEST_F(LedgerRows, DataRowsFormatByTypeAndItemDecimals)
{
    EXPECT_EQ(m_main->DRowData(3), "螺栓|2024/05/01|180|1,234.500|1,240.000|5.500||");
    // No decimals, no date, no period, no gain: empty cells, never zeros.
    EXPECT_EQ(m_main->DRowData(4), "螺母|||1,235|1,235|||");
}

TEST_F(LedgerRows, WithoutASheetEveryCellIsEmpty)
{
    m_main->p_RSMain.reset();
    EXPECT_EQ(m_main->DRowData(3), "|||||||");
    EXPECT_EQ(m_main->DRowData(5), "合计|||0.0000||0.0000||");
}

TEST_F(LedgerRows, SortDecidesWhichRecordARowShows)
{
    m_main->p_RSMain->Sort("FName DESC");
    EXPECT_EQ(m_main->DRowData(3).substr(0, 7), "螺母|");
}

TEST_F(LedgerRows, PrintBookLeavesTheCountedQuantityBlank)
{
    countSheetState().gShowType = 3;
    m_ledger->Face().setRows(4);
    EXPECT_EQ(m_main->DRowData(3), "螺栓|2024/05/01|180|1,234.500||5.500||");
    EXPECT_EQ(m_main->DRowData(4), "螺母|||1,235||||");
}

TEST_F(LedgerRows, TotalsRowInCheckMode)
{
    countSheetState().gSumQty = 2469.5;
    countSheetState().gSumOverQty = 5.5;
    long backColor = 0;
    m_main->p_RSMain->Sort("FName ASC");
    EXPECT_EQ(m_main->DRowData(5, &backColor), "合计|||2,469.500||5.500||");
    EXPECT_EQ(backColor, 15265535);
    EXPECT_EQ(m_main->p_RSMain->Sort(), "FName ASC");

    // A data row leaves the caller's colour alone.
    backColor = 7;
    m_main->DRowData(3, &backColor);
    EXPECT_EQ(backColor, 7);
}

TEST_F(LedgerRows, TotalsWithoutRecordsShowFourDecimals)
{
    m_main->p_RSMain->Filter("FName = 'none'");
    EXPECT_EQ(m_main->DRowData(5), "合计|||0.0000||0.0000||");
}

} // namespace

#include "countsheetdb.h"

#include "countsheet/countline.h"
#include "countsheet/countsheetstate.h"
#include "countsheet/maindo.h"
#include "host/core/dictionary.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/spread/spreadgrid.h"
#include "services/modulestate.h"
#include "support/casename.h"

namespace {

using host::ui::SpreadGrid;
namespace C = EntryCol;

class InputFill : public CountSheetDbTest
{
protected:
    void SetUp() override
    {
        CountSheetDbTest::SetUp();
        m_grid.setMaxCols(EntryCol::kCount);
        m_main = std::make_unique<MainDo>();
        countSheetState().gShowType = 4;
        // Line A has bills after the snapshot: actual 32 against 30 counted.
        sql("Update ICInvBackup Set FQtyAct=32, FAuxQtyAct=3 Where FInterID=1 And FItemID=1");
    }

    // Loads the sheet of process 1 and fills the grid; rows come B (item 2), D (5), A (1).
    void fill(const std::string &sortBy = {})
    {
        host::Dictionary options;
        options.SetValue("SortBy", sortBy);
        auto rs = m_main->GetRsMain(1, {}, 0, &options);
        ASSERT_TRUE(rs);
        m_main->InputFillRow(m_grid);
    }

    std::string cell(int col, int row) const { return m_grid.GetText(col, row).toStdString(); }
    // The grid addressed at one cell, for reading its settings.
    SpreadGrid &at(int col, int row = 1)
    {
        m_grid.setBlockMode(false);
        m_grid.setCol(col);
        m_grid.setRow(row);
        return m_grid;
    }
    bool locked(int col, int row) { return at(col, row).Lock(); }

    SpreadGrid m_grid;
    std::unique_ptr<MainDo> m_main;
};

TEST_F(InputFill, OneRowPerLineAndALockedTotalsRow)
{
    fill();
    ASSERT_EQ(m_grid.MaxRows(), 4);
    EXPECT_EQ(cell(C::ItemID, 1), "2");
    EXPECT_EQ(cell(C::ItemID, 2), "5");
    EXPECT_EQ(cell(C::ItemID, 3), "1");
    EXPECT_EQ(cell(C::StockName, 3), "原料仓");
    EXPECT_EQ(cell(C::SPName, 3), "A区");
    EXPECT_EQ(cell(C::AuxPropName, 3), "红色");
    EXPECT_EQ(cell(C::BatchNo, 3), "B1");
    EXPECT_EQ(cell(C::Note, 3), "note A");
    EXPECT_EQ(cell(C::Coefficient, 3), "12");
    EXPECT_EQ(cell(C::UnitID, 3), "2");
    EXPECT_EQ(cell(C::AuxPropID, 3), "7");
    EXPECT_EQ(cell(C::StockID, 3), "1");
    // Bills after the snapshot: actual minus counted, in both units.
    EXPECT_EQ(cell(C::DiffQty, 3), "2");
    EXPECT_EQ(cell(C::CUUnitDiffQty, 3), "0.5");

    EXPECT_EQ(cell(C::SPName, 4), "合计");
    EXPECT_EQ(cell(C::Qty, 4), "35");
    EXPECT_EQ(cell(C::CheckQty, 4), "42"); // 8 + 4 + 30
    EXPECT_EQ(cell(C::SecQty, 4), "5");
    for (int col : {C::ItemID, C::SPName, C::Qty, C::CUUnitCheckQty, C::Note, C::SecDiffQty})
        EXPECT_TRUE(locked(col, 4)) << col;
    EXPECT_FALSE(locked(C::CUUnitCheckQty, 3));
    EXPECT_FALSE(locked(C::Note, 1));
}

TEST_F(InputFill, CodesFollowTheShortNumberOption)
{
    module().gUseShortNumber = true;
    fill();
    EXPECT_EQ(cell(C::ItemNumber, 3), "01.001");
    EXPECT_EQ(cell(C::StockNumber, 3), "S01");
    EXPECT_EQ(cell(C::CUUnitNumber, 3), "02");
    module().gUseShortNumber = false;
    fill();
    EXPECT_EQ(cell(C::ItemNumber, 3), "001");
    EXPECT_EQ(cell(C::StockNumber, 3), "s1");
    EXPECT_EQ(cell(C::SPNumber, 3), "a1");
}

TEST_F(InputFill, ShelfLifeCellsShowDatesAndNoZeroPeriod)
{
    fill();
    EXPECT_EQ(cell(C::KFDate, 1), "2024/05/01");
    EXPECT_EQ(cell(C::KFPeriod, 1), "180");
    EXPECT_EQ(cell(C::KFDate, 3), "");
    EXPECT_EQ(cell(C::KFPeriod, 3), "");
}

TEST_F(InputFill, SecondUnitColumnsOnlyForItemsThatHaveOne)
{
    fill();
    // Item 2 has a second unit: its rate and counted second quantity can be typed.
    EXPECT_EQ(cell(C::SecQty, 1), "5");
    EXPECT_EQ(cell(C::SecCheckQty, 1), "4");
    EXPECT_EQ(cell(C::SecCoefficient, 1), "2");
    EXPECT_FALSE(locked(C::SecCoefficient, 1));
    EXPECT_FALSE(locked(C::SecCheckQty, 1));
    EXPECT_TRUE(locked(C::SecQty, 1));
    // Item 1 has none: empty, locked, and 0 in the hidden difference.
    for (int col = C::SecCoefficient; col <= C::SecAdjQty; ++col)
        EXPECT_EQ(cell(col, 3), "") << col;
    EXPECT_TRUE(locked(C::SecCoefficient, 3));
    EXPECT_TRUE(locked(C::SecCheckQty, 3));
    EXPECT_EQ(cell(C::SecDiffQty, 3), "0");
}

TEST_F(InputFill, EachRowShowsItsItemsDecimals)
{
    fill();
    EXPECT_EQ(at(C::Qty, 1).TypeFloatDecimalPlaces(), 4);
    EXPECT_EQ(at(C::CUUnitQty, 2).TypeFloatDecimalPlaces(), 3);
    EXPECT_EQ(at(C::CheckQty, 3).TypeFloatDecimalPlaces(), 2);
    EXPECT_EQ(at(C::Coefficient, 3).TypeFloatDecimalPlaces(), 10);
    EXPECT_EQ(at(C::Qty, 3).Text().toStdString(), "24.00");
    EXPECT_EQ(at(C::CUUnitQty, 1).Text().toStdString(), "10.0000");
    // The totals row takes the most decimals, its second-unit columns those of the last line.
    EXPECT_EQ(at(C::Qty, 4).TypeFloatDecimalPlaces(), 4);
    EXPECT_EQ(at(C::AdjQty, 4).TypeFloatDecimalPlaces(), 4);
    EXPECT_EQ(at(C::SecQtyAct, 4).TypeFloatDecimalPlaces(), 2);
}

TEST_F(InputFill, ColumnSetUpHidesAndLocksTechnicalColumns)
{
    fill();
    for (int col : {C::StockNumber, C::SPNumber, C::AuxPropNumber, C::UnitNumber, C::CUUnitNumber,
                    C::SecUnitNumber, C::Coefficient, C::UnitGroupID, C::SecUnitID, C::AuxPropID,
                    C::StockID, C::SecDiffQty})
        EXPECT_TRUE(at(col).ColHidden()) << col;
    for (int col :
         {C::StockName, C::SPName, C::SecQty, C::SecQtyAct, C::SecCheckQty, C::SecAdjQty, C::Note})
        EXPECT_FALSE(at(col).ColHidden()) << col;
    for (int col : {C::StockName, C::AuxPropName, C::SecUnitName, C::SecQtyAct, C::SecAdjQty,
                    C::StockPlaceID, C::SecDiffQty})
        EXPECT_TRUE(locked(col, 1)) << col;
}

TEST_F(InputFill, ARefillFollowsTheNewSortAndAnEmptySheetHasNoRows)
{
    fill("FItemID");
    EXPECT_EQ(cell(C::ItemID, 1), "1");
    EXPECT_EQ(cell(C::ItemID, 3), "5");
    EXPECT_EQ(cell(C::SPName, 4), "合计");
    EXPECT_EQ(cell(C::Qty, 4), "35");

    m_main->p_RSMain->Filter("FItemID = 99");
    m_main->InputFillRow(m_grid);
    EXPECT_EQ(m_grid.MaxRows(), 0);
    EXPECT_TRUE(at(C::StockNumber).ColHidden());
}

TEST_F(InputFill, NullQuantitiesEmptyOrZeroByColumn)
{
    sql("Update ICInvBackup Set FQty=NULL, FQtyAct=NULL, FNote=NULL Where FItemID=2");
    fill();
    EXPECT_EQ(cell(C::Qty, 1), "");
    EXPECT_EQ(cell(C::QtyAct, 1), "0");
    EXPECT_EQ(cell(C::Note, 1), "");
    EXPECT_EQ(cell(C::Qty, 4), "25");
}

// The fill takes the records from the current one on and leaves the recordset after its last;
// a field the records lack leaves its column empty, and one held as a number shows its text.
TEST_F(InputFill, FillsFromTheCurrentRecordWhateverFieldsItHas)
{
    m_main->p_RSMain = std::make_shared<host::Recordset>(
        std::vector<std::string>{"FItemID", "FBatchNo", "FQty", "FQtyDecimal", "FSecUnitID"},
        std::vector<std::vector<host::Variant>>{
            {1, "skipped", 1.0, 0, 0}, {2, 17, 2.5, 1, 3}, {3, host::Variant::null(), 4.0, 2, 0}});
    m_main->p_RSMain->MoveNext();
    m_main->InputFillRow(m_grid);
    ASSERT_EQ(m_grid.MaxRows(), 4);
    EXPECT_EQ(cell(C::ItemID, 1), "2");
    EXPECT_EQ(cell(C::BatchNo, 1), "17");
    EXPECT_EQ(cell(C::BatchNo, 2), "");
    EXPECT_EQ(cell(C::SPName, 1), "");
    EXPECT_EQ(cell(C::CheckQty, 2), "");
    EXPECT_EQ(cell(C::DiffQty, 2), "");
    EXPECT_EQ(cell(C::SecDiffQty, 1), "");
    EXPECT_EQ(cell(C::SecDiffQty, 2), "0");
    EXPECT_FALSE(locked(C::SecCheckQty, 1));
    EXPECT_TRUE(locked(C::SecCheckQty, 2));
    EXPECT_EQ(at(C::Qty, 2).TypeFloatDecimalPlaces(), 2);
    EXPECT_EQ(cell(C::Qty, 4), "6.5");
    EXPECT_TRUE(m_main->p_RSMain->EOF());
}

struct ShownCase
{
    const char *what;
    const char *update; // of item 2's line (row 1), whose item keeps no decimals
    int col;
    const char *shown;
};

// The second unit's figures show every decimal they have, up to 6, so a user who types the
// figure shown types the figure held; the base and counting units show the item's decimals.
const ShownCase kShown[] = {
    {"a second-unit book with more decimals than the item", "FSecQty=641.568", C::SecQty,
     "641.568"},
    {"a rate from two counts", "FCheckQty=656,FSecCheckQty=500", C::SecCoefficient, "1.312"},
    {"a rate with endless decimals", "FCheckQty=656,FSecCheckQty=3", C::SecCoefficient,
     "218.666667"},
    {"a second-unit count of whole units", "FSecCheckQty=4", C::SecCheckQty, "4"},
    {"a base quantity at the item's decimals", "FQtyAct=8.4", C::QtyAct, "8"},
    {"a counting-unit quantity grouped", "FAuxQty=1234.4", C::CUUnitQty, "1,234"},
};

class ShownDecimals : public InputFill, public ::testing::WithParamInterface<ShownCase>
{};

TEST_P(ShownDecimals, NumberCellsShowTheirDecimalsRightAligned)
{
    const ShownCase &c = GetParam();
    sql("Update t_ICItemBase Set FQtyDecimal=0 Where FItemID=2");
    sql(std::string("Update ICInvBackup Set ") + c.update + " Where FItemID=2");
    fill();
    EXPECT_EQ(at(c.col, 1).Text().toStdString(), c.shown);
    const QModelIndex index = m_grid.model()->index(0, c.col - 1);
    EXPECT_EQ(index.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight,
              Qt::AlignRight);
}

INSTANTIATE_TEST_SUITE_P(Cells, ShownDecimals, ::testing::ValuesIn(kShown),
                         [](const auto &param) { return caseName(param.index, param.param.what); });

} // namespace

#include "countsheetdb.h"

#include "countsheet/maindo.h"
#include "host/core/dictionary.h"
#include "host/ui/spreadgrid.h"

namespace {

using host::ui::CellType;
using host::ui::SpreadGrid;

// The entry grid as the count-sheet window designs it before any fill: 43 columns, the
// quantity columns as number cells.
void designLayout(SpreadGrid &grid)
{
    grid.setMaxCols(43);
    grid.setMaxRows(1);
    grid.setBlockMode(true);
    grid.setRow(-1);
    grid.setRow2(-1);
    for (auto [first, last] : {std::pair{17, 19}, {22, 24}, {34, 34}, {39, 39}}) {
        grid.setCol(first);
        grid.setCol2(last);
        grid.setCellType(CellType::Float);
    }
    grid.setCol(35);
    grid.setCol2(35);
    grid.setCellType(CellType::Integer);
    grid.setBlockMode(false);
}

class InputFill : public CountSheetDbTest
{
protected:
    void SetUp() override
    {
        CountSheetDbTest::SetUp();
        designLayout(m_grid);
        m_main = std::make_unique<MainDo>();
        module().gShowType = 4;
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
    EXPECT_EQ(cell(1, 1), "2");
    EXPECT_EQ(cell(1, 2), "5");
    EXPECT_EQ(cell(1, 3), "1");
    EXPECT_EQ(cell(3, 3), "原料仓");
    EXPECT_EQ(cell(5, 3), "A区");
    EXPECT_EQ(cell(10, 3), "红色");
    EXPECT_EQ(cell(11, 3), "B1");
    EXPECT_EQ(cell(33, 3), "note A");
    EXPECT_EQ(cell(34, 3), "12");
    EXPECT_EQ(cell(37, 3), "2");
    EXPECT_EQ(cell(41, 3), "7");
    EXPECT_EQ(cell(42, 3), "1");
    // Bills after the snapshot: actual minus counted, in both units.
    EXPECT_EQ(cell(36, 3), "2");
    EXPECT_EQ(cell(39, 3), "0.5");

    EXPECT_EQ(cell(5, 4), "合计");
    EXPECT_EQ(cell(17, 4), "35");
    EXPECT_EQ(cell(19, 4), "42"); // 8 + 4 + 30
    EXPECT_EQ(cell(29, 4), "5");
    for (int col : {1, 5, 17, 24, 33, 43})
        EXPECT_TRUE(locked(col, 4)) << col;
    EXPECT_FALSE(locked(24, 3));
    EXPECT_FALSE(locked(33, 1));
}

TEST_F(InputFill, CodesFollowTheShortNumberOption)
{
    module().gUseShortNumber = true;
    fill();
    EXPECT_EQ(cell(6, 3), "01.001");
    EXPECT_EQ(cell(2, 3), "S01");
    EXPECT_EQ(cell(20, 3), "02");
    module().gUseShortNumber = false;
    fill();
    EXPECT_EQ(cell(6, 3), "001");
    EXPECT_EQ(cell(2, 3), "s1");
    EXPECT_EQ(cell(4, 3), "a1");
}

TEST_F(InputFill, ShelfLifeCellsShowDatesAndNoZeroPeriod)
{
    fill();
    EXPECT_EQ(cell(13, 1), "2024/05/01");
    EXPECT_EQ(cell(14, 1), "180");
    EXPECT_EQ(cell(13, 3), "");
    EXPECT_EQ(cell(14, 3), "");
}

TEST_F(InputFill, SecondUnitColumnsOnlyForItemsThatHaveOne)
{
    fill();
    // Item 2 has a second unit: its rate and counted second quantity can be typed.
    EXPECT_EQ(cell(29, 1), "5");
    EXPECT_EQ(cell(31, 1), "4");
    EXPECT_EQ(cell(28, 1), "2");
    EXPECT_FALSE(locked(28, 1));
    EXPECT_FALSE(locked(31, 1));
    EXPECT_TRUE(locked(29, 1));
    // Item 1 has none: empty, locked, and 0 in the hidden difference.
    for (int col = 28; col <= 32; ++col)
        EXPECT_EQ(cell(col, 3), "") << col;
    EXPECT_TRUE(locked(28, 3));
    EXPECT_TRUE(locked(31, 3));
    EXPECT_EQ(cell(43, 3), "0");
}

TEST_F(InputFill, EachRowShowsItsItemsDecimals)
{
    fill();
    EXPECT_EQ(at(17, 1).TypeFloatDecimalPlaces(), 4);
    EXPECT_EQ(at(22, 2).TypeFloatDecimalPlaces(), 3);
    EXPECT_EQ(at(19, 3).TypeFloatDecimalPlaces(), 2);
    EXPECT_EQ(at(34, 3).TypeFloatDecimalPlaces(), 10);
    EXPECT_EQ(at(17, 3).Text().toStdString(), "24.00");
    EXPECT_EQ(at(22, 1).Text().toStdString(), "10.0000");
    // The totals row takes the most decimals, its second-unit columns those of the last line.
    EXPECT_EQ(at(17, 4).TypeFloatDecimalPlaces(), 4);
    EXPECT_EQ(at(25, 4).TypeFloatDecimalPlaces(), 4);
    EXPECT_EQ(at(30, 4).TypeFloatDecimalPlaces(), 2);
}

TEST_F(InputFill, ColumnSetUpHidesAndLocksTechnicalColumns)
{
    fill();
    for (int col : {2, 4, 9, 15, 20, 26, 34, 38, 40, 41, 42, 43})
        EXPECT_TRUE(at(col).ColHidden()) << col;
    for (int col : {3, 5, 29, 30, 31, 32, 33})
        EXPECT_FALSE(at(col).ColHidden()) << col;
    for (int col : {3, 10, 27, 30, 32, 35, 43})
        EXPECT_TRUE(locked(col, 1)) << col;
}

TEST_F(InputFill, ARefillFollowsTheNewSortAndAnEmptySheetHasNoRows)
{
    fill("FItemID");
    EXPECT_EQ(cell(1, 1), "1");
    EXPECT_EQ(cell(1, 3), "5");
    EXPECT_EQ(cell(5, 4), "合计");
    EXPECT_EQ(cell(17, 4), "35");

    m_main->p_RSMain->Filter("FItemID = 99");
    m_main->InputFillRow(m_grid);
    EXPECT_EQ(m_grid.MaxRows(), 0);
    EXPECT_TRUE(at(2).ColHidden());
}

TEST_F(InputFill, NullQuantitiesEmptyOrZeroByColumn)
{
    sql("Update ICInvBackup Set FQty=NULL, FQtyAct=NULL, FNote=NULL Where FItemID=2");
    fill();
    EXPECT_EQ(cell(17, 1), "");
    EXPECT_EQ(cell(18, 1), "0");
    EXPECT_EQ(cell(33, 1), "");
    EXPECT_EQ(cell(17, 4), "25");
}

} // namespace

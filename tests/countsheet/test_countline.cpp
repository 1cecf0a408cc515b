// The count line's arithmetic and checks on CountLine values, and its way in and out of the
// entry grid's cells.
#include "countsheet/countline.h"
#include "countsheet/countlinecalc.h"
#include "countsheet/countlinegrid.h"
#include "host/ui/spread/spreadgrid.h"
#include "support/casename.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

namespace C = EntryCol;

// A line of 24 pieces on the books in boxes of 12, counted 30 with 2 more from bills after the
// snapshot, an adjustment of 1 box, and a second unit of 2 pieces each.
CountLine line()
{
    CountLine l;
    l.qty = 24;
    l.checkQty = 30;
    l.diffQty = 2;
    l.qtyAct = 32;
    l.coefficient = 12;
    l.cuUnitQty = 2;
    l.cuUnitCheckQty = 2.5;
    l.cuUnitDiffQty = 0.5;
    l.cuUnitQtyAct = 3;
    l.adjQty = 1;
    l.secUnitId = 3;
    l.secCoefficient = 2;
    l.secQty = 12;
    l.secCheckQty = 4;
    l.secDiffQty = 0.25;
    l.secQtyAct = 4.25;
    l.blank.set(C::SecQtyAct);
    return l;
}

using Values = std::map<int, double>;

struct EditCase
{
    const char *what;
    int col;
    std::function<void(CountLine &)> edit;
    Values expected; // the written columns and their values
};

double valueOf(const CountLine &l, int col)
{
    return columnNumber(l, entryColumn(col));
}

const EditCase kEdits[] = {
    {"base count",
     C::CheckQty,
     [](CountLine &l) { l.checkQty = 36; },
     {{C::QtyAct, 38},
      {C::SecQtyAct, 4.25},
      {C::CUUnitQtyAct, 38.0 / 12},
      {C::CUUnitCheckQty, 3},
      {C::CUUnitDiffQty, 2.0 / 12}}},
    {"base count without a coefficient",
     C::CheckQty,
     [](CountLine &l) {
         l.checkQty = 36;
         l.coefficient = 0;
     },
     {{C::QtyAct, 38},
      {C::SecQtyAct, 4.25},
      {C::CUUnitQtyAct, 0},
      {C::CUUnitCheckQty, 0},
      {C::CUUnitDiffQty, 0}}},
    {"counting-unit count",
     C::CUUnitCheckQty,
     [](CountLine &l) { l.cuUnitCheckQty = 3; },
     {{C::CUUnitQtyAct, 3.5},
      {C::QtyAct, 42},
      {C::CheckQty, 36},
      {C::SecCheckQty, 18},
      {C::SecQtyAct, 18.25}}},
    {"counting-unit count without a rate",
     C::CUUnitCheckQty,
     [](CountLine &l) {
         l.cuUnitCheckQty = 3;
         l.secCoefficient = 0;
     },
     {{C::CUUnitQtyAct, 3.5},
      {C::QtyAct, 42},
      {C::CheckQty, 36},
      {C::SecCheckQty, 0},
      {C::SecQtyAct, 0}}},
    {"rate",
     C::SecCoefficient,
     [](CountLine &l) { l.secCoefficient = 4; },
     {{C::SecCheckQty, 7.5}, {C::SecQtyAct, 7.75}, {C::SecAdjQty, 3}}},
    {"rate zero",
     C::SecCoefficient,
     [](CountLine &l) { l.secCoefficient = 0; },
     {{C::SecCheckQty, 0}, {C::SecQtyAct, 0}, {C::SecAdjQty, 0}}},
    {"second count",
     C::SecCheckQty,
     [](CountLine &l) { l.secCheckQty = 5; },
     {{C::SecCoefficient, 6}, {C::SecQtyAct, 5.25}, {C::SecAdjQty, 2}}},
    {"second count zero",
     C::SecCheckQty,
     [](CountLine &l) { l.secCheckQty = 0; },
     {{C::SecCoefficient, 0}, {C::SecQtyAct, 0}, {C::SecAdjQty, 0}}},
    {"adjustment", C::AdjQty, [](CountLine &l) { l.adjQty = 2; }, {{C::SecAdjQty, 12}}},
    {"note", C::Note, [](CountLine &l) { l.note = "seen"; }, {}},
    {"book quantity", C::Qty, [](CountLine &l) { l.qty = 30; }, {}},
};

class Recompute : public ::testing::TestWithParam<EditCase>
{};

TEST_P(Recompute, AnEditWritesItsLinesDependentQuantitiesAndNothingElse)
{
    const EditCase &c = GetParam();
    CountLine l = line();
    c.edit(l);
    const CountLine before = l;
    const ColumnSet written = recomputeLine(l, c.col);
    for (const EntryColumn &column : entryColumns()) {
        const auto found = c.expected.find(column.col);
        EXPECT_EQ(written.test(static_cast<std::size_t>(column.col)), found != c.expected.end())
            << column.col;
        if (found != c.expected.end()) {
            EXPECT_DOUBLE_EQ(valueOf(l, column.col), found->second) << column.col;
            EXPECT_FALSE(l.blank.test(static_cast<std::size_t>(column.col))) << column.col;
        } else {
            EXPECT_EQ(valueOf(l, column.col), valueOf(before, column.col)) << column.col;
        }
    }
    EXPECT_EQ(editFeedsSave(c.col), c.col != C::Qty);
}

INSTANTIATE_TEST_SUITE_P(Columns, Recompute, ::testing::ValuesIn(kEdits),
                         [](const auto &param) { return caseName(param.index, param.param.what); });

struct CheckCase
{
    const char *what;
    double qty, qtyAct, adjQty, secQty, secQtyAct;
    long expected;
};

// D = adjustment x 12 + book - actual and S = second book - second actual, as the save tests
// them: D alone passes, S alone fails, opposite signs fail.
const CheckCase kChecks[] = {
    {"nothing counted differently", 10, 10, 0, 5, 5, LineAccepted},
    {"a base loss alone", 10, 8, 0, 5, 5, LineAccepted},
    {"a second-unit difference alone", 10, 10, 0, 5, 4, DirectionConflict},
    {"losses in both units", 10, 8, 0, 5, 4, LineAccepted},
    {"gains in both units", 10, 12, 0, 5, 6, LineAccepted},
    {"a base loss with a second-unit gain", 10, 8, 0, 5, 6, DirectionConflict},
    {"a base gain with a second-unit loss", 10, 12, 0, 5, 4, DirectionConflict},
    {"an adjustment makes the base difference", 10, 10, 1, 5, 6, DirectionConflict},
    {"actual below a negative book", -5, -6, 0, 5, 5, NegativeBookBelow},
    {"actual at a negative book", -5, -5, 0, 5, 5, LineAccepted},
    {"below a negative book and opposite directions", -5, -6, 0, 5, 6, NegativeBookBelow},
    // 0.1 + 0.2 is 0.30000000000000004 in binary, 0.3 in the database.
    {"a difference of the arithmetic's last bits only", 10, 10, 0, 0.3, 0.1 + 0.2, LineAccepted},
    {"below a negative book by the last bits only", -0.3, -(0.1 + 0.2), 0, 0, 0, LineAccepted},
};

class Check : public ::testing::TestWithParam<CheckCase>
{};

TEST_P(Check, TheLineIsRefusedByTheFirstRuleItBreaks)
{
    const CheckCase &c = GetParam();
    CountLine l;
    l.qty = c.qty;
    l.qtyAct = c.qtyAct;
    l.adjQty = c.adjQty;
    l.coefficient = 12;
    l.secQty = c.secQty;
    l.secQtyAct = c.secQtyAct;
    EXPECT_EQ(checkLine(l), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Lines, Check, ::testing::ValuesIn(kChecks),
                         [](const auto &param) { return caseName(param.index, param.param.what); });

class GridLine : public ::testing::Test
{
protected:
    GridLine()
    {
        grid.setMaxCols(C::kCount);
        grid.setMaxRows(2);
    }
    host::ui::SpreadGrid grid;
};

struct KeyCase
{
    const char *what;
    int col;
    const char *cell;
    bool readable;
};

const KeyCase kKeys[] = {
    {"every key", C::Note, "any", true},
    {"no stock place", C::StockPlaceID, "", true},
    {"no shelf-life date", C::KFDate, "", true},
    {"no item", C::ItemID, "", false},
    {"no unit", C::UnitID, "", false},
    {"no stock", C::StockID, "", false},
    {"a stock that is no number", C::StockID, "abc", false},
    {"an auxiliary property that is no number", C::AuxPropID, "7x", false},
    {"a date that is no date", C::KFDate, "someday", false},
};

class KeyCells : public GridLine, public ::testing::WithParamInterface<KeyCase>
{};

TEST_P(KeyCells, ALineIsFoundOnlyByAKeyThatReads)
{
    const KeyCase &c = GetParam();
    for (auto [col, text] : std::map<int, const char *>{{C::ItemID, "12"},
                                                        {C::UnitID, "1"},
                                                        {C::StockID, "2"},
                                                        {C::StockPlaceID, "5"},
                                                        {C::AuxPropID, "7"},
                                                        {C::KFDate, "2024/05/01"}})
        grid.SetText(col, 1, QString::fromLatin1(text));
    grid.SetText(c.col, 1, QString::fromLatin1(c.cell));
    bool keyRead = !c.readable;
    readCountLine(grid, 1, &keyRead);
    EXPECT_EQ(keyRead, c.readable);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyCells, ::testing::ValuesIn(kKeys),
                         [](const auto &param) { return caseName(param.index, param.param.what); });

} // namespace

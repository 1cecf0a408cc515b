#include "countsheetdb.h"

#include "countsheet/countsheetstate.h"
#include "countsheet/maindo.h"

#include <array>

namespace {

using host::Variant;

const std::vector<std::string> kFields{
    "FQty",          "FQtyAct",        "FOverQty",       "FDownQty", "FCUUnitQty",
    "FCUUnitQtyAct", "FCUUnitOverQty", "FCUUnitDownQty", "FSecQty",  "FSecQtyAct",
    "FSecOverQty",   "FSecDownQty",    "FQtyDecimal",    "FName"};

// The totals from this place on are the second unit's.
constexpr size_t kSecondUnitTotals = 8;

std::vector<Variant> line(double value, long decimals, const char *name)
{
    std::vector<Variant> row(12, Variant(value));
    row.emplace_back(decimals);
    row.emplace_back(name);
    return row;
}

std::array<double, 12> totals()
{
    const CountSheetState &sheet = countSheetState();
    return {sheet.gSumQty,           sheet.gSumQtyAct,        sheet.gSumOverQty,
            sheet.gSumDownQty,       sheet.gSumCUUnitQty,     sheet.gSumCUUnitQtyAct,
            sheet.gSumCUUnitOverQty, sheet.gSumCUUnitDownQty, sheet.gSumSecQty,
            sheet.gSumSecQtyAct,     sheet.gSumSecOverQty,    sheet.gSumSecDownQty};
}

class SheetTotals : public CountSheetDbTest
{
protected:
    void SetUp() override
    {
        CountSheetDbTest::SetUp();
        m_main = std::make_unique<MainDo>();
    }

    void sheet(const std::vector<std::vector<Variant>> &rows)
    {
        m_main->p_RSMain = std::make_shared<host::Recordset>(kFields, rows);
    }

    std::unique_ptr<MainDo> m_main;
};

// The decimals of a line are its base unit's: a second-unit quantity, which keeps its own, adds
// as it is stored.
TEST_F(SheetTotals, EachLineIsRoundedToItsDecimalsBeforeItIsAddedButASecondUnit)
{
    sheet({line(0.004, 2, "a"), line(0.004, 2, "b")});
    m_main->GetSumData();
    for (size_t i = 0; i < kSecondUnitTotals; ++i)
        EXPECT_EQ(totals()[i], 0) << i;
    for (size_t i = kSecondUnitTotals; i < 12; ++i)
        EXPECT_DOUBLE_EQ(totals()[i], 0.008) << i;

    sheet({line(1.23456, 2, "a"), line(1.0005, 3, "b"), line(2.5, 0, "c")});
    m_main->GetSumData();
    for (size_t i = 0; i < kSecondUnitTotals; ++i)
        EXPECT_DOUBLE_EQ(totals()[i], 1.23 + 1.001 + 3) << i;
    for (size_t i = kSecondUnitTotals; i < 12; ++i)
        EXPECT_DOUBLE_EQ(totals()[i], 1.23456 + 1.0005 + 2.5) << i;
    // A second walk gives the same totals.
    m_main->GetSumData();
    EXPECT_DOUBLE_EQ(totals()[7], 1.23 + 1.001 + 3);
    EXPECT_DOUBLE_EQ(totals()[11], 1.23456 + 1.0005 + 2.5);
}

TEST_F(SheetTotals, NullCountsZeroAndTheFilterDecides)
{
    auto withNull = line(5, 2, "a");
    withNull[2] = Variant::null();
    sheet({withNull, line(7, 2, "b")});
    m_main->GetSumData();
    EXPECT_EQ(totals()[0], 12);
    EXPECT_EQ(totals()[2], 7);

    m_main->p_RSMain->Filter("FName = 'b'");
    m_main->GetSumData();
    EXPECT_EQ(totals()[0], 7);
    EXPECT_EQ(m_main->p_RSMain->Filter(), "FName = 'b'");
}

// Quantities that came as texts, alone or among numbers, count as the numbers they read; the
// walk ends past the last line.
TEST_F(SheetTotals, TextQuantitiesCountAsTheirNumbers)
{
    std::vector<Variant> typed(12, Variant(std::string("2.345")));
    typed.emplace_back(2L);
    typed.emplace_back("a");
    sheet({typed, line(1, 2, "b")});
    m_main->GetSumData();
    for (size_t i = 0; i < 12; ++i)
        EXPECT_DOUBLE_EQ(totals()[i], (i < kSecondUnitTotals ? 2.35 : 2.345) + 1) << i;
    EXPECT_TRUE(m_main->p_RSMain->EOF());

    sheet({typed});
    m_main->GetSumData();
    EXPECT_DOUBLE_EQ(totals()[7], 2.35);
}

TEST_F(SheetTotals, NoOpenSheetOrNoLinesLeavesZero)
{
    sheet({line(3, 0, "a")});
    m_main->GetSumData();
    ASSERT_EQ(totals()[0], 3);

    m_main->p_RSMain = std::make_shared<host::Recordset>();
    m_main->GetSumData();
    EXPECT_EQ(totals()[0], 0);

    sheet({line(3, 0, "a")});
    m_main->GetSumData();
    m_main->p_RSMain.reset();
    m_main->GetSumData();
    EXPECT_EQ(totals()[0], 0);

    sheet({});
    m_main->GetSumData();
    EXPECT_EQ(totals()[5], 0);
}

} // namespace

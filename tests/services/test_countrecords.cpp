#include "services/countrecords.h"

#include <gtest/gtest.h>

using namespace CountRules;

TEST(CountLineKey, ConditionNamesAllTenColumnsAndQuotesTexts)
{
    CountLineKey key{7, 101, 0, 3, "B'01", "", "2026-01-05", 180, 2, 11};
    EXPECT_EQ(countLineKeyCondition(key, KFDateMatch::AsDate, "t1"),
              "t1.FInterID=7 AND t1.FItemID=101 AND t1.FAuxPropID=0 AND t1.FUnitID=3 AND "
              "t1.FBatchNo='B''01' AND t1.FMtoNo='' AND CONVERT(DATETIME,t1.FKFDate)='2026-01-05' "
              "AND t1.FKFPeriod=180 AND t1.FStockID=2 AND t1.FStockPlaceID=11");
    key.FKFDate.clear();
    const std::string asText = countLineKeyCondition(key, KFDateMatch::AsText);
    EXPECT_NE(asText.find(" AND FKFDate='' AND "), std::string::npos);
    EXPECT_EQ(asText.find("t1."), std::string::npos);
}

TEST(CountRules, DecimalZeroIsZero)
{
    // Binary floating point leaves 5.55e-17 here; decimal(28,10) leaves nothing.
    EXPECT_TRUE(isZeroQty(0.1 + 0.2 - 0.3));
    EXPECT_EQ(baseDifference(0.3, 0.1, 0.2, 1), 0);
    EXPECT_EQ(secondDifference(0.3, 0.1, 0.2), 0);
    EXPECT_FALSE(isZeroQty(1e-9));
    EXPECT_EQ(roundQty(-0.00000000004), 0);
}

TEST(CountRules, UnitsConvertByTheCoefficient)
{
    EXPECT_EQ(toCountingUnit(24, 12), 2);
    EXPECT_EQ(toBaseUnit(2.5, 12), 30);
    EXPECT_DOUBLE_EQ(toCountingUnit(10, 3), 3.3333333333);
    // A unit without a coefficient is taken 1:1 instead of dividing by zero.
    EXPECT_EQ(toCountingUnit(7, 0), 7);
    EXPECT_EQ(baseDifference(30, 24, 0.5, 12), 0);
    EXPECT_EQ(baseDifference(30, 24, 0, 12), 6);
}

TEST(CountRules, DirectionConflict)
{
    struct Case
    {
        double minus, secMinus;
        bool refused;
    };
    const Case cases[] = {
        {0, 0, false}, {0, 1, true},  {0, -1, true}, {5, 2, false},  {-5, -2, false},
        {5, -2, true}, {-5, 2, true}, {5, 0, false}, {-5, 0, false}, {0.1 + 0.2 - 0.3, 0, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(directionConflict(c.minus, c.secMinus), c.refused)
            << c.minus << " " << c.secMinus;
}

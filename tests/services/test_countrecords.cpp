#include "services/countrecords.h"

#include <gtest/gtest.h>

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

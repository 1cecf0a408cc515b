#include "countsheetdb.h"

#include "countsheet/countsheetstate.h"
#include "countsheet/countsheetwindows.h"
#include "countsheet/maindo.h"
#include "host/core/dictionary.h"
#include "services/modulestate.h"

#include <vector>

namespace {

class CountSheetCommand : public CountSheetDbTest
{
protected:
    void SetUp() override
    {
        CountSheetDbTest::SetUp();
        countSheetWindows().showFilter = [this](long showType, long tab) {
            filterShown.push_back(showType * 10 + tab);
            countSheetState().gFilterCancelled = cancelFilter;
        };
        countSheetWindows().showCountSheet = [this](long showType) {
            sheetShown.push_back(showType);
        };
    }
    void TearDown() override
    {
        countSheetWindows() = {};
        CountSheetDbTest::TearDown();
    }

    std::vector<long> filterShown;
    std::vector<long> sheetShown;
    bool cancelFilter = false;
};

TEST_F(CountSheetCommand, WithoutTheFilterOptionEarlierFiltersAreCleared)
{
    countSheetState().gFilterDict = std::make_shared<host::Dictionary>();
    countSheetState().gFilterDict->SetValue("Filter", "FQty > 5");
    countSheetState().gFilterDict->SetValue("SortBy", "FQty Desc");
    MainDo().Show(4, 0);
    EXPECT_EQ(host::CStr(countSheetState().gFilterDict->Value("Filter")), "");
    EXPECT_EQ(host::CStr(countSheetState().gFilterDict->Value("SortBy")), "");
    EXPECT_TRUE(filterShown.empty());
    EXPECT_EQ(sheetShown, (std::vector<long>{4}));
    EXPECT_TRUE(messages().empty());
}

TEST_F(CountSheetCommand, TheFilterDialogComesFirstAndCancelEndsTheCommand)
{
    module().gShowFilterBeforeCheck = true;
    MainDo().Show(1, 0);
    EXPECT_EQ(filterShown, (std::vector<long>{10}));
    EXPECT_EQ(sheetShown, (std::vector<long>{1}));

    cancelFilter = true;
    MainDo().Show(3, 1);
    EXPECT_EQ(filterShown, (std::vector<long>{10, 31}));
    EXPECT_EQ(sheetShown, (std::vector<long>{1}));
    EXPECT_TRUE(messages().empty());
}

TEST_F(CountSheetCommand, NothingBackedUpOpensNothing)
{
    // Lines of a stock that no longer exists do not count as backed up.
    sql("Delete From t_Stock");
    for (long showType : {1L, 3L, 4L})
        MainDo().Show(showType, 0);
    sql("Delete From ICInvBackup");
    MainDo().Show(4, 0);
    EXPECT_TRUE(sheetShown.empty());
    EXPECT_EQ(messages(), std::vector<std::string>(4, "仓库数据还未备份,请备份仓库数据!"));
}

TEST_F(CountSheetCommand, AFailedStockListCountsAsNothingBackedUp)
{
    sql("Drop Table t_Stock");
    MainDo().Show(1, 0);
    EXPECT_TRUE(sheetShown.empty());
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].rfind("选出备份的仓库出错。", 0), 0u) << messages()[0];
    EXPECT_EQ(messages()[1], "仓库数据还未备份,请备份仓库数据!");
}

TEST_F(CountSheetCommand, BackedUpStocksByNumber)
{
    MainDo main;
    auto stocks = main.GetBackupStockList();
    ASSERT_TRUE(stocks);
    ASSERT_EQ(stocks->RecordCount(), 2);
    stocks->MoveFirst();
    EXPECT_EQ(host::CStr(stocks->Fields("FNumber").Value()), "S01");
    EXPECT_EQ(main.GetRSInStock(2)->RecordCount(), 1);
    countSheetState().gShowType = 4;
    EXPECT_EQ(main.GetRSHeader()->RecordCount(),
              count("Select * From ICChatBillTitle Where FTypeID=4"));
}

} // namespace

#include "countsheetdb.h"

#include "countsheet/countsheetstate.h"
#include "countsheet/maindo.h"
#include "host/core/dictionary.h"
#include "host/core/paths.h"
#include "services/modulestate.h"

#include <map>
#include <set>
#include <vector>

namespace {

class CountSheetQuery : public CountSheetDbTest
{
protected:
    void SetUp() override
    {
        CountSheetDbTest::SetUp();
        m_main = std::make_unique<MainDo>();
    }

    std::shared_ptr<host::Recordset> sheet(long showType, const std::string &filter = {},
                                           const std::string &sortBy = {}, long range = 0,
                                           const std::string &extra = {})
    {
        countSheetState().gShowType = showType;
        host::Dictionary options;
        options.SetValue("Filter", filter);
        options.SetValue("SortBy", sortBy);
        return m_main->GetRsMain(1, extra, range, &options);
    }

    static std::vector<long> itemIds(host::Recordset &rs)
    {
        std::vector<long> ids;
        if (rs.RecordCount() == 0)
            return ids;
        for (rs.MoveFirst(); !rs.EOF(); rs.MoveNext())
            ids.push_back(host::CLng(rs.Fields("FItemID").Value()));
        return ids;
    }

    // The first row of an item, values by field name.
    static std::map<std::string, host::Variant> row(host::Recordset &rs, long itemId)
    {
        std::map<std::string, host::Variant> values;
        for (rs.MoveFirst(); !rs.EOF(); rs.MoveNext()) {
            if (host::CLng(rs.Fields("FItemID").Value()) != itemId)
                continue;
            for (long i = 0; i < rs.FieldCount(); ++i)
                values[rs.Fields(i).Name()] = rs.Fields(i).Value();
            break;
        }
        return values;
    }

    static double num(const host::Variant &v) { return host::CDbl(v); }

    std::unique_ptr<MainDo> m_main;
};

TEST_F(CountSheetQuery, CheckLayoutComputesBookQuantityAndGuardsZeroCoefficients)
{
    auto rs = sheet(1);
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs, m_main->p_RSMain);
    EXPECT_EQ(rs->FieldCount(), 63);
    // Default order: stock name descending, then place, then item name; the deleted item is out.
    EXPECT_EQ(itemIds(*rs), (std::vector<long>{2, 5, 1}));

    auto a = row(*rs, 1);
    EXPECT_EQ(num(a["FQty"]), 24); // (2 boxes + 0) x 12
    EXPECT_EQ(num(a["FOverQty"]), 6);
    EXPECT_TRUE(a["FDownQty"].isNull());
    EXPECT_EQ(num(a["FCUUnitOverQty"]), 0.5);
    EXPECT_EQ(num(a["FSecCoefficient"]), 0);
    EXPECT_EQ(host::CStr(a["FAuxPropName"]), "红色");

    // A unit with coefficient 0: gain and loss both carry the difference, and the counting
    // unit takes it 1:1 instead of failing the whole sheet.
    auto d = row(*rs, 5);
    EXPECT_EQ(num(d["FOverQty"]), 3);
    EXPECT_EQ(num(d["FDownQty"]), -3);
    EXPECT_EQ(num(d["FCUUnitOverQty"]), 3);

    auto b = row(*rs, 2);
    EXPECT_EQ(num(b["FDownQty"]), 2);
    EXPECT_EQ(num(b["FSecDownQty"]), 1);
    EXPECT_TRUE(b["FSecOverQty"].isNull());
    EXPECT_EQ(num(b["FSecCoefficient"]), 2);
}

TEST_F(CountSheetQuery, InputAndPrintLayouts)
{
    sql("Update ICInvBackup Set FAdjQty=1 Where FInterID=1 And FItemID=1");
    auto input = sheet(4);
    ASSERT_TRUE(input);
    EXPECT_EQ(input->FieldCount(), 61);
    auto a = row(*input, 1);
    EXPECT_EQ(num(a["FQty"]), 24); // stored, not recomputed with the adjustment
    EXPECT_EQ(num(a["FCUUnitQty"]), 2);

    auto check = sheet(1);
    a = row(*check, 1);
    EXPECT_EQ(num(a["FQty"]), 36); // (2 + 1) x 12
    EXPECT_EQ(num(a["FCUUnitQty"]), 3);

    auto print = sheet(3);
    ASSERT_TRUE(print);
    EXPECT_EQ(print->FieldCount(), 50);
    auto b = row(*print, 2);
    EXPECT_TRUE(b["FQty"].isNull());
    EXPECT_TRUE(b["FCheckQty"].isNull());
    EXPECT_EQ(host::CStr(b["FAuxPropName"]), "*");
    EXPECT_EQ(num(b["FSecCoefficient"]), 2); // 10 / 5
}

TEST_F(CountSheetQuery, DeletedItemsOnlyWhenAskedFor)
{
    EXPECT_EQ(sheet(4)->RecordCount(), 3);
    m_main->ShowDelete(true);
    EXPECT_EQ(sheet(4)->RecordCount(), 4);
}

TEST_F(CountSheetQuery, FilterSortAndExtraConditionNameTheOuterFields)
{
    EXPECT_EQ(itemIds(*sheet(4, "FNumber = '01.001'")), (std::vector<long>{1}));
    EXPECT_EQ(itemIds(*sheet(4, {}, "FQty ASC")), (std::vector<long>{5, 2, 1}));
    EXPECT_EQ(itemIds(*sheet(1, "FStockNumber = 'S01'", "FItemNumber Desc")),
              (std::vector<long>{5, 1}));
    EXPECT_EQ(itemIds(*sheet(4, {}, {}, 0, " And t1.FKFPeriod<>0")), (std::vector<long>{2}));
}

TEST_F(CountSheetQuery, PrintBookListsItemsWithoutLinesOncePerStock)
{
    auto rs = sheet(3, {}, "FItemID", 1);
    ASSERT_TRUE(rs);
    EXPECT_EQ(itemIds(*rs), (std::vector<long>{1, 2, 4, 4, 5}));
    auto spring = row(*rs, 4);
    EXPECT_EQ(host::CLng(spring["FStockID"]), 0);
    EXPECT_TRUE(spring["FQty"].isNull());
    // Each of its rows names the stock it is to be counted in.
    std::set<std::string> stocks;
    for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext())
        if (host::CLng(rs->Fields("FItemID").Value()) == 4)
            stocks.insert(host::CStr(rs->Fields("fstockname").Value()));
    EXPECT_EQ(stocks, (std::set<std::string>{"原料仓", "成品仓"}));
}

TEST_F(CountSheetQuery, FailingQueryLeavesNoRecordset)
{
    ASSERT_TRUE(sheet(4));
    EXPECT_FALSE(sheet(4, "FNoSuchField = 1"));
    EXPECT_FALSE(m_main->p_RSMain);
    // The database's own description, nothing before it.
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_FALSE(messages()[0].empty());
    // Only the print layout matches the item list column for column.
    EXPECT_FALSE(sheet(1, {}, {}, 1));
}

TEST_F(CountSheetQuery, RowLevelAccessRestrictsTheSheet)
{
    sheet(4);
    // Without rules nothing stands between the last join and the conditions.
    EXPECT_NE(
        countSheetState().gMainSQL.find("left join t_AuxItem t13 on t1.FAuxPropID=t13.fitemid\r\n"
                                        "\r\nWhere 1=1 And t2.FDeleted<>1 \r\n"),
        std::string::npos);

    sql("INSERT INTO t_DataAccessRule (FUserID,FDataTable,FItemID) VALUES (16394,'t_ICItem',1)");
    EXPECT_EQ(itemIds(*sheet(4)), (std::vector<long>{1}));
    sql("INSERT INTO t_DataAccessRule (FUserID,FDataTable,FItemID) VALUES (16394,'t_ICItem',4)");
    EXPECT_EQ(itemIds(*sheet(3, {}, "FItemID", 1)), (std::vector<long>{1, 4, 4}));
}

TEST_F(CountSheetQuery, TemplateQueryInTheUsersLanguage)
{
    host::ShareProps().SetProperty(host::currentProcessId(), "PropsString",
                                   "UserID=16394;LANGUAGE=EN;");
    countSheetState().gShowType = 3;
    m_main->GetRSHeader();
    EXPECT_EQ(countSheetState().gHeaderSQL,
              "Select FInterID,FTypeID,FColCaption_EN As FColCaption ,FHeadSecond,FColName,"
              "FTableName,FColType, FColWidth,FVisible,FItemClassID,FVisForQuest,FReturnDataType,"
              "FCountPriceType, FCtlIndex,FName,FTableAlias,FAction,FNeedCount,FIsPrimary,"
              "FLogicAction,FStatistical,FMergeable,FVisForOrder,FControl,FMode From "
              "ICChatBillTitle Where FTypeID=3  Order By FInterID");
    EXPECT_EQ(host::CStr(m_main->GetHeadString(3)->Value("Item code")), "FNumber|4|1");
}

TEST_F(CountSheetQuery, HeadStringOffersTheTemplateColumns)
{
    module().gMtoPlanMode = 0;
    auto lists = m_main->GetHeadString(4);
    EXPECT_EQ(host::CStr(lists->Value("物料代码")), "FNumber|4|1");
    EXPECT_EQ(host::CStr(lists->Value("基本单位账存数量")), "FQty|0|2");
    EXPECT_FALSE(lists->Exists("计划跟踪号"));
    const std::string filter = host::CStr(lists->Value("FilterString"));
    EXPECT_EQ(filter.rfind("\t仓库代码\t仓库\t", 0), 0u) << filter;
    EXPECT_NE(filter.find("\t备注"), std::string::npos);
    // The note is filtered on, never sorted by.
    EXPECT_EQ(host::CStr(lists->Value("SortString")).find("备注"), std::string::npos);

    module().gMtoPlanMode = 1;
    lists = m_main->GetHeadString(4);
    EXPECT_EQ(host::CStr(lists->Value("计划跟踪号")), "FMTONo|0|1");
}

} // namespace

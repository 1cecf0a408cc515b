#include "servicesdatabase.h"

#include "host/lookup/glview.h"
#include "host/lookup/lookupwindow.h"
#include "services/pubvariant.h"

using namespace PubVariant;

using Lookups = ServicesDatabaseTest;

namespace {

long count(host::Recordset &rs)
{
    return rs.RecordCount();
}

} // namespace

TEST_F(Lookups, StocksTheUserMaySee)
{
    const long all = host::CLng(scalar("select count(*) from t_Stock where FDeleted<>1 and "
                                       "FTypeID in (500,20291,20293)"));
    const auto rs = GetStockRS("");
    ASSERT_TRUE(rs);
    EXPECT_EQ(count(*rs), all);

    const long restricted =
        host::CLng(scalar("select min(FUserID) from t_DataAccessRule where FDataTable='t_Stock'"));
    ASSERT_GT(restricted, 0);
    const long allowed = host::CLng(
        scalar("select count(distinct r.FItemID) from t_DataAccessRule r join t_Stock s on "
               "s.FItemID=r.FItemID where s.FDeleted<>1 and r.FUserID=" +
               std::to_string(restricted)));
    useContext("UserID=" + std::to_string(restricted) + ";LANGUAGE=CHS");
    const auto mine = GetStockRS("");
    ASSERT_TRUE(mine);
    EXPECT_EQ(count(*mine), allowed);
    EXPECT_LT(allowed, all);
}

TEST_F(Lookups, StockByTheCodeOfTheOption)
{
    const auto full = host::CStr(scalar("select min(FNumber) from t_Stock where FDeleted<>1"));
    const auto shortCode =
        host::CStr(scalar("select FShortNumber from t_Stock where FNumber='" + full + "'"));
    module().gUseShortNumber = true;
    EXPECT_EQ(count(*GetStockRS(full)), 1);
    module().gUseShortNumber = false;
    EXPECT_EQ(count(*GetStockRS(shortCode)), 1);
    EXPECT_EQ(count(*GetStockRS("no'such")), 0);
}

TEST_F(Lookups, ItemsByCodeThenHelpCodeThenBarcode)
{
    const long first = host::CLng(scalar("select min(FItemID) from t_ICItem"));
    const long second = host::CLng(
        scalar("select min(FItemID) from t_ICItem where FItemID>" + std::to_string(first)));
    db->Execute("update t_ICItemBase set FHelpCode='HX1' where FItemID=" + std::to_string(first));
    db->Execute("insert into t_barcode (FBarcode,FTypeID,FItemID) values ('HX1',4," +
                std::to_string(second) + ")");
    db->Execute("insert into t_barcode (FBarcode,FTypeID,FItemID) values ('BC9',4," +
                std::to_string(second) + ")");
    module().gUseShortNumber = true;

    const auto byHelp = GetItemRS("HX1", 0);
    ASSERT_EQ(count(*byHelp), 1);
    EXPECT_EQ(host::CLng(byHelp->Fields("FItemID").Value()), first);

    const auto byBarcode = GetItemRS("BC9", 0);
    ASSERT_EQ(count(*byBarcode), 1);
    EXPECT_EQ(host::CLng(byBarcode->Fields("FItemID").Value()), second);

    const std::string number =
        host::CStr(scalar("select FNumber from t_ICItem where FItemID=" + std::to_string(first)));
    const auto byNumber = GetItemRS(number, 0);
    ASSERT_EQ(count(*byNumber), 1);
    EXPECT_NO_THROW(byNumber->Fields("FISSNManage"));
}

TEST_F(Lookups, AnItemIdNarrowsOnlyWhenItMatches)
{
    const long first = host::CLng(scalar("select min(FItemID) from t_ICItem"));
    const long second = host::CLng(
        scalar("select min(FItemID) from t_ICItem where FItemID>" + std::to_string(first)));
    db->Execute("update t_ICItemBase set FHelpCode='TWIN' where FItemID in (" +
                std::to_string(first) + "," + std::to_string(second) + ")");
    EXPECT_EQ(count(*GetItemRS("TWIN", 0)), 2);
    const auto one = GetItemRS("TWIN", second);
    ASSERT_EQ(count(*one), 1);
    EXPECT_EQ(host::CLng(one->Fields("FItemID").Value()), second);
    EXPECT_EQ(count(*GetItemRS("TWIN", 999999)), 2);
}

TEST_F(Lookups, UnitInfo)
{
    const long unit =
        host::CLng(scalar("select min(FMeasureUnitID) from t_MeasureUnit where FCoefficient>1"));
    long group = -1;
    double coefficient = 0;
    const std::string name = GetUnitInfo(std::to_string(unit), group, coefficient, false);
    EXPECT_EQ(name, host::CStr(scalar("select FName from t_MeasureUnit where FMeasureUnitID=" +
                                      std::to_string(unit))));
    EXPECT_GT(coefficient, 1);
    EXPECT_EQ(group, -1);
    GetUnitInfo(std::to_string(unit), group, coefficient, true);
    EXPECT_GT(group, 0);
    double untouched = 42;
    EXPECT_EQ(GetUnitInfo("0 or 1=1", group, untouched, true), "");
    EXPECT_EQ(untouched, 42);
}

TEST_F(Lookups, BaseDataLookupReturnsTheChosenRecord)
{
    modals.whileShown([](host::ui::Form &form) {
        auto &window = dynamic_cast<host::LookupWindow &>(form);
        window.setSearch(QStringLiteral("zz-no-match"));
        EXPECT_EQ(window.visibleCount(), 0);
        window.setSearch(QString());
        ASSERT_GT(window.visibleCount(), 1);
        window.choose(1);
    });
    module().gUseShortNumber = true;
    const auto result = BaseDataLookup(4, "", "", 0, 0);
    ASSERT_TRUE(result);
    ASSERT_TRUE(result->ReturnObject);
    const long id = host::CLng(result->ReturnObject->Properties("FItemID"));
    EXPECT_EQ(
        result->ReturnObject->Number(),
        host::CStr(scalar("select FNumber from t_ICItem where FItemID=" + std::to_string(id))));
    EXPECT_FALSE(module().gLookupBusy);
}

TEST_F(Lookups, CancelledBusyAndUnknownLookupsGiveNothing)
{
    modals.whileShown(
        [](host::ui::Form &form) { dynamic_cast<host::LookupWindow &>(form).cancel(); });
    EXPECT_FALSE(BaseDataLookup(5, "", "", 0, 0));

    module().gLookupBusy = true;
    EXPECT_FALSE(BaseDataLookup(4, "", "", 0, 0));
    EXPECT_TRUE(modals.modalWindows().size() == 1);
    module().gLookupBusy = false;

    EXPECT_FALSE(BaseDataLookup(6, "", "", 0, 0));
    EXPECT_FALSE(module().gLookupBusy);
    ASSERT_EQ(modals.messages().size(), 1u);
    EXPECT_TRUE(modals.messages()[0].text.startsWith(QStringLiteral("基础资料查询失败。\r\n")));
}

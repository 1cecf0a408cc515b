#include "servicesdatabase.h"

#include "host/access/dataaccess.h"
#include "host/core/hosterror.h"
#include "services/mmts.h"

namespace {

std::shared_ptr<host::Dictionary> descriptor(const char *table, const char *as, const char *billAs,
                                             const char *billCol)
{
    auto d = std::make_shared<host::Dictionary>();
    d->SetValue("DataTable", table);
    d->SetValue("DataTableAs", as);
    d->SetValue("DataCol", "FItemID");
    d->SetValue("BillTableAs", billAs);
    d->SetValue("BillCol", billCol);
    return d;
}

} // namespace

class RowAccess : public ServicesDatabaseTest
{
protected:
    void SetUp() override
    {
        ServicesDatabaseTest::SetUp();
        restricted = host::CLng(scalar("select min(FUserID) from t_DataAccessRule"));
        free = host::CLng(scalar("select min(FUserID) from t_user where FUserID not in (select "
                                 "FUserID from t_DataAccessRule)"));
        tables.Add("t_Stock");
        tables.Add("t_ICItem");
        descriptors.Add(host::Variant(descriptor("t_Stock", "te", "t1", "FStockID")));
        descriptors.Add(host::Variant(descriptor("t_ICItem", "te2", "t1", "FItemID")));
    }

    long restricted = 0;
    long free = 0;
    host::Vector tables;
    host::Vector descriptors;
};

TEST_F(RowAccess, AnUnrestrictedUserGetsNoFragments)
{
    std::string from;
    std::string where;
    EXPECT_TRUE(MMTS::GetDataAccessSQL("", free, tables, descriptors, from, where, true));
    EXPECT_EQ(from, "");
    EXPECT_EQ(where, "");
}

TEST_F(RowAccess, JoinFragmentRestrictsTheQuery)
{
    std::string from;
    std::string where;
    MMTS::GetDataAccessSQL("", restricted, tables, descriptors, from, where, true);
    EXPECT_NE(from.find(" te on te.FItemID=t1.FStockID"), std::string::npos);
    // Items carry no rules here, so only the stocks are restricted.
    EXPECT_EQ(from.find("te2"), std::string::npos);
    EXPECT_EQ(where, "");
    const std::string base = "select count(*) from ICInventory t1";
    const long all = host::CLng(scalar(base));
    const long seen = host::CLng(scalar(base + from));
    const long expected = host::CLng(
        scalar(base + " where t1.FStockID in (select FItemID from t_DataAccessRule where FUserID=" +
               std::to_string(restricted) + ")"));
    EXPECT_EQ(seen, expected);
    EXPECT_LT(seen, all);
}

TEST_F(RowAccess, CommaListFragmentAndAnEmptyTableList)
{
    std::string from;
    std::string where;
    MMTS::GetDataAccessSQL("", restricted, tables, descriptors, from, where, false);
    EXPECT_EQ(from.find("join"), std::string::npos);
    EXPECT_EQ(where, "te.FItemID=t1.FStockID");
    EXPECT_GT(host::CLng(scalar("select count(*) from ICInventory t1," + from + " where " + where)),
              0);
    // Without table names no rights information is read, so nothing is restricted.
    host::Vector none;
    std::string from2;
    std::string where2;
    MMTS::GetDataAccessSQL("", restricted, none, descriptors, from2, where2, true);
    EXPECT_EQ(from2, "");
}

TEST_F(RowAccess, ErrorsReachTheCaller)
{
    host::setHostConnection(nullptr);
    std::string from;
    std::string where;
    EXPECT_THROW(MMTS::GetDataAccessSQL("", restricted, tables, descriptors, from, where, true),
                 host::HostError);
}

TEST_F(RowAccess, RightsFollowTheRightsTable)
{
    const long holder = host::CLng(scalar("select min(FUserID) from t_UserRight where "
                                          "FRightIndex=5"));
    const long without = host::CLng(scalar("select min(FUserID) from t_user where FUserID not in "
                                           "(select FUserID from t_UserRight)"));
    host::GLData rights;
    setPropsString("UserID=" + std::to_string(holder));
    EXPECT_TRUE(rights.AccessCheck(1001, 5, 0x20000));
    EXPECT_FALSE(rights.AccessCheck(1001, 5, 0x30000));
    setPropsString("UserID=" + std::to_string(without));
    EXPECT_FALSE(rights.AccessCheck(1001, 5, 0x20000));
}

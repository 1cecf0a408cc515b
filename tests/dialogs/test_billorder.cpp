// The bill selection lists the bills of all its parts, stock bills and plan-tracking changes,
// in the order of their dates and numbers, whichever part found them.
#include "dialogsdb.h"

#include "dialogs/billselectsql.h"

namespace {

using BillSelection = DialogsDbTest;

TEST_F(BillSelection, ListsTheBillsOfAllItsPartsByDateAndNumber)
{
    // A transfer out of the line's place and a plan-tracking change away from the line's
    // number, both posted after the snapshot and dated before its first receipt.
    sql("INSERT INTO ICTransactionType (FID,FName) VALUES (41,'调拨')");
    sql("INSERT INTO ICStockBill (FInterID,FBillNo,FTranType,FDate,FCheckerID,FCancellation) "
        "VALUES (104,'TRF104',41,'2026-12-01',16,0)");
    sql("INSERT INTO ICStockBillEntry (FInterID,FEntryID,FItemID,FUnitID,FSCStockID,FSCSPID,"
        "FDCStockID,FDCSPID,FQty) VALUES (104,1,1,1,1,1,2,0,3)");
    sql("INSERT INTO t_MTOChange (FID,FBillNo,FClassTypeID,FDate,FCheckerID) VALUES "
        "(5,'MTO005',1107011,'2026-11-30',16)");
    sql("INSERT INTO t_MTOChangeEntry (FID,FEntryID,FItemID,FUnitID,FStockID,FSPID,FFromMtoNo,"
        "FToMtoNo,FChangeBaseQty) VALUES (5,1,1,1,1,1,'','P2',2)");

    BillSelectOptions options;
    options.procId = 1;
    setSnapshotConditions(options, 1, {}, 100, 3);
    options.planMode = true;
    options.billTypeName = "x1.FName";
    options.changeTypeName = "x1.FName_CHS";
    BillSelectLine line;
    line.stockId = 1;
    line.itemId = 1;
    line.stockPlaceId = 1;
    std::vector<std::string> listed;
    for (auto rs = sql(billSelectSQL(line, options)); !rs->EOF(); rs->MoveNext())
        listed.push_back(host::CStr(rs->Fields(5L).Value()) + ":" +
                         host::CStr(rs->Fields("FInOrOut").Value()));
    EXPECT_EQ(listed, (std::vector<std::string>{"MTO005:0", "TRF104:0", "WIN101:1", "WIN101:1",
                                                "XOUT102:0", "MTO004:1"}));
}

} // namespace

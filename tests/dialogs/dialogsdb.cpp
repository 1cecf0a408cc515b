#include "dialogsdb.h"

#include "host/components/hostcomponents.h"
#include "host/db/hostdatabase.h"
#include "host/props/shareprops.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "support/hostdatabases.h"

namespace {

const char *const kData = R"(
INSERT INTO t_UnitGroup (FUnitGroupID,FNumber,FName) VALUES (1,'G1','数量'),(2,'G2','重量')
INSERT INTO t_MeasureUnit (FMeasureUnitID,FItemID,FUnitGroupID,FNumber,FShortNumber,FName,FCoefficient)
  VALUES (1,1,1,'01','pcs','个',1),(2,2,1,'02','box','盒',12),(3,3,2,'03','kg','千克',1)
INSERT INTO t_item (FItemID,FItemClassID,FNumber,FName,FFullName) VALUES
  (1,5,'S01','原料仓','原料仓'),(2,5,'S02','成品仓','成品仓')
INSERT INTO t_Stock (FItemID,FNumber,FShortNumber,FName,FIsStockMgr,FSPGroupID) VALUES
  (1,'S01','s1','原料仓',1,1),(2,'S02','s2','成品仓',0,0)
INSERT INTO t_StockPlace (FSPID,FSPGroupID,FNumber,FShortNumber,FName,FDetail) VALUES
  (0,0,'*','*','*',1),(1,1,'A.01','a1','A区一号',1),(2,1,'A','a','A区',0),(3,2,'B.01','b1','B区',1)
INSERT INTO t_AuxItem (FItemID,FItemClassID,FNumber,FName) VALUES
  (7,1,'RED','红色'),(8,1,'BLUE','蓝色'),(9,2,'BIG','大号')
INSERT INTO t_ICItemBase (FItemID,FNumber,FShortNumber,FName,FModel,FHelpCode,FUnitID,FStoreUnitID,
  FCUUnitID,FSecUnitID,FQtyDecimal,FAuxClassID) VALUES
  (1,'01.001','001','螺栓','M8','LS',1,2,2,0,2,0),
  (2,'01.002','002','油漆',NULL,'YQ',1,1,1,3,0,1),
  (3,'01.003','003','电机','Y2','DJ',1,1,1,0,2,0)
INSERT INTO t_ICItemMaterial (FItemID,FBatchManager,FISKFPeriod,FKFPeriod,FISSNManage) VALUES
  (1,0,0,0,0),(2,1,1,180,0),(3,0,0,0,1)
INSERT INTO t_barcode (FBarcode,FTypeID,FItemID) VALUES ('6901234567890',4,2)
INSERT INTO ICInventory (FItemID,FStockID,FBatchNo,FQty) VALUES (2,2,'L01',5),(2,2,'L02',7)
INSERT INTO ICStockCheckProcess (FID,FProcessID,FDate,FBackupType,FMaxBillInterID,FMaxMTOChangeID)
  VALUES (1,'PD001','2026-12-01',1,100,3)
INSERT INTO ICInvBackup (FInterID,FItemID,FUnitID,FStockID,FStockPlaceID,FKFDate,FQty,FCheckQty,
  FQtyAct,FAuxQty,FAuxCheckQty,FAuxQtyAct,FMinus,FDateBackup,FMaxBillInterID)
  VALUES (1,1,2,1,1,'',24,24,24,2,2,2,0,'2026-12-01 09:00:00',100)
INSERT INTO ICTransactionType (FID,FName,FName_CHT,FName_EN) VALUES
  (1,'外购入库','外購入庫','Purchase receipt'),(21,'销售出库','銷售出庫','Sales issue')
INSERT INTO ICClassType (FID,FName,FName_CHS,FName_CHT,FName_EN) VALUES
  (1107011,'计划跟踪号调整','计划跟踪号调整','計劃跟蹤號調整','Plan-tracking change')
INSERT INTO ICStockBill (FInterID,FBillNo,FTranType,FDate,FCheckerID,FCancellation) VALUES
  (99,'WIN099',1,'2026-11-30',16,0),(101,'WIN101',1,'2026-12-02',16,0),
  (102,'XOUT102',21,'2026-12-03',16,0),(103,'XOUT103',21,'2026-12-03',16,1)
INSERT INTO ICStockBillEntry (FInterID,FEntryID,FItemID,FUnitID,FDCStockID,FDCSPID,FQty) VALUES
  (99,1,1,1,1,1,5),(101,1,1,1,1,1,10),(101,2,1,1,1,1,2),(102,1,1,1,1,1,4),(103,1,1,1,1,1,8)
INSERT INTO t_MTOChange (FID,FBillNo,FClassTypeID,FDate,FCheckerID) VALUES
  (2,'MTO002',1107011,'2026-11-29',16),(4,'MTO004',1107011,'2026-12-04',16)
INSERT INTO t_MTOChangeEntry (FID,FEntryID,FItemID,FUnitID,FStockID,FSPID,FFromMtoNo,FToMtoNo,
  FChangeBaseQty) VALUES (2,1,1,1,1,1,'P9','',6),(4,1,1,1,1,1,'P1','',3)
)";

} // namespace

void DialogsDbTest::SetUp()
{
    setenv("STOCKCHECK_DATA_DIR", STOCKCHECK_DATA_DIR, 1);
    host::registerHostComponents();
    host::ShareProps().RemoveAll();
    const char *props = "UserID=16394;SUBID=ic;LANGUAGE=CHS;UserName=tester;";
    host::ShareProps().SetProperty(host::currentProcessId(), "PropsString", props);
    resetModuleState();
    MParse::ParseProps(props);
    m_db = openSchemaDatabase();
    m_db->Execute(kData);
    module().gAppConn = m_db;
    module().gCurInterID = 1;
    module().gUseShortNumber = true;
    host::setHostConnection(m_db);
}

void DialogsDbTest::TearDown()
{
    resetModuleState();
    host::setHostConnection(nullptr);
}

std::shared_ptr<host::Recordset> DialogsDbTest::sql(const std::string &text)
{
    return m_db->Execute(text);
}

std::string DialogsDbTest::value(const std::string &query)
{
    auto rs = sql(query);
    if (rs->RecordCount() == 0)
        return {};
    rs->MoveFirst();
    return host::CStr(rs->Fields(0L).Value());
}

long DialogsDbTest::count(const std::string &query)
{
    return sql(query)->RecordCount();
}

std::string DialogsDbTest::countLines()
{
    std::string text;
    for (auto rs = sql("select * from ICInvBackup order by FItemID,FBatchNo"); !rs->EOF();
         rs->MoveNext()) {
        for (long i = 0; i < rs->FieldCount(); ++i)
            text += rs->Fields(i).Name() + "=" +
                    (rs->Fields(i).Value().isNull() ? "NULL" : host::CStr(rs->Fields(i).Value())) +
                    ";";
        text += "\n";
    }
    return text;
}

#include "countsheetdb.h"

#include "host/core/paths.h"
#include "host/db/hostdatabase.h"
#include "sampledata/columntemplates.h"
#include "services/modulestate.h"
#include "support/hostdatabases.h"

namespace {

const char *const kData[] = {
    "INSERT INTO t_MeasureUnit "
    "(FMeasureUnitID,FItemID,FUnitGroupID,FNumber,FShortNumber,FName,FCoefficient) VALUES "
    "(1,1,1,'01','pcs','个',1)",
    "INSERT INTO t_MeasureUnit "
    "(FMeasureUnitID,FItemID,FUnitGroupID,FNumber,FShortNumber,FName,FCoefficient) VALUES "
    "(2,2,1,'02','box','盒',12)",
    "INSERT INTO t_MeasureUnit "
    "(FMeasureUnitID,FItemID,FUnitGroupID,FNumber,FShortNumber,FName,FCoefficient) VALUES "
    "(3,3,2,'03','kg','千克',1)",
    "INSERT INTO t_MeasureUnit "
    "(FMeasureUnitID,FItemID,FUnitGroupID,FNumber,FShortNumber,FName,FCoefficient) VALUES "
    "(4,4,1,'04','lot','批',0)",
    "INSERT INTO t_Stock (FItemID,FNumber,FShortNumber,FName) VALUES (1,'S01','s1','原料仓')",
    "INSERT INTO t_Stock (FItemID,FNumber,FShortNumber,FName) VALUES (2,'S02','s2','成品仓')",
    "INSERT INTO t_StockPlace (FSPID,FNumber,FShortNumber,FName) VALUES (1,'A.01','a1','A区')",
    "INSERT INTO t_AuxItem (FItemID,FItemClassID,FNumber,FName) VALUES (7,1,'RED','红色')",
    "INSERT INTO t_ICItemMaterial (FItemID) SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3 "
    "UNION ALL SELECT 4 UNION ALL SELECT 5",
    "INSERT INTO t_ICItemBase (FItemID,FNumber,FShortNumber,FName,FModel,FDeleted,FUnitID,"
    "FStoreUnitID,FCUUnitID,FSecUnitID,FQtyDecimal) VALUES (1,'01.001','001','螺栓','M8',0,1,2,2,"
    "0,2)",
    "INSERT INTO t_ICItemBase (FItemID,FNumber,FShortNumber,FName,FModel,FDeleted,FUnitID,"
    "FStoreUnitID,FCUUnitID,FSecUnitID,FQtyDecimal) VALUES (2,'01.002','002','螺母','M6',0,1,1,1,"
    "3,4)",
    "INSERT INTO t_ICItemBase (FItemID,FNumber,FShortNumber,FName,FModel,FDeleted,FUnitID,"
    "FStoreUnitID,FCUUnitID,FSecUnitID,FQtyDecimal) VALUES (3,'02.001','003','垫圈','',1,1,1,1,0,"
    "0)",
    "INSERT INTO t_ICItemBase (FItemID,FNumber,FShortNumber,FName,FModel,FDeleted,FUnitID,"
    "FStoreUnitID,FCUUnitID,FSecUnitID,FQtyDecimal) VALUES (4,'02.002','004','弹簧','',0,1,2,2,0,"
    "2)",
    "INSERT INTO t_ICItemBase (FItemID,FNumber,FShortNumber,FName,FModel,FDeleted,FUnitID,"
    "FStoreUnitID,FCUUnitID,FSecUnitID,FQtyDecimal) VALUES (5,'03.001','005','油漆','',0,1,4,4,0,"
    "3)",
    // Line A: 2 boxes on the books, 2.5 counted: a gain of 6 pieces.
    "INSERT INTO ICInvBackup (FInterID,FItemID,FAuxPropID,FUnitID,FBatchNo,FStockID,"
    "FStockPlaceID,FKFDate,FKFPeriod,FQty,FCheckQty,FQtyAct,FAuxQty,FAuxCheckQty,FAuxQtyAct,"
    "FMinus,FNote,FDateBackup,FMaxBillInterID) VALUES (1,1,7,2,'B1',1,1,'',0,24,30,30,2,2.5,2.5,"
    "6,'note A','2026-01-10 09:30:00',100)",
    // Line B: 10 on the books, 8 counted: a loss of 2, and of 1 in the second unit.
    "INSERT INTO ICInvBackup (FInterID,FItemID,FUnitID,FStockID,FKFDate,FKFPeriod,FQty,"
    "FCheckQty,FQtyAct,FAuxQty,FAuxCheckQty,FAuxQtyAct,FMinus,FSecUnitID,FSecQty,FSecCheckQty,"
    "FSecQtyAct,FSecMinus,FDateBackup) VALUES (1,2,1,2,'2024-05-01',180,10,8,8,10,8,8,-2,3,5,4,4,"
    "-1,'2026-01-10 09:30:00')",
    "INSERT INTO ICInvBackup (FInterID,FItemID,FUnitID,FStockID,FQty,FCheckQty,FQtyAct,FAuxQty,"
    "FAuxCheckQty,FAuxQtyAct,FMinus,FKFDate) VALUES (1,3,1,1,4,4,4,4,4,4,0,'')",
    "INSERT INTO ICInvBackup (FInterID,FItemID,FUnitID,FStockID,FQty,FCheckQty,FQtyAct,FAuxQty,"
    "FAuxCheckQty,FAuxQtyAct,FMinus,FKFDate) VALUES (1,5,4,1,1,4,4,1,4,4,3,'')",
    "INSERT INTO ICInvBackup (FInterID,FItemID,FUnitID,FStockID,FQty,FCheckQty,FQtyAct,FAuxQty,"
    "FAuxCheckQty,FAuxQtyAct,FMinus,FKFDate) VALUES (2,1,2,1,12,12,12,1,1,1,0,'')",
};

} // namespace

void CountSheetDbTest::SetUp()
{
    setenv("STOCKCHECK_DATA_DIR", STOCKCHECK_DATA_DIR, 1);
    host::registerHostComponents();
    host::ShareProps().RemoveAll();
    host::ShareProps().SetProperty(host::currentProcessId(), "PropsString",
                                   "UserID=16394;SUBID=ic;LANGUAGE=CHS;UserName=tester;");
    resetModuleState();
    m_db = openSchemaDatabase();
    sampledata::writeColumnTemplates(*m_db);
    for (const char *statement : kData)
        m_db->Execute(statement);
    module().gAppConn = m_db;
    host::setHostConnection(m_db);
}

void CountSheetDbTest::TearDown()
{
    resetModuleState();
    host::setHostConnection(nullptr);
}

std::vector<std::string> CountSheetDbTest::messages() const
{
    std::vector<std::string> texts;
    for (const auto &message : m_modals.messages())
        texts.push_back(message.text.toStdString());
    return texts;
}

std::shared_ptr<host::Recordset> CountSheetDbTest::sql(const std::string &text)
{
    return m_db->Execute(text);
}

double CountSheetDbTest::number(const std::string &query)
{
    auto rs = sql(query);
    rs->MoveFirst();
    return host::CDbl(rs->Fields(0L).Value());
}

std::string CountSheetDbTest::text(const std::string &query)
{
    auto rs = sql(query);
    rs->MoveFirst();
    return host::CStr(rs->Fields(0L).Value());
}

long CountSheetDbTest::count(const std::string &query)
{
    return sql(query)->RecordCount();
}

#include "backuptest.h"

#include "host/components/hostcomponents.h"
#include "host/core/datetime.h"
#include "host/core/objectfactory.h"
#include "host/core/sqltext.h"
#include "host/db/hostdatabase.h"
#include "host/db/recordset/recordset.h"
#include "host/props/shareprops.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "support/hostdatabases.h"

#include <cstdlib>

namespace {

std::string number(double value)
{
    return host::numberToText(value);
}

} // namespace

void BackupTest::SetUp()
{
    setenv("STOCKCHECK_DATA_DIR", STOCKCHECK_DATA_DIR, 1);
    host::registerHostComponents();
    host::ShareProps().RemoveAll();
    resetModuleState();
    m_modals = std::make_unique<host::ui::ScriptedModals>();

    m_conn = openDatabase();
    host::setHostConnection(m_conn);

    exec("insert into t_MeasureUnit (FMeasureUnitID,FItemID,FUnitGroupID,FNumber,FName,"
         "FCoefficient) values (1,1,1,'PCS','Piece',1)");
    exec("insert into t_MeasureUnit (FMeasureUnitID,FItemID,FUnitGroupID,FNumber,FName,"
         "FCoefficient) values (2,2,1,'BOX','Box',12)");
    exec("insert into t_MeasureUnit (FMeasureUnitID,FItemID,FUnitGroupID,FNumber,FName,"
         "FCoefficient) values (3,3,2,'KG','Kilogram',1)");
    const struct
    {
        long id;
        const char *number;
        const char *name;
        long storeUnit;
        long secUnit;
    } items[] = {{kItemBox, "A01", "Bolt", 2, 3},
                 {kItemPiece, "A02", "Nut", 1, 0},
                 {kItemOther, "B01", "Washer", 1, 0}};
    for (const auto &item : items) {
        exec("insert into t_ICItemBase (FItemID,FNumber,FShortNumber,FName,FUnitID,FStoreUnitID,"
             "FCUUnitID,FSecUnitID) values (" +
             std::to_string(item.id) + ",'" + item.number + "','s" + item.number + "','" +
             item.name + "',1," + std::to_string(item.storeUnit) + ",1," +
             std::to_string(item.secUnit) + ")");
        exec("insert into t_ICItemMaterial (FItemID) values (" + std::to_string(item.id) + ")");
    }
    for (long stock = 1; stock <= 3; ++stock)
        exec("insert into t_Stock (FItemID,FNumber,FName) values (" + std::to_string(stock) +
             ",'S0" + std::to_string(stock) + "','Stock " + std::to_string(stock) + "')");
    exec("insert into t_StockPlace (FSPID,FNumber,FName) values (0,'','')");
    exec("insert into t_StockPlace (FSPID,FNumber,FName) values (10,'P10','Shelf A')");
    exec("insert into t_StockPlace (FSPID,FNumber,FName) values (11,'P11','Shelf B')");
    exec("insert into t_user (FUserID,FName) values (16394,'admin')");
    exec("insert into t_user (FUserID,FName) values (2,'clerk')");
    for (int year : {2025, 2026})
        for (int month = 1; month <= 12; ++month)
            exec("insert into t_PeriodDate (FYear,FPeriod,FStartDate,FEndDate) values (" +
                 std::to_string(year) + "," + std::to_string(month) + ",'" +
                 host::formatDate(host::makeDate(year, month, 1), "YYYY-MM-DD") + "','" +
                 host::formatDate(host::makeDate(year, month, host::daysInMonth(year, month)),
                                  "YYYY-MM-DD") +
                 "')");
    exec("insert into icbillno (FBillID,FCurNo) values (-1,1)");
}

std::shared_ptr<host::AppConnection> BackupTest::openDatabase()
{
    return openSchemaDatabase();
}

void BackupTest::TearDown()
{
    resetModuleState();
    host::setHostConnection(nullptr);
    m_modals.reset();
}

std::vector<std::string> BackupTest::messages() const
{
    std::vector<std::string> texts;
    for (const auto &text : m_modals->messageTexts())
        texts.push_back(text.toStdString());
    return texts;
}

bool BackupTest::lastMessageIsInformation() const
{
    const auto &shown = m_modals->messages();
    return !shown.empty() &&
           shown.back().kind == host::ui::ScriptedModals::MessageKind::MessageBox &&
           shown.back().style == 64 &&
           shown.back().title.toStdString() == MParse::LoadLangString("Hembrel提示");
}

std::shared_ptr<host::Recordset> BackupTest::exec(const std::string &sql)
{
    return m_conn->Execute(sql);
}

std::vector<Row> BackupTest::rows(const std::string &sql)
{
    auto rs = exec(sql);
    std::vector<Row> out;
    if (!rs || rs->State() == host::Recordset::adStateClosed)
        return out;
    for (; !rs->EOF(); rs->MoveNext()) {
        Row row;
        for (long i = 0; i < rs->FieldCount(); ++i)
            row.push_back(rs->Fields(i).Value());
        out.push_back(std::move(row));
    }
    return out;
}

host::Variant BackupTest::scalar(const std::string &sql)
{
    const auto result = rows(sql);
    return result.empty() ? host::Variant() : result.front().front();
}

long BackupTest::count(const std::string &table, const std::string &where)
{
    return host::CLng(scalar("select count(*) from " + table + " where " + where));
}

void BackupTest::addStock(const StockRow &r)
{
    exec("insert into ICInventory (FItemID,FStockID,FStockPlaceID,FBatchNo,FMtoNo,FAuxPropID,"
         "FKFDate,FKFPeriod,FQty,FSecQty) values (" +
         std::to_string(r.item) + "," + std::to_string(r.stock) + "," + std::to_string(r.place) +
         "," + host::sqlString(r.batch) + "," + host::sqlString(r.mto) + "," +
         std::to_string(r.aux) + "," + host::sqlString(r.kfDate) + "," +
         std::to_string(r.kfPeriod) + "," + number(r.qty) + "," + number(r.secQty) + ")");
}

void BackupTest::addBill(long interId, long tranType, const std::string &date, long item,
                         double qty, long dcStock, long dcPlace, long scStock, long scPlace,
                         bool audited)
{
    auto idOrNull = [](long id) { return id ? std::to_string(id) : std::string("NULL"); };
    exec("insert into ICStockBill (FInterID,FBillNo,FTranType,FDate,FCheckerID) values (" +
         std::to_string(interId) + ",'B" + std::to_string(interId) + "'," +
         std::to_string(tranType) + ",'" + date + "'," + (audited ? "16394" : "NULL") + ")");
    exec("insert into ICStockBillEntry (FInterID,FEntryID,FItemID,FUnitID,FQty,FDCStockID,"
         "FDCSPID,FSCStockID,FSCSPID) values (" +
         std::to_string(interId) + ",1," + std::to_string(item) + ",1," + number(qty) + "," +
         idOrNull(dcStock) + "," + idOrNull(dcStock ? dcPlace : 0) + "," + idOrNull(scStock) + "," +
         idOrNull(scStock ? scPlace : 0) + ")");
}

void BackupTest::addProcess(long id, const std::string &processNumber, const std::string &date,
                            long status, long operatorId)
{
    exec("insert into ICStockCheckProcess (FID,FProcessID,FDate,FOperatorID,FStatus) values (" +
         std::to_string(id) + ",'" + processNumber + "','" + date + "'," +
         std::to_string(operatorId) + "," + std::to_string(status) + ")");
}

host::Dictionary BackupTest::params(const std::string &stock, const std::string &filter,
                                    const std::string &date)
{
    host::Dictionary p;
    p.SetValue("Stock", stock);
    p.SetValue("Filter", filter);
    p.SetValue("Date", date);
    p.SetValue("Operater", kOperator);
    return p;
}

std::string BackupTest::today()
{
    return host::formatDate(host::now(), "YYYY-MM-DD");
}

std::string BackupTest::todayCompact()
{
    return host::formatDate(host::now(), "YYYYMMDD");
}

bool BackupTest::backUp(ICBackupInv &backup, const host::Dictionary &p, bool cutDate,
                        const std::string &cutOff)
{
    if (!backup.GetStockBillMaxID())
        return false;
    return backup.BackUpData(p, cutDate, cutDate ? *host::parseDate(cutOff) : 0.0, false, true);
}

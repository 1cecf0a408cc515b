#include "sampledata/writer.h"

#include "sampledata/values.h"

#include "host/core/datetime.h"
#include "host/db/appconnection.h"

namespace sampledata {
namespace {

constexpr int kMtoChangeClass = 1107011;

// One bill line with the bill it belongs to, for loading the entries table.
struct EntryRef
{
    const StockBill *bill;
    int entryId;
    const BillEntry *entry;
};

struct ChangeRef
{
    const MtoChange *change;
    int entryId;
    const MtoChangeEntry *entry;
};

// The opening balances of the current period and of the one before, which saw no movements.
struct BalanceRef
{
    int year;
    int period;
    const Position *position;
};

void writeBalances(host::AppConnection &connection, const Company &company)
{
    const int previousYear =
        company.currentPeriod == 1 ? company.currentYear - 1 : company.currentYear;
    const int previousPeriod = company.currentPeriod == 1 ? 12 : company.currentPeriod - 1;
    std::vector<BalanceRef> balances;
    for (const auto &position : company.positions) {
        if (position.begQty == 0 && position.begSecQty == 0)
            continue;
        balances.push_back({company.currentYear, company.currentPeriod, &position});
        balances.push_back({previousYear, previousPeriod, &position});
    }
    load(connection, "ICInvBal",
         {"FBrNo", "FYear", "FPeriod", "FItemID", "FStockID", "FStockPlaceID", "FBatchNo", "FMtoNo",
          "FAuxPropID", "FKFDate", "FKFPeriod", "FBegQty", "FSecBegQty", "FStockInDate"},
         balances, [](const BalanceRef &ref) -> Row {
             const auto &p = *ref.position;
             return {"0",         ref.year,
                     ref.period,  p.itemId,
                     p.stockId,   p.placeId,
                     p.batchNo,   p.mtoNo,
                     p.auxPropId, dateOrNull(p.kfDate),
                     p.kfPeriod,  p.begQty,
                     p.begSecQty, host::Variant::fromDate(p.stockInDate)};
         });
}

void writeBills(host::AppConnection &connection, const Company &company)
{
    load(connection, "ICStockBill",
         {"FBrNo", "FInterID", "FBillNo", "FTranType", "FDate", "FROB", "FBillerID", "FCheckerID",
          "FUpStockWhenSave", "FCancellation", "FProcID"},
         company.bills, [](const StockBill &bill) -> Row {
             return {"0",
                     bill.interId,
                     bill.billNo,
                     bill.tranType,
                     host::Variant::fromDate(bill.date),
                     bill.rob,
                     bill.billerId,
                     bill.checkerId ? host::Variant(bill.checkerId) : host::Variant::null(),
                     flag(bill.upStockWhenSave),
                     flag(bill.cancelled),
                     0};
         });
    std::vector<EntryRef> entries;
    for (const auto &bill : company.bills) {
        int entryId = 0;
        for (const auto &entry : bill.entries)
            entries.push_back({&bill, ++entryId, &entry});
    }
    load(connection, "ICStockBillEntry",
         {"FBrNo", "FInterID", "FEntryID", "FItemID", "FAuxPropID", "FBatchNo", "FMtoNo", "FUnitID",
          "FQty", "FSecQty", "FDCStockID", "FDCSPID", "FSCStockID", "FSCSPID", "FKFDate",
          "FKFPeriod", "FSelectedProcID"},
         entries, [&company](const EntryRef &ref) -> Row {
             const auto &e = *ref.entry;
             const auto &p = company.positions[static_cast<std::size_t>(e.position)];
             return {"0",
                     ref.bill->interId,
                     ref.entryId,
                     p.itemId,
                     p.auxPropId,
                     p.batchNo,
                     p.mtoNo,
                     company.item(p.itemId).storeUnitId,
                     e.qty,
                     e.secQty,
                     orNull(e.dcStockId),
                     orNull(e.dcPlaceId),
                     orNull(e.scStockId),
                     orNull(e.scPlaceId),
                     dateOrNull(p.kfDate),
                     p.kfPeriod,
                     0};
         });
}

void writeChanges(host::AppConnection &connection, const Company &company)
{
    load(connection, "t_MTOChange",
         {"FID", "FBillNo", "FClassTypeID", "FDate", "FBillerID", "FCheckerID", "FUpStockWhenSave"},
         company.mtoChanges, [](const MtoChange &change) -> Row {
             return {change.id,
                     change.billNo,
                     kMtoChangeClass,
                     host::Variant::fromDate(change.date),
                     change.billerId,
                     change.checkerId ? host::Variant(change.checkerId) : host::Variant::null(),
                     flag(change.upStockWhenSave)};
         });
    std::vector<ChangeRef> entries;
    for (const auto &change : company.mtoChanges) {
        int entryId = 0;
        for (const auto &entry : change.entries)
            entries.push_back({&change, ++entryId, &entry});
    }
    load(connection, "t_MTOChangeEntry",
         {"FID", "FEntryID", "FItemID", "FAuxPropID", "FStockID", "FSPID", "FBatchNo", "FFromMtoNo",
          "FToMtoNo", "FKFDate", "FKFPeriod", "FUnitID", "FChangeBaseQty", "FChangeSecQty",
          "FSelectedProcID"},
         entries, [&company](const ChangeRef &ref) -> Row {
             const auto &from = company.positions[static_cast<std::size_t>(ref.entry->from)];
             const auto &to = company.positions[static_cast<std::size_t>(ref.entry->to)];
             return {ref.change->id,
                     ref.entryId,
                     from.itemId,
                     from.auxPropId,
                     from.stockId,
                     from.placeId,
                     from.batchNo,
                     from.mtoNo,
                     to.mtoNo,
                     dateOrNull(from.kfDate),
                     from.kfPeriod,
                     company.item(from.itemId).storeUnitId,
                     ref.entry->qty,
                     ref.entry->secQty,
                     0};
         });
}

} // namespace

void writeStock(host::AppConnection &connection, const Company &company)
{
    load(connection, "ICInventory",
         {"FBrNo", "FItemID", "FStockID", "FStockPlaceID", "FBatchNo", "FMtoNo", "FAuxPropID",
          "FKFDate", "FKFPeriod", "FQty", "FSecQty"},
         company.positions, [](const Position &p) -> Row {
             // The book stock keeps the production date as text, '' when there is none.
             const std::string kfDate = p.kfDate ? host::formatDate(*p.kfDate, "YYYY-MM-DD") : "";
             return {"0",         p.itemId, p.stockId,  p.placeId, p.batchNo, p.mtoNo,
                     p.auxPropId, kfDate,   p.kfPeriod, p.qty,     p.secQty};
         });
    writeBalances(connection, company);
    writeBills(connection, company);
    writeChanges(connection, company);
}

} // namespace sampledata

#include "sampledata/writer.h"

#include "sampledata/values.h"

#include "host/db/appconnection.h"

namespace sampledata {
namespace {

// Base-data classes of t_item.
constexpr int kEmployeeClass = 3;
constexpr int kItemClass = 4;
constexpr int kStockClass = 5;
constexpr int kUnitClass = 7;

Row itemRow(int id, int classId, const std::string &number, const std::string &shortNumber,
            const std::string &name, const std::string &fullName, bool deleted = false)
{
    return {id, classId, number, shortNumber, name, fullName, 0, 1, flag(deleted)};
}

// Every base-data record also has its row in t_item.
std::vector<Row> itemRows(const Company &company)
{
    std::vector<Row> rows;
    for (const auto &unit : company.units)
        rows.push_back(
            itemRow(unit.id, kUnitClass, unit.number, unit.number, unit.name, unit.name));
    for (const auto &stock : company.stocks)
        rows.push_back(itemRow(stock.id, kStockClass, stock.number, stock.shortNumber, stock.name,
                               stock.name));
    for (const auto &value : company.auxItems)
        rows.push_back(
            itemRow(value.id, value.classId, value.number, value.number, value.name, value.name));
    for (const auto &item : company.items)
        rows.push_back(itemRow(item.id, kItemClass, item.number, item.shortNumber, item.name,
                               item.name + " " + item.model, item.deleted));
    for (const auto &user : company.users) {
        const std::string number = "E" + std::to_string(user.id);
        rows.push_back(itemRow(user.id, kEmployeeClass, number, number, user.name, user.name));
    }
    return rows;
}

void writeUnits(host::AppConnection &connection, const Company &company)
{
    load(connection, "t_UnitGroup", {"FUnitGroupID", "FNumber", "FName", "FDefaultUnitID"},
         company.unitGroups, [](const UnitGroup &group) -> Row {
             return {group.id, group.number, group.name, group.defaultUnitId};
         });
    load(connection, "t_MeasureUnit",
         {"FMeasureUnitID", "FItemID", "FUnitGroupID", "FNumber", "FShortNumber", "FName",
          "FCoefficient", "FStandard"},
         company.units, [](const Unit &unit) -> Row {
             return {unit.id,     unit.id,   unit.groupId,     unit.number,
                     unit.number, unit.name, unit.coefficient, flag(unit.standard)};
         });
}

void writeStocks(host::AppConnection &connection, const Company &company)
{
    load(connection, "t_SPGroup", {"FSPGroupID", "FNumber", "FName"}, company.placeGroups,
         [](const PlaceGroup &group) -> Row {
             return {group.id, group.number, group.name};
         });
    // FSPID 0 is the place of every stock row that has none.
    std::vector<Place> places{Place{0, 0, "*", "*", "*", 0, true}};
    places.insert(places.end(), company.places.begin(), company.places.end());
    load(connection, "t_StockPlace",
         {"FSPID", "FSPGroupID", "FNumber", "FShortNumber", "FName", "FFullName", "FParentID",
          "FDetail"},
         places, [](const Place &place) -> Row {
             return {place.id,   place.groupId, place.number,   place.shortNumber,
                     place.name, place.name,    place.parentId, flag(place.detail)};
         });
    load(connection, "t_Stock",
         {"FItemID", "FNumber", "FShortNumber", "FName", "FTypeID", "FIsStockMgr", "FSPGroupID"},
         company.stocks, [](const Stock &stock) -> Row {
             return {stock.id,          stock.number, stock.shortNumber,
                     stock.name,        stock.typeId, flag(stock.placeGroupId != 0),
                     stock.placeGroupId};
         });
}

void writeItems(host::AppConnection &connection, const Company &company)
{
    load(connection, "t_ICItemBase",
         {"FItemID", "FNumber", "FShortNumber", "FName", "FModel", "FHelpCode", "FErpClsID",
          "FDeleted", "FUnitGroupID", "FUnitID", "FStoreUnitID", "FCUUnitID", "FSecUnitID",
          "FSecCoefficient", "FQtyDecimal", "FPriceDecimal", "FSecUnitDecimal", "FAuxClassID"},
         company.items, [](const Item &item) -> Row {
             return {item.id,           item.number,         item.shortNumber,
                     item.name,         item.model,          item.helpCode,
                     item.erpClsId,     flag(item.deleted),  item.unitGroupId,
                     item.unitId,       item.storeUnitId,    item.storeUnitId,
                     item.secUnitId,    item.secCoefficient, item.qtyDecimal,
                     item.priceDecimal, item.secUnitDecimal, item.auxClassId};
         });
    load(connection, "t_ICItemMaterial",
         {"FItemID", "FBatchManager", "FISKFPeriod", "FKFPeriod", "FISSNManage", "FSerialClassID",
          "FCheckCycUnit", "FCheckCycle", "FDaysPer", "FLastCheckDate"},
         company.items, [](const Item &item) -> Row {
             return {item.id,
                     flag(item.batchManaged),
                     flag(item.shelfLife),
                     item.kfPeriod,
                     flag(item.serialManaged),
                     item.serialManaged ? orNull(item.serialClassId) : host::Variant::null(),
                     static_cast<int>(item.cycleUnit),
                     item.cycle,
                     item.daysPer,
                     dateOrNull(item.lastCheckDate)};
         });
    std::vector<const Item *> withBarcode;
    for (const auto &item : company.items) {
        if (!item.barcode.empty())
            withBarcode.push_back(&item);
    }
    constexpr int kItemBarcode = 4;
    load(connection, "t_barcode", {"FBarcode", "FTypeID", "FItemID"}, withBarcode,
         [](const Item *item) -> Row {
             return {item->barcode, kItemBarcode, item->id};
         });
}

} // namespace

void writeBaseData(host::AppConnection &connection, const Company &company)
{
    writeUnits(connection, company);
    writeStocks(connection, company);
    load(connection, "t_AuxItem", {"FItemID", "FItemClassID", "FNumber", "FName"}, company.auxItems,
         [](const AuxItem &value) -> Row {
             return {value.id, value.classId, value.number, value.name};
         });
    writeItems(connection, company);
    load(connection, "t_Emp", {"FItemID", "FNumber", "FName"}, company.users,
         [](const User &user) -> Row {
             return {user.id, "E" + std::to_string(user.id), user.name};
         });
    load(connection, "t_item",
         {"FItemID", "FItemClassID", "FNumber", "FShortNumber", "FName", "FFullName", "FParentID",
          "FDetail", "FDeleted"},
         itemRows(company), [](const Row &row) { return row; });
}

} // namespace sampledata

#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sampledata {

// The sample company as it is built in memory before it is written. Dates are automation
// serials (host/core/datetime.h).

struct UnitGroup
{
    int id = 0;
    std::string number;
    std::string name;
    int defaultUnitId = 0;
};

struct Unit
{
    int id = 0;
    int groupId = 0;
    std::string number;
    std::string name;
    double coefficient = 1;
    bool standard = false;
};

struct PlaceGroup
{
    int id = 0;
    std::string number;
    std::string name;
};

struct Place
{
    int id = 0;
    int groupId = 0;
    std::string number;
    std::string shortNumber;
    std::string name;
    int parentId = 0;
    bool detail = true;
};

struct Stock
{
    int id = 0;
    std::string number;
    std::string shortNumber;
    std::string name;
    int typeId = 500;
    int placeGroupId = 0;      // 0: the stock keeps no stock places
    std::vector<int> placeIds; // the detail places of its group
};

struct AuxItem
{
    int id = 0;
    int classId = 0;
    std::string number;
    std::string name;
};

enum class CycleUnit
{
    None = 0,
    Month = 11601,
    Week = 11602,
    Day = 11603
};

struct Item
{
    int id = 0;
    std::string number;
    std::string shortNumber;
    std::string name;
    std::string model;
    std::string helpCode;
    int erpClsId = 1;
    bool deleted = false;
    int unitGroupId = 0;
    int unitId = 0;      // base unit: the stock tables hold quantities in it
    int storeUnitId = 0; // counting unit
    int secUnitId = 0;
    double secCoefficient = 0; // second-unit quantity per base unit
    int qtyDecimal = 2;
    int priceDecimal = 2;
    int secUnitDecimal = 2;
    int auxClassId = 0;
    bool batchManaged = false;
    bool shelfLife = false;
    int kfPeriod = 0; // shelf life in days
    bool serialManaged = false;
    int serialClassId = 0;
    bool mtoTracked = false;
    CycleUnit cycleUnit = CycleUnit::None;
    int cycle = 0;
    int daysPer = 0;
    std::optional<double> lastCheckDate;
    std::string barcode;
};

// One row of book stock. qty and secQty are the stock now; the opening balance is what is
// left when the effective movements of the current period are taken back out.
struct Position
{
    int itemId = 0;
    int stockId = 0;
    int placeId = 0;
    std::string batchNo;
    std::string mtoNo;
    int auxPropId = 0;
    std::optional<double> kfDate;
    int kfPeriod = 0;
    double qty = 0;
    double secQty = 0;
    double begQty = 0;
    double begSecQty = 0;
    double stockInDate = 0;
};

struct BillEntry
{
    int position = 0; // index into Company::positions of the stock row it moves
    double qty = 0;
    double secQty = 0;
    std::optional<int> dcStockId;
    std::optional<int> dcPlaceId;
    std::optional<int> scStockId;
    std::optional<int> scPlaceId;
};

struct StockBill
{
    int interId = 0;
    std::string billNo;
    int tranType = 0;
    double date = 0;
    int rob = 1;
    int billerId = 0;
    int checkerId = 0;
    bool upStockWhenSave = false;
    bool cancelled = false;
    std::vector<BillEntry> entries;

    // Audited or posted when saved, and not cancelled: the bill has moved the book stock.
    bool effective() const { return (checkerId != 0 || upStockWhenSave) && !cancelled; }
};

struct MtoChangeEntry
{
    int from = 0; // positions that differ only in the plan-tracking number
    int to = 0;
    double qty = 0;
    double secQty = 0;
};

struct MtoChange
{
    int id = 0;
    std::string billNo;
    double date = 0;
    int billerId = 0;
    int checkerId = 0;
    bool upStockWhenSave = false;
    std::vector<MtoChangeEntry> entries;

    bool effective() const { return checkerId != 0 || upStockWhenSave; }
};

struct User
{
    int id = 0;
    std::string name;
    std::string description;
    bool mayChangeCounts = false;
    bool mayViewReport = false;
    std::vector<int> visibleStockIds; // empty: no row-level restriction
};

struct Company
{
    double today = 0;
    int currentYear = 0;
    int currentPeriod = 0;
    std::vector<UnitGroup> unitGroups;
    std::vector<Unit> units;
    std::vector<PlaceGroup> placeGroups;
    std::vector<Place> places;
    std::vector<Stock> stocks;
    std::vector<AuxItem> auxItems;
    std::vector<Item> items;
    std::vector<Position> positions;
    std::vector<StockBill> bills;
    std::vector<MtoChange> mtoChanges;
    std::vector<User> users;

    const Item &item(int id) const;
    const Unit &unit(int id) const;
};

} // namespace sampledata

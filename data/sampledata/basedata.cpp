#include "sampledata/basedata.h"

#include "sampledata/catalog.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace sampledata {
namespace {

enum Kind
{
    Plain,
    CountingUnit,
    SecondUnit,
    Batch,
    ShelfLife,
    AuxProperty,
    Serial,
    CycleDays,
    CycleWeeks,
    CycleMonths,
    PlanTracked,
    Deleted,
    Virtual,
    KindCount
};

// The family each kind is shown on.
constexpr std::size_t kKindFamily[KindCount] = {0, 0, 0, 1, 2, 3, 4, 0, 1, 3, 4, 1, 4};

std::string twoDigits(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string serialText(const char *format, int value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

double roundTo(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

} // namespace

void BaseDataBuilder::addUnitsAndAuxItems()
{
    const auto &groups = catalog::unitGroups();
    for (std::size_t g = 0; g < groups.size(); ++g) {
        UnitGroup group;
        group.id = static_cast<int>(g) + 1;
        group.number = twoDigits(group.id);
        group.name = groups[g].name;
        int serial = 0;
        for (const auto &spec : catalog::units()) {
            if (spec.kind != groups[g].kind)
                continue;
            Unit unit;
            unit.id = nextId();
            unit.groupId = group.id;
            unit.number = group.number + "." + twoDigits(++serial);
            unit.name = spec.name;
            unit.coefficient = spec.coefficient;
            unit.standard = spec.standard;
            if (spec.standard)
                group.defaultUnitId = unit.id;
            m_company.units.push_back(unit);
        }
        m_company.unitGroups.push_back(group);
    }
    for (const auto &auxClass : catalog::auxClasses()) {
        int serial = 0;
        for (const auto &value : auxClass.values)
            m_company.auxItems.push_back({nextId(), auxClass.id, twoDigits(++serial), value});
    }
}

int BaseDataBuilder::unitId(const std::string &name) const
{
    for (const auto &unit : m_company.units) {
        if (unit.name == name)
            return unit.id;
    }
    throw std::invalid_argument("no unit named " + name);
}

void BaseDataBuilder::addStocks(int count)
{
    const auto &specs = catalog::stocks();
    for (int i = 0; i < count; ++i) {
        const auto &spec = specs[static_cast<std::size_t>(i) % specs.size()];
        const int round = i / static_cast<int>(specs.size());
        Stock stock;
        stock.id = nextId();
        stock.number = twoDigits(i + 1);
        stock.shortNumber = "CK" + twoDigits(i + 1);
        stock.name = round == 0 ? spec.name : spec.name + std::to_string(round + 1);
        stock.typeId = spec.typeId;
        if (spec.keepsPlaces)
            addPlaces(stock, static_cast<int>(m_company.placeGroups.size()) + 1);
        m_company.stocks.push_back(std::move(stock));
    }
}

void BaseDataBuilder::addPlaces(Stock &stock, int groupNumber)
{
    PlaceGroup group{groupNumber, twoDigits(groupNumber), stock.name + "货位组"};
    stock.placeGroupId = group.id;
    m_company.placeGroups.push_back(group);
    for (const char area : {'A', 'B'}) {
        Place parent;
        parent.id = m_nextPlaceId++;
        parent.groupId = group.id;
        parent.number = std::string(1, area);
        parent.shortNumber = parent.number;
        parent.name = parent.number + "区";
        parent.detail = false;
        m_company.places.push_back(parent);
        for (int slot = 1; slot <= 4; ++slot) {
            Place place;
            place.id = m_nextPlaceId++;
            place.groupId = group.id;
            place.number = parent.number + "." + twoDigits(slot);
            place.shortNumber = parent.number + twoDigits(slot);
            place.name = parent.name + twoDigits(slot) + "号货位";
            place.parentId = parent.id;
            stock.placeIds.push_back(place.id);
            m_company.places.push_back(std::move(place));
        }
    }
}

Item &BaseDataBuilder::addItem()
{
    const auto index = m_company.items.size();
    const auto &families = catalog::families();
    const bool covering = index < KindCount;
    const std::size_t familyIndex =
        covering
            ? kKindFamily[index]
            : static_cast<std::size_t>(m_random.range(0, static_cast<int>(families.size()) - 1));
    const auto &family = families[familyIndex];

    Item item;
    item.id = nextId();
    const auto productIndex =
        static_cast<std::size_t>(m_random.range(0, static_cast<int>(family.products.size()) - 1));
    const int serial = ++m_productSerials[{familyIndex, productIndex}];
    item.number = family.number + "." + twoDigits(static_cast<int>(productIndex) + 1) + "." +
                  serialText("%03d", serial);
    item.shortNumber = family.shortPrefix + serialText("%05d", ++m_familySerials[familyIndex]);
    item.helpCode = item.shortNumber;
    item.name = m_random.pick(family.materials) + family.products[productIndex];
    item.model = m_random.pick(family.models);
    item.unitId = unitId(family.baseUnit);
    item.unitGroupId = m_company.unit(item.unitId).groupId;
    item.storeUnitId = item.unitId;
    item.qtyDecimal = family.baseKind == catalog::UnitKind::Count ? 0 : 2;
    if (covering)
        giveKind(item, static_cast<int>(index));
    else
        drawTraits(item, familyIndex);
    if (m_random.chance(0.5))
        item.barcode = "690" + serialText("%010d", item.id);
    m_company.items.push_back(std::move(item));
    return m_company.items.back();
}

void BaseDataBuilder::giveKind(Item &item, int kind)
{
    const auto &family = catalog::families()[kKindFamily[kind]];
    switch (static_cast<Kind>(kind)) {
    case Plain:
        break;
    case CountingUnit:
        item.storeUnitId = unitId(family.packUnits.front());
        break;
    case SecondUnit:
        item.secUnitId = unitId("千克");
        item.secCoefficient = 0.025;
        break;
    case Batch:
        item.batchManaged = true;
        break;
    case ShelfLife:
        item.batchManaged = true;
        item.shelfLife = true;
        item.kfPeriod = 365;
        item.secUnitId = unitId("千克");
        item.secCoefficient = 0.92;
        break;
    case AuxProperty:
        item.auxClassId = catalog::auxClasses().front().id;
        break;
    case Serial:
        item.serialManaged = true;
        item.serialClassId = 1;
        break;
    case CycleDays:
        setCycle(item, CycleUnit::Day);
        break;
    case CycleWeeks:
        setCycle(item, CycleUnit::Week);
        break;
    case CycleMonths:
        setCycle(item, CycleUnit::Month);
        break;
    case PlanTracked:
        item.mtoTracked = true;
        break;
    case Deleted:
        item.deleted = true;
        break;
    case Virtual:
        item.erpClsId = 6;
        break;
    case KindCount:
        break;
    }
}

void BaseDataBuilder::drawTraits(Item &item, std::size_t familyIndex)
{
    const auto &family = catalog::families()[familyIndex];
    if (m_random.chance(0.4))
        item.storeUnitId = unitId(m_random.pick(family.packUnits));
    if (m_random.chance(0.3)) {
        item.secUnitId = unitId("千克");
        item.secCoefficient = roundTo(m_random.real(0.01, 2.5), 4);
    }
    if (family.baseKind == catalog::UnitKind::Volume) {
        item.batchManaged = true;
        item.shelfLife = true;
        item.kfPeriod = m_random.pick(std::vector<int>{180, 365, 730});
    } else {
        item.batchManaged = m_random.chance(0.2);
        item.auxClassId = m_random.chance(0.15) ? m_random.pick(catalog::auxClasses()).id : 0;
    }
    item.serialManaged = family.baseUnit == "台" && m_random.chance(0.5);
    item.serialClassId = item.serialManaged ? 1 : 0;
    item.mtoTracked = !item.serialManaged && m_random.chance(0.1);
    if (m_random.chance(0.2))
        setCycle(item, static_cast<CycleUnit>(m_random.range(11601, 11603)));
    item.deleted = m_random.chance(0.02);
}

void BaseDataBuilder::setCycle(Item &item, CycleUnit unit)
{
    item.cycleUnit = unit;
    switch (unit) {
    case CycleUnit::Day:
        item.cycle = m_random.pick(std::vector<int>{7, 15, 30});
        break;
    case CycleUnit::Week:
        item.cycle = m_random.range(1, 4);
        item.daysPer = m_random.range(1, 7);
        break;
    case CycleUnit::Month:
        item.cycle = m_random.range(1, 3);
        item.daysPer = m_random.pick(std::vector<int>{1, 10, 15, 28, 31});
        break;
    case CycleUnit::None:
        return;
    }
    // Some items were never counted, some lately, some long ago: due and not yet due alike.
    if (m_random.chance(0.75))
        item.lastCheckDate = std::floor(m_company.today) - m_random.range(1, 120);
}

} // namespace sampledata

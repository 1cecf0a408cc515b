#include "import/stagingrow.h"

#include "host/core/hosterror.h"
#include "host/db/recordset/recordset.h"
#include "import/basedatadicts.h"
#include "import/importsheet.h"

namespace PubVariant {

std::string NullToStr(const host::Variant &v, const std::string &defaultText)
{
    return v.isNull() ? defaultText : host::CStr(v);
}

} // namespace PubVariant

namespace {

using C = ImportSheet::Column;

double numericCell(const SheetRow &sheet, C column)
{
    const host::Variant &cell = sheet.cell(column);
    return cell.isNull() ? 0.0 : host::CDbl(cell);
}

host::Variant idOrZero(const host::Dictionary &dict, const std::string &key)
{
    return dict.GetValue(key, host::Variant(0L));
}

// Base units per counted second unit; with the plan-tracking mode only a positive second-unit
// count gives a rate.
double secondUnitRate(double checkQty, double secCheckQty, double coefficient, bool mtoPlanMode)
{
    const bool usable = mtoPlanMode ? secCheckQty > 0 : secCheckQty != 0;
    return usable ? checkQty * coefficient / secCheckQty : 0.0;
}

} // namespace

UnitCoefficients::UnitCoefficients(host::Recordset &units)
{
    // The first row of a unit counts, as a filter on the recordset would find it.
    for (units.MoveFirst(); !units.EOF(); units.MoveNext())
        m_coefficients.emplace(host::CStr(units.Fields("FMeasureUnitID").Value()),
                               host::CDbl(units.Fields("FCoefficient").Value()));
}

double UnitCoefficients::of(const host::Variant &unitId) const
{
    const auto it = m_coefficients.find(host::CStr(unitId));
    if (it == m_coefficients.end())
        throw host::HostError("Either BOF or EOF is True, or the current record has been deleted.");
    return it->second;
}

void fillStagingRow(StagingRow &row, const SheetRow &sheet, const BaseDataDicts &dicts,
                    const UnitCoefficients &units, bool mtoPlanMode, long recordNo)
{
    row.unitId = dicts.measureUnit.Value(sheet.key(C::FCCUnitNumber, C::FCCUnitName));
    const double coefficient = units.of(row.unitId);

    const std::string stockKey = sheet.key(C::StockNumber, C::StockName);
    const std::string placeKey = sheet.key(C::SPNumber, C::SPName);
    const std::string placeInStock = placeKey + "|" + stockKey;
    // A place that exists but lies outside the stock's place group keeps its own id; the merge's
    // place correction then leaves it alone.
    row.placeId = dicts.stockPlaceAndStock.Exists(placeInStock)
                      ? dicts.stockPlaceAndStock.Value(placeInStock)
                      : dicts.stockPlace.Value(placeKey);

    row.checkQty = numericCell(sheet, C::CheckQty);
    row.adjQty = numericCell(sheet, C::AdjQty);
    row.secCheckQty = numericCell(sheet, C::FSecCheckQty);
    row.rate = secondUnitRate(row.checkQty, row.secCheckQty, coefficient, mtoPlanMode);
    const bool rateUsable = mtoPlanMode ? row.rate > 0 : row.rate != 0;

    row.itemId = dicts.item.Value(sheet.key(C::ItemNumber, C::ItemName));
    row.stockId = dicts.stock.Value(stockKey);
    row.batchNo = sheet.trimmed(C::BatchNo);
    row.mtoNo =
        mtoPlanMode ? host::Trim(PubVariant::NullToStr(sheet.cell(C::MtoNo), "")) : std::string();
    row.note = sheet.trimmed(C::FNote);
    row.kfDate = sheet.isEmpty(C::KFDate)
                     ? host::Variant(std::string())
                     : host::Variant::fromDate(host::CDate(sheet.cell(C::KFDate)));
    row.kfPeriod = numericCell(sheet, C::KFPeriod);
    row.auxPropId = idOrZero(dicts.auxItem, sheet.key(C::AuxPropNumber, C::AuxPropName));
    row.secUnitId = idOrZero(dicts.measureUnit, sheet.key(C::FSecUnitNumber, C::FSecUnitName));
    row.secQtyAct = row.secCheckQty;
    row.secAdjQty = rateUsable ? row.adjQty * coefficient / row.rate : 0.0;
    row.coefficientByUnit = coefficient;
    row.rowNum = recordNo;
}

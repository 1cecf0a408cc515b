#include "import/stagingrow.h"

#include "host/db/recordset.h"
#include "import/basedatadicts.h"
#include "import/importsheet.h"

namespace PubVariant {

std::string NullToStr(const host::Variant &v, const std::string &defaultText)
{
    return v.isNull() ? defaultText : host::CStr(v);
}

} // namespace PubVariant

namespace {

double numericCell(const SheetRow &sheet, std::string_view column)
{
    const host::Variant cell = sheet.cell(column);
    return cell.isNull() ? 0.0 : host::CDbl(cell);
}

host::Variant idOrZero(const host::Dictionary &dict, const std::string &key)
{
    return dict.Exists(key) ? dict.Value(key) : host::Variant(0L);
}

// Base units per counted second unit; with the plan-tracking mode only a positive second-unit
// count gives a rate.
double secondUnitRate(double checkQty, double secCheckQty, double coefficient, bool mtoPlanMode)
{
    const bool usable = mtoPlanMode ? secCheckQty > 0 : secCheckQty != 0;
    return usable ? checkQty * coefficient / secCheckQty : 0.0;
}

} // namespace

void fillStagingRow(host::Dictionary &row, const SheetRow &sheet, const BaseDataDicts &dicts,
                    host::Recordset &units, const StagingRun &run, long recordNo)
{
    const host::Variant unitId = dicts.measureUnit.Value(sheet.key("FCCUnitNumber", "FCCUnitName"));
    units.Filter("FMeasureUnitID = '" + host::CStr(unitId) + "'");
    const double coefficient = host::CDbl(units.Fields("FCoefficient").Value());

    const std::string stockKey = sheet.key("StockNumber", "StockName");
    const std::string placeKey = sheet.key("SPNumber", "SPName");
    const std::string placeInStock = placeKey + "|" + stockKey;
    // A place that exists but lies outside the stock's place group keeps its own id; the merge's
    // place correction then leaves it alone.
    const host::Variant placeId = dicts.stockPlaceAndStock.Exists(placeInStock)
                                      ? dicts.stockPlaceAndStock.Value(placeInStock)
                                      : dicts.stockPlace.Value(placeKey);

    const host::Variant kfDate = sheet.cell("KFDate");
    const double checkQty = numericCell(sheet, "CheckQty");
    const double adjQty = numericCell(sheet, "AdjQty");
    const double secCheckQty = numericCell(sheet, "FSecCheckQty");
    const double rate = secondUnitRate(checkQty, secCheckQty, coefficient, run.mtoPlanMode);
    const bool rateUsable = run.mtoPlanMode ? rate > 0 : rate != 0;

    row.SetValue("strTempTable", run.tableName);
    row.SetValue("ItemID", dicts.item.Value(sheet.key("ItemNumber", "ItemName")));
    row.SetValue("UnitID", unitId);
    row.SetValue("StockID", dicts.stock.Value(stockKey));
    row.SetValue("BatchNo", sheet.trimmed("BatchNo"));
    row.SetValue("MtoNO", run.mtoPlanMode
                              ? host::Trim(PubVariant::NullToStr(sheet.cell("MtoNo"), ""))
                              : std::string());
    row.SetValue("sNote", sheet.trimmed("FNote"));
    row.SetValue("SPID", placeId);
    row.SetValue("KFDate", sheet.isEmpty("KFDate") ? host::Variant(std::string())
                                                   : host::Variant::fromDate(host::CDate(kfDate)));
    row.SetValue("KFPeriod", numericCell(sheet, "KFPeriod"));
    row.SetValue("FDateBackup", run.backupTime);
    row.SetValue("FMaxBillInterID", run.maxBillInterID);
    row.SetValue("AuxPropID", idOrZero(dicts.auxItem, sheet.key("AuxPropNumber", "AuxPropName")));
    row.SetValue("AdjQty", adjQty);
    row.SetValue("SecUnitID",
                 idOrZero(dicts.measureUnit, sheet.key("FSecUnitNumber", "FSecUnitName")));
    row.SetValue("FSecCheckQty", secCheckQty);
    row.SetValue("CheckQty", checkQty);
    row.SetValue("Coefficient", rate);
    row.SetValue("FSecQtyAct", secCheckQty);
    row.SetValue("FSecAdjQty", rateUsable ? adjQty * coefficient / rate : 0.0);
    row.SetValue("FCoefficientByUnit", coefficient);
    row.SetValue("FRowNum", recordNo);
}

#include "host/lookup/glviewcomponent.h"

#include "host/db/appconnection.h"
#include "host/db/hostdatabase.h"
#include "host/db/recordset/recordset.h"
#include "host/lang/hosttext.h"
#include "host/lookup/lookupwindow.h"
#include "host/ui/modal/modalservices.h"

#include <vector>

namespace host {
namespace {

std::string withFilter(std::string sql, const std::string &filter)
{
    if (!Trim(filter).empty())
        sql += " and (" + filter + ")";
    return sql + " order by FNumber";
}

std::shared_ptr<LookupResult> show(const QString &caption, const std::string &sql,
                                   const std::vector<LookupColumn> &columns,
                                   const std::string &search,
                                   const std::vector<std::string> &searchFields = {})
{
    LookupWindow window(caption, hostConnection()->Execute(sql), columns,
                        QString::fromStdString(search), searchFields);
    ui::modals().showModal(window);
    auto result = std::make_shared<LookupResult>();
    result->ReturnObject = window.chosen();
    return result;
}

std::shared_ptr<LookupResult> classLookup(long classId, const std::string &search)
{
    return show(hostCaption("基础资料"),
                "select FItemID,FNumber,FShortNumber,FName from t_item where FDeleted<>1 and "
                "FItemClassID=" +
                    std::to_string(classId) + " order by FNumber",
                LookupWindow::codeAndName("FNumber"), search);
}

} // namespace

std::shared_ptr<LookupResult> GLViewComponent::ItemLookUp(long classId, std::string &search,
                                                          std::string &filter, Dictionary &options)
{
    const bool shortNumber = CBool(options.GetValue("BeShortNumber", false));
    const std::string code = shortNumber ? "FShortNumber" : "FNumber";
    const std::string otherCode = shortNumber ? "FNumber" : "FShortNumber";
    const std::string typed = CStr(options.GetValue("Search", search));
    switch (classId) {
    case 4: {
        // An item is found by either code, its name, its model or one of its bar codes; the
        // model tells apart items of one name.
        auto columns = LookupWindow::codeAndName(code);
        columns.push_back({"FModel", "规格型号"});
        return show(hostCaption("物料"),
                    withFilter("select FItemID,FNumber,FShortNumber,FName,FModel,FUnitID,"
                               "FStoreUnitID,FSecUnitID,FBatchManager,FISKFPeriod,FKFPeriod,"
                               "FAuxClassID,FQtyDecimal,FISSNManage,(select min(b.FBarcode) from "
                               "t_barcode b where b.FItemID=x2.FItemID and b.FTypeID=4) as "
                               "FBarcode from t_ICItem x2 where FDeleted<>1",
                               filter),
                    columns, typed, {otherCode, "FBarcode"});
    }
    case 5:
        return show(hostCaption("仓库"),
                    withFilter("select FItemID,FNumber,FShortNumber,FName,FIsStockMgr,"
                               "FSPGroupID from t_Stock where FDeleted<>1",
                               filter),
                    LookupWindow::codeAndName(code), typed, {otherCode});
    default:
        return classLookup(classId, search);
    }
}

std::shared_ptr<LookupResult> GLViewComponent::UnitLookup(long unitGroupId, std::string &search,
                                                          std::string &filter)
{
    std::string sql = "select FMeasureUnitID as FItemID,FMeasureUnitID,FUnitGroupID,FNumber,"
                      "FShortNumber,FName,FCoefficient from t_MeasureUnit where FDeleted<>1";
    if (unitGroupId > 0)
        sql += " and FUnitGroupID=" + std::to_string(unitGroupId);
    return show(hostCaption("计量单位"), withFilter(sql, filter),
                LookupWindow::codeAndName("FNumber"), search);
}

std::shared_ptr<LookupResult> GLViewComponent::SubMesLookup(long classId, std::string &search)
{
    return classLookup(classId, search);
}

std::shared_ptr<LookupResult> GLViewComponent::CurrencyLookup(std::string &search)
{
    return classLookup(12, search);
}

std::shared_ptr<LookupResult> GLViewComponent::SettTypeLookup(std::string &search)
{
    return classLookup(130, search);
}

std::shared_ptr<LookupResult> GLViewComponent::AccountLookup(std::string &search)
{
    return classLookup(13, search);
}

} // namespace host

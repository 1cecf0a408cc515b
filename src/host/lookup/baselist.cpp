#include "host/lookup/baselist.h"

#include "host/core/hosterror.h"
#include "host/core/text.h"
#include "host/db/appconnection.h"
#include "host/db/hostdatabase.h"
#include "host/db/recordset/recordset.h"
#include "host/lang/hosttext.h"
#include "host/lookup/glview.h"
#include "host/lookup/lookupwindow.h"
#include "host/ui/modal/modalservices.h"

namespace host {
namespace {

std::string andFilter(const std::string &filter)
{
    return Trim(filter).empty() ? std::string() : " and (" + filter + ")";
}

} // namespace

std::shared_ptr<Recordset> BaseList::Show(long, long classId)
{
    std::shared_ptr<Recordset> rows;
    std::string_view caption;
    std::vector<LookupColumn> columns;
    if (classId == StockPlaces) {
        // The place 0 stands for "no stock place" and is not offered.
        rows = hostConnection()->Execute(
            "select FSPID as FItemID,FSPID,FNumber,FShortNumber,FName from t_StockPlace where "
            "FDeleted<>1 and FSPID<>0" +
            andFilter(m_filter) + " order by FNumber");
        caption = "仓位";
        columns = LookupWindow::codeAndName("FNumber");
    } else if (classId == Batches) {
        rows = hostConnection()->Execute("select FItemID,FBatchNo,sum(FQty) as FQty from "
                                         "ICInventory where FBatchNo<>''" +
                                         andFilter(m_filter) +
                                         " group by FItemID,FBatchNo order by FBatchNo");
        caption = "批次";
        columns = {{"FBatchNo", "批次"}, {"FQty", "库存数量"}};
    } else {
        throw HostError("No base-data list for class " + std::to_string(classId) + ".",
                        HostError::InvalidProcedureCall);
    }
    LookupWindow window(hostCaption(caption), rows, columns, QString());
    ui::modals().showModal(window);
    const auto chosen = window.chosen();
    if (!chosen)
        return nullptr;
    for (rows->MoveFirst(); !rows->EOF(); rows->MoveNext()) {
        const std::string &code = columns.front().field;
        if (rows->Fields("FItemID").Value() == chosen->Properties("FItemID") &&
            rows->Fields(code).Value() == chosen->Properties(code))
            return rows;
    }
    return nullptr;
}

} // namespace host

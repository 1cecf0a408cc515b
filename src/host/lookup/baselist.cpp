#include "host/lookup/baselist.h"

#include "host/core/hosterror.h"
#include "host/db/appconnection.h"
#include "host/db/hostdatabase.h"
#include "host/db/recordset.h"
#include "host/lang/hosttext.h"
#include "host/lookup/glview.h"
#include "host/lookup/lookupwindow.h"
#include "host/ui/modalservices.h"

namespace host {

std::shared_ptr<Recordset> BaseList::Show(long, long classId)
{
    if (classId != StockPlaces)
        throw HostError("No base-data list for class " + std::to_string(classId) + ".",
                        HostError::InvalidProcedureCall);
    // The place 0 stands for "no stock place" and is not offered.
    auto rows = hostConnection()->Execute("select FSPID,FNumber,FShortNumber,FName from "
                                          "t_StockPlace where FDeleted<>1 and FSPID<>0 order by "
                                          "FNumber");
    LookupWindow window(hostCaption("仓位"), rows, "FNumber", "FName", QString());
    ui::modals().showModal(window);
    const auto chosen = window.chosen();
    if (!chosen)
        return nullptr;
    const Variant id = chosen->Properties("FSPID");
    for (rows->MoveFirst(); !rows->EOF(); rows->MoveNext()) {
        if (rows->Fields("FSPID").Value() == id)
            return rows;
    }
    return nullptr;
}

} // namespace host

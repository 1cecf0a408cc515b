#include "host/lookup/itemaux.h"

#include "host/core/dictionary.h"
#include "host/core/sqltext.h"
#include "host/db/appconnection.h"
#include "host/db/hostdatabase.h"
#include "host/db/recordset/recordset.h"

namespace host {

std::shared_ptr<Dictionary> ItemAuxCheck::CheckItemAuxNum(Dictionary &dict)
{
    const std::string code = Trim(CStr(dict.GetValue("FNumber", "")));
    const auto rows = hostConnection()->Execute(
        "select a.FItemID,a.FNumber,a.FName from t_AuxItem a inner join t_ICItem i on "
        "a.FItemClassID=i.FAuxClassID where a.FDeleted<>1 and i.FItemID=" +
        std::to_string(CLng(dict.GetValue("FItemID", 0L))) + " and a.FNumber=" + sqlString(code));
    auto result = std::make_shared<Dictionary>();
    result->SetValue("FNumber", code);
    result->SetValue("FName", "");
    result->SetValue("FItemID", 0L);
    if (rows->RecordCount() > 0) {
        rows->MoveFirst();
        for (const char *field : {"FNumber", "FName", "FItemID"})
            result->SetValue(field, rows->Fields(field).Value());
    }
    return result;
}

} // namespace host

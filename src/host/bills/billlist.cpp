#include "host/bills/billlist.h"

#include "host/bills/billwindow.h"
#include "host/core/dictionary.h"
#include "host/core/hosterror.h"
#include "host/core/variant.h"
#include "host/core/vector.h"
#include "host/db/appconnection.h"
#include "host/db/connection.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/modal/modalservices.h"

namespace host {
namespace {

// The recordset field that the vector marks with that FISPrimary value.
std::string fieldMarked(const Vector *fields, long primary, const char *fallback)
{
    for (long i = 1; fields && i <= fields->Count(); ++i) {
        const auto entry = fields->Item(i).as<Dictionary>();
        if (entry && CLng(entry->Value("FISPrimary")) == primary)
            return CStr(entry->Value("FColName"));
    }
    return fallback;
}

} // namespace

void Bills::SetOpt(long userId, const std::string &userName)
{
    m_userId = userId;
    m_userName = userName;
}

std::vector<std::pair<long, long>> Bills::listedBills() const
{
    std::vector<std::pair<long, long>> bills;
    if (!ListRecordset || ListRecordset->State() == Recordset::adStateClosed ||
        ListRecordset->RecordCount() == 0)
        return bills;
    const std::string idField = fieldMarked(ListRSFieldVect.get(), 1, "FInterID");
    const std::string typeField = fieldMarked(ListRSFieldVect.get(), 3, "FTranType");
    auto rs = ListRecordset->Clone();
    for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext())
        bills.emplace_back(CLng(rs->Fields(idField).Value()), CLng(rs->Fields(typeField).Value()));
    return bills;
}

void Bills::Show(short, short, short)
{
    const std::shared_ptr<AppConnection> database = LocalCnn ? LocalCnn->database() : nullptr;
    if (!database)
        throw HostError("The bill list has no open connection.");
    std::string ids;
    for (const auto &[id, tranType] : listedBills())
        ids += (ids.empty() ? "" : ",") + std::to_string(id);
    if (ids.empty())
        ids = "0";
    const auto heads = database->Execute(
        "Select b.FInterID,b.FBillNo,CONVERT(varchar(10),b.FDate,120) As FDate,b.FTranType,"
        "u.FName As FBillerName From ICStockBill b Left Join t_User u On u.FUserID=b.FBillerID "
        "Where b.FInterID In (" +
        ids + ") Order By b.FInterID");
    BillWindow window(database, heads, QString::fromStdString(m_userName));
    ui::modals().showModal(window);
}

} // namespace host

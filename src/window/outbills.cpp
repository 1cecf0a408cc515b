#include "window/outbills.h"

#include "host/bills/billlist.h"
#include "host/core/dictionary.h"
#include "host/core/objectfactory.h"
#include "host/core/vector.h"
#include "host/db/recordset/recordset.h"
#include "services/mmts.h"
#include "services/modulestate.h"
#include "services/mparse.h"

void ShowOutBills(const std::string &tranType, long billId)
{
    auto fields = std::make_shared<host::Vector>();
    for (const auto &[primary, name] : {std::pair<short, const char *>{1, "FInterID"},
                                        std::pair<short, const char *>{3, "FTranType"}}) {
        auto field = std::make_shared<host::Dictionary>();
        field->SetValue("FISPrimary", host::Variant(static_cast<long>(primary)));
        field->SetValue("FColName", std::string(name));
        fields->Add(host::Variant(field));
    }
    auto rs = std::make_shared<host::Recordset>(
        std::vector<std::string>{"FInterID", "FTranType"},
        std::vector<std::vector<host::Variant>>{
            {host::Variant(billId), host::Variant(static_cast<long>(host::Val(tranType)))}});
    rs->MoveFirst();

    const auto bills = host::CreateObjectAs<host::Bills>(host::Bills::ProgId);
    bills->LocalCnn = module().gConn;
    bills->ListRecordset = rs;
    bills->ListRSFieldVect = fields;
    bills->SetOpt(MParse::GetUserID(), MMTS::GetUserName());
    bills->Show(0, 1, 8);
}

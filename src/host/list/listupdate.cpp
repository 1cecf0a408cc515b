#include "host/list/listupdate.h"

#include "host/core/formatter.h"
#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/core/text.h"
#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"
#include "host/db/servertransaction.h"
#include "host/lang/hosttext.h"

#include <algorithm>
#include <cstdio>

namespace host {
namespace {

struct BillKind
{
    long tranType;
    const char *prefix;
    const char *name;
    const char *difference; // which lines, by the sign of their base difference
    double sign;            // makes the bill's quantities positive
};

const BillKind &billKind(long billType)
{
    static const BillKind gain{40, "PY", "盘盈单", "FMinus>0", 1};
    static const BillKind loss{43, "PK", "盘亏单", "FMinus<0", -1};
    if (billType == 1)
        return gain;
    if (billType == 2)
        return loss;
    throw HostError("Invalid bill kind " + std::to_string(billType),
                    HostError::InvalidProcedureCall);
}

// "UserID" of the host context string: "key=value;" pairs, a value may be in braces.
long userIdOf(std::string_view props)
{
    for (size_t pos = 0; pos < props.size();) {
        const size_t end = std::min(props.find(';', pos), props.size());
        const std::string_view pair = props.substr(pos, end - pos);
        pos = end + 1;
        const size_t eq = pair.find('=');
        if (eq != 6 || !equalsNoCase(pair.substr(0, 6), "UserID"))
            continue;
        std::string value(pair.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '{' && value.back() == '}')
            value = value.substr(1, value.size() - 2);
        return std::strtol(value.c_str(), nullptr, 10);
    }
    return 0;
}

long scalar(AppConnection &db, const std::string &sql)
{
    const auto rs = db.Execute(sql);
    if (!rs || rs->RecordCount() == 0)
        return 0;
    rs->MoveFirst();
    const Variant &value = rs->Fields(0L).Value();
    return value.isNull() ? 0 : CLng(value);
}

// Read under an update lock held to the end of the transaction: on a server under READ
// COMMITTED a second bill run waits here instead of reading the same id or number.
constexpr std::string_view kUpdateLock = " WITH (UPDLOCK, HOLDLOCK)";

// The next free number of the kind's bills: its prefix and six digits.
std::string nextBillNo(AppConnection &db, const BillKind &kind)
{
    const auto rs = db.Execute("Select FBillNo From ICStockBill" + std::string(kUpdateLock) +
                               " Where FBillNo Like '" + std::string(kind.prefix) + "%'");
    long highest = 0;
    if (rs && rs->RecordCount() > 0) {
        for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext()) {
            const std::string no = CStr(rs->Fields(0L).Value());
            highest = std::max(highest, std::strtol(no.c_str() + 2, nullptr, 10));
        }
    }
    char text[32];
    std::snprintf(text, sizeof text, "%s%06ld", kind.prefix, highest + 1);
    return text;
}

} // namespace

ListUpdate::ListUpdate(ConnectionSource connection) : m_connection(std::move(connection)) {}

void ListUpdate::MakeStockCheckBillNew(const std::string &propsString, long procId,
                                       std::string &message, long billType, long &billId)
{
    const BillKind &kind = billKind(billType);
    const std::shared_ptr<AppConnection> connection = m_connection();
    if (!connection)
        throw HostError("The list-update component has no database connection");
    AppConnection &db = *connection;
    billId = 0;
    message.clear();

    // The bill's id, the lines to bill and the number are read inside the transaction, the id
    // first: a second user's bill waits there for this one, then finds what is left and the
    // next id and number.
    ServerTransaction transaction(db);
    // Not the id of a deleted bill that count lines still name either: they would pass for
    // billed by the new bill, whatever its kind or count.
    const long id =
        std::max(scalar(db, "Select Max(FInterID) From ICStockBill" + std::string(kUpdateLock)),
                 scalar(db, "Select Max(FBillInterID) From ICInvBackup")) +
        1;
    // Lines not yet billed: no bill, or a bill that no longer exists.
    const std::string lines = "Where FInterID=" + std::to_string(procId) + " And " +
                              kind.difference +
                              " And (FBillInterID Is Null Or FBillInterID Not In (Select FInterID "
                              "From ICStockBill))";
    const auto rs =
        db.Execute("Select FItemID,FAuxPropID,FBatchNo,FMtoNo,FUnitID,FMinus,"
                   "FSecMinus,FStockID,FStockPlaceID,FKFDate,FKFPeriod From ICInvBackup " +
                   lines + " Order By FStockID,FItemID");
    if (!rs || rs->RecordCount() == 0) {
        message = hostText("没有需要生成单据的盘点差异。");
        return;
    }

    const std::string billNo = nextBillNo(db, kind);
    const std::string ids = std::to_string(id);
    std::string sql = "UPDATE ICInvBackup SET FBillInterID=" + ids + " " + lines + "\r\n";
    sql += "INSERT INTO ICStockBill (FInterID,FBillNo,FTranType,FDate,FBillerID,"
           "FUpStockWhenSave,FCancellation,FProcID) Values (" +
           ids + "," + sqlString(billNo) + "," + std::to_string(kind.tranType) +
           ",CONVERT(DATETIME,CONVERT(varchar(10),GETDATE(),120))," +
           std::to_string(userIdOf(propsString)) + ",0,0," + std::to_string(procId) + ")\r\n";
    const double sign = kind.sign;
    long entry = 0;
    for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext()) {
        auto field = [&](const char *name) { return rs->Fields(name).Value(); };
        const std::string kfDate = CStr(field("FKFDate"));
        sql += "INSERT INTO ICStockBillEntry (FInterID,FEntryID,FItemID,FAuxPropID,FBatchNo,"
               "FMtoNo,FUnitID,FQty,FSecQty,FDCStockID,FDCSPID,FKFDate,FKFPeriod) Values (" +
               ids + "," + std::to_string(++entry) + "," + CStr(field("FItemID")) + "," +
               CStr(field("FAuxPropID")) + "," + sqlString(CStr(field("FBatchNo"))) + "," +
               sqlString(CStr(field("FMtoNo"))) + "," + CStr(field("FUnitID")) + "," +
               sqlNumber(sign * CDbl(field("FMinus"))) + "," +
               sqlNumber(sign * CDbl(field("FSecMinus"))) + "," + CStr(field("FStockID")) + "," +
               CStr(field("FStockPlaceID")) + "," +
               (kfDate.empty() ? std::string("NULL") : sqlString(kfDate)) + "," +
               CStr(field("FKFPeriod")) + ")\r\n";
    }
    db.ExecuteRaiseErr(sql);
    transaction.commit();

    billId = id;
    message = formatText(hostText("已生成%1%2，共%3条分录。"),
                         {hostText(kind.name), billNo, std::to_string(entry)});
}

long ListUpdate::GetIDsOfNames(std::string_view name) const
{
    if (equalsNoCase(name, "MakeStockCheckBillNew"))
        return DispMakeStockCheckBillNew;
    throw HostError("Unknown name: " + std::string(name), UnknownName);
}

Variant ListUpdate::Invoke(long dispId, InvokeKind kind, std::vector<Variant> &args)
{
    if (dispId != DispMakeStockCheckBillNew || kind != InvokeKind::Method)
        throw HostError("Member not found", MemberNotFound);
    if (args.size() != 5)
        throw HostError("Invalid number of parameters", BadParamCount);
    std::string message = CStr(args[2]);
    long billId = CLng(args[4]);
    MakeStockCheckBillNew(CStr(args[0]), CLng(args[1]), message, CLng(args[3]), billId);
    args[2] = message;
    args[4] = billId;
    return {};
}

} // namespace host

#include "countsheet/maindo.h"

#include "countsheet/checkbillsql.h"
#include "countsheet/countsheetstate.h"
#include "countsheet/sheettext.h"
#include "host/core/dictionary.h"
#include "host/core/sqltext.h"
#include "host/core/vector.h"
#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"
#include "services/appconn.h"
#include "services/databasefailure.h"
#include "services/mmts.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

namespace {

// Every item without a count line in the process, once per stock of the process and named
// with that stock, so that the book says where to count it, in the print layout's columns.
std::string itemsWithoutLines(long procId, bool showDelete, const std::string &from,
                              const std::string &where)
{
    const std::string id = std::to_string(procId);
    std::string s;
    for (const char *line : {
             " select rtrim(t12.fname) as fstockname,0 as FStockID,b.* from",
             "(SELECT  t2.FItemID, FSPName='',t2.FShortNumber,t2.FNumber,t2.FName,t2.FModel,",
             "FBatchNo='',FMtoNo='',FKFDate='',FKFPeriod=0,t4.FCoefficient,FSPID=0,",
             "t2.FQtyDecimal,t2.FPriceDecimal,FBal=null,FNote='',FMinus=null,GETDATE()AS "
             "FDateBackup,FMaxBillInterID=NULL,",
             "t3.FName AS FUnitName,FQty=NULL,FQtyAct=NULL,FCheckQty=NULL,",
             "FOverQty=NULL,",
             "FDownQty=NULL,",
             "t2.FCUUnitID,t4.FUnitGroupID, ",
             "t4.FName as FCUUnitName,FCUUnitQty=NULL,",
             "FCUUnitQtyAct=NULL,FCUUnitCheckQty=NULL,",
             "FCUUNitOverQty=NULL,",
             "FCUUnitDownQty=null,",
             "t2.FDeleted,t5.FName as FSecUnitName,'' as FAuxPropName, ",
             "FAdjQty=NULL,FSecQty=NULL,FSecQtyAct = NULL,FSecCheckQty = NULL,FSecAdjQty = "
             "NULL,0 as FSecCoefficient, ",
             "'' as fstocknumber,'' as fstockshortnumber,'' as fspnumber,'' as fspshortnumber,",
             "t2.fnumber as FItemNumber,t2.fshortnumber as FItemShortNumber",
             "From t_ICItem t2 inner join t_MeasureUnit t3 on t2.FUnitID = t3.FItemID",
             "inner join t_MeasureUnit t4 on t2.FCUUnitID = t4.FItemID",
             "left join t_MeasureUnit t5 on t2.FSecUnitID = t5.FItemID",
         })
        host::addLine(s, line);
    s += from;
    s += host::kCrLf;
    s += "Where t2.FItemID NOT IN(SELECT FItemID FROM ICInvBackup WHERE FInterID= " + id + ")";
    s += deletedCondition(showDelete);
    if (!where.empty())
        s += " and " + where;
    s += ") b inner join ";
    s += host::kCrLf;
    s +=
        "(select distinct fstockid,finterid from icinvbackup where finterid = " + id + ") a on 1=1";
    s += host::kCrLf;
    s += "left join t_Stock t12 on a.fstockid=t12.fitemid";
    return s;
}

std::string optionText(const host::Dictionary *options, std::string_view key)
{
    if (!options)
        return {};
    const host::Variant value = options->Value(key);
    return value.isNull() ? std::string() : host::CStr(value);
}

} // namespace

std::shared_ptr<host::Recordset> MainDo::GetRsMain(long ProcID, const std::string &strFilter,
                                                   long Range, const host::Dictionary *vDictOption)
{
    try {
        host::Vector tables;
        tables.Add("t_ICItem");
        host::Vector descriptors;
        auto item = std::make_shared<host::Dictionary>();
        item->SetValue("DataTable", "t_ICItem");
        item->SetValue("DataTableAs", "te2");
        item->SetValue("DataCol", "FItemID");
        item->SetValue("BillTableAs", "t2");
        item->SetValue("BillCol", "FItemID");
        descriptors.Add(std::shared_ptr<host::HostObject>(item));
        std::string from;
        std::string where;
        MMTS::GetDataAccessSQL(MMTS::GetPropsString(), MParse::GetUserID(), tables, descriptors,
                               from, where, true);

        p_RSMain.reset();
        BuildCheckBillSQL(m_ShowDelete);
        std::string sql =
            countSheetState().gMainSQL + " And t1.FInterID=" + std::to_string(ProcID) + strFilter;
        if (Range != 0) {
            sql += host::kCrLf;
            sql += " Union all ";
            sql += host::kCrLf;
            sql += itemsWithoutLines(ProcID, m_ShowDelete, from, where);
        }
        const std::string filter = optionText(vDictOption, "Filter");
        const std::string sortBy = optionText(vDictOption, "SortBy");
        const std::string text =
            "Select a.* From (" + std::string(host::kCrLf) + sql + host::kCrLf + ") as a " +
            host::kCrLf + " where 1=1 and " + (filter.empty() ? std::string("1=1") : filter) +
            host::kCrLf + " order by " +
            (sortBy.empty() ? std::string("FStockName Desc,FSPName,FName") : sortBy);
        auto rs = appConn().Execute(text);
        p_RSMain = rs ? rs : std::make_shared<host::Recordset>();
        return p_RSMain;
    } catch (const std::exception &e) {
        PubVariant::ShowMsg(MParse::LoadLangString("读取盘点数据时出错，请检查过滤条件。原因：") +
                                failureDescription(e),
                            0);
        p_RSMain.reset();
        return nullptr;
    }
}

std::shared_ptr<host::Dictionary> MainDo::GetHeadString(long vType)
{
    auto rs =
        appConn().Execute("Select " + MParse::AddLangSuffix("FColCaption") + " As FColCaption " +
                          ",FVisForQuest,FVisForOrder,FColName,FItemClassID,FColType From "
                          "ICChatBillTitle" +
                          " Where FTypeID=" + std::to_string(vType) + " Order By FInterID");
    if (module().gMtoPlanMode == 0)
        rs->Filter("FColName <> 'FMTONo'");

    std::string filterList;
    std::string sortList;
    auto dict = std::make_shared<host::Dictionary>();
    if (rs->RecordCount() > 0)
        rs->MoveFirst();
    for (; !rs->EOF(); rs->MoveNext()) {
        const std::string key = shownCaption(host::CStr(rs->Fields("FColCaption").Value()));
        const std::string value = host::CStr(rs->Fields("FColName").Value()) + "|" +
                                  std::to_string(host::CLng(rs->Fields("FItemClassID").Value())) +
                                  "|" + std::to_string(host::CLng(rs->Fields("FColType").Value()));
        if (host::CLng(rs->Fields("FVisForQuest").Value()) == 1) {
            filterList += "\t" + key;
            dict->SetValue(key, value);
        }
        if (host::CLng(rs->Fields("FVisForOrder").Value()) == -1) {
            sortList += "\t" + key;
            dict->SetValue(key, value);
        }
    }
    dict->SetValue("SortString", sortList);
    dict->SetValue("FilterString", filterList);
    return dict;
}

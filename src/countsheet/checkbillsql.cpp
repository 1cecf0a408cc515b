#include "countsheet/checkbillsql.h"

#include "countsheet/countsheetstate.h"
#include "host/core/dictionary.h"
#include "host/core/sqltext.h"
#include "host/core/vector.h"
#include "services/mmts.h"
#include "services/mparse.h"

#include <array>
#include <memory>
#include <string_view>

namespace {

enum class Layout
{
    Check,
    Input,
    Print
};

Layout layoutOf(long showType)
{
    if (showType == 3)
        return Layout::Print;
    if (showType == 1)
        return Layout::Check;
    return Layout::Input;
}

// One select line per layout; an empty text leaves the line out of that layout.
struct SelectLine
{
    std::string_view check, input, print;
};

// clang-format off
constexpr std::array<SelectLine, 18> kSelectLines{{
    {"Select rtrim(t12.fname) as fstockname,t1.FStockID,t1.FItemID,t11.FName as FSPName, t2.FShortNumber,t2.FNumber,", {}, {}},
    {"t2.FName,t2.FModel,t1.FBatchNo ,t1.FMtoNo,t1.FKFDate,t1.FKFPeriod,t4.FCoefficient,t1.FStockPlaceID,", {}, {}},
    {"t2.FQtyDecimal,t2.FPriceDecimal,t2.FSecUnitDecimal,t1.FBal,t1.FNote,t1.FMinus,t1.FDateBackup,t1.FMaxBillInterID,", {},
     "t2.FQtyDecimal,t2.FPriceDecimal,t1.FBal,t1.FNote,t1.FMinus,t1.FDateBackup,t1.FMaxBillInterID,"},
    {"t3.FName AS FUnitName,cast((cast((t1.FAuxQty+t1.FAdjQty) as  decimal(28,15) )*cast(t4.FCoefficient as decimal(28,15))) as decimal(28,10)) as FQty,t1.FQtyAct,t1.FCheckQty,",
     "t3.FName AS FUnitName,t1.FQty,t1.FQtyAct,t1.FCheckQty,",
     "t3.FName AS FUnitName,FQty=NULL,FQtyAct=NULL,FCheckQty=NULL,"},
    {"FOverQty=Case When t1.FMinus>0 Then t1.FMinus when t4.FCoefficient=0 then t1.FMinus Else Null End,", {},
     "FOverQty=NULL,"},
    {"FDownQty=Case When t1.FMinus<0 Then -t1.FMinus  when t4.FCoefficient=0 then -t1.FMinus Else Null End,", {},
     "FDownQty=NULL,"},
    {"t1.FUnitID,t4.FUnitGroupID,", {}, {}},
    {"t4.FName as FCUUnitName,FCUUnitQty=(t1.FAuxQty+t1.FAdjQty),",
     "t4.FName as FCUUnitName,FCUUnitQty=t1.FAuxQty,",
     "t4.FName as FCUUnitName,FCUUnitQty=NULL,"},
    {"FCUUnitQtyAct=t1.FAuxQtyAct,FCUUnitCheckQty=t1.FAuxCheckQty,", {},
     "FCUUnitQtyAct=NULL,FCUUnitCheckQty=NULL,"},
    // A unit without a coefficient converts 1:1 rather than failing the query on a division by 0.
    {"FCUUnitOverQty=Case When t1.FMinus>0 Then t1.FMinus/(Case When t4.FCoefficient=0 Then 1 Else t4.FCoefficient End) Else Null End,",
     "FCUUnitOverQty=Case When t1.FMinus>0 Then t1.FMinus*t4.FCoefficient Else Null End,",
     "FCUUnitOverQty=NULL,"},
    {"FCUUnitDownQty=Case When t1.FMinus<0 Then -t1.FMinus/(Case When t4.FCoefficient=0 Then 1 Else t4.FCoefficient End) Else Null End,",
     "FCUUnitDownQty=Case When t1.FMinus<0 Then -t1.FMinus * t4.FCoefficient Else Null End,",
     "FCUUnitDownQty=NULL,"},
    {"t2.FDeleted,t5.FName as FSecUnitName,t13.FName as FAuxPropName, ", {},
     "t2.FDeleted,t5.FName as FSecUnitName,isnull(t13.FName,'*') as FAuxPropName, "},
    {"t1.FAdjQty,t1.FSecQty+FSecAdjQty AS FSecQty,FSecQtyAct ,FSecCheckQty ,FSecAdjQty ,case when t1.FSecCheckQty=0 then 0 else (t1.FCheckQty/t1.FSecCheckQty) end as FSecCoefficient, ",
     "t1.FAdjQty,t1.FSecQty,t1.FSecQtyAct,t1.FSecCheckQty,t1.FSecAdjQty,case when t1.FSecCheckQty=0 then 0 else (t1.FCheckQty/t1.FSecCheckQty) end as FSecCoefficient, ",
     "t1.FAdjQty,FSecQty=null,FSecQtyAct = NULL,FSecCheckQty = NULL,FSecAdjQty = NULL,case when t1.FSecQty=0 then 0 else (t1.FQty/t1.FSecQty) end as FSecCoefficient, "},
    {"FSecOverQty=Case When t1.FSecMinus>0 Then t1.FSecMinus when t4.FCoefficient=0 then t1.FSecMinus Else Null End,", "-", "-"},
    {"FSecDownQty=Case When t1.FSecMinus<0 Then -t1.FSecMinus  when t4.FCoefficient=0 then -t1.FSecMinus Else Null End,", "-", "-"},
    {"t12.fnumber as FStockNumber,t12.fshortnumber as FStockShortNumber,t3.FNumber as FUnitNumber,t3.FShortNumber as FUnitShortNumber,", {},
     "t12.fnumber as FStockNumber,t12.fshortnumber as FStockShortNumber,"},
    {"t11.fnumber as FSPNumber,t11.fshortnumber as FSPShortNumber,t4.FNumber as FCUUnitNumber,t4.FShortNumber as FCUUnitShortNumber,", {},
     "t11.fnumber as FSPNumber,t11.fshortnumber as FSPShortNumber,"},
    {"t2.fnumber as FItemNumber,t2.fshortnumber as FItemShortNumber,t5.FNumber as FSecUnitNumber,t5.FShortNumber as FSecUnitShortNumber,t13.FNumber as FAuxPropNumber,t13.FNumber as FAuxPropShortNumber,t2.FSecUnitID,t1.FAuxPropID", {},
     "t2.fnumber as FItemNumber,t2.fshortnumber as FItemShortNumber"},
}};

constexpr std::array<std::string_view, 7> kFromLines{
    "From ICInvBackup t1 inner join t_ICItem t2 on t1.FItemID=t2.FItemID",
    "left join t_MeasureUnit t3 on t2.FUnitID=t3.FItemID",
    "left join t_MeasureUnit t4 on t1.funitid=t4.FItemID",
    "left join t_MeasureUnit t5 on t2.FSecUnitID=t5.FItemID",
    "left join t_StockPlace t11 on t1.FStockPlaceID=t11.FSPID",
    "left join t_Stock t12 on t1.FStockID=t12.fitemid",
    "left join t_AuxItem t13 on t1.FAuxPropID=t13.fitemid",
};
// clang-format on

// "-" marks a line the layout leaves out; an empty text means "same as check".
std::string_view lineFor(const SelectLine &line, Layout layout)
{
    const std::string_view text = layout == Layout::Input   ? line.input
                                  : layout == Layout::Print ? line.print
                                                            : line.check;
    return text.empty() ? line.check : text;
}

} // namespace

std::string deletedCondition(bool bShowDelete)
{
    return bShowDelete ? std::string() : std::string(" And t2.FDeleted<>1 ");
}

void BuildCheckBillSQL(bool bShowDelete)
{
    std::string from;
    std::string where;
    MMTS::GetCountLineAccessSQL(MParse::GetUserID(), from, where);

    CountSheetState &sheet = countSheetState();
    sheet.gHeaderSQL =
        "Select FInterID,FTypeID," + MParse::AddLangSuffix("FColCaption") + " As FColCaption " +
        ",FHeadSecond,FColName,FTableName,FColType," +
        " FColWidth,FVisible,FItemClassID,FVisForQuest,FReturnDataType,FCountPriceType," +
        " FCtlIndex,FName,FTableAlias,FAction,FNeedCount,FIsPrimary,FLogicAction," +
        "FStatistical,FMergeable,FVisForOrder,FControl,FMode From ICChatBillTitle" +
        " Where FTypeID=" + std::to_string(sheet.gShowType) + "  Order By FInterID";

    const Layout layout = layoutOf(sheet.gShowType);
    std::string sql;
    for (const SelectLine &line : kSelectLines) {
        const std::string_view text = lineFor(line, layout);
        if (text != "-")
            host::addLine(sql, text);
    }
    for (std::string_view line : kFromLines)
        host::addLine(sql, line);
    sql += from;
    sql += host::kCrLf;
    sql += "Where 1=1";
    sql += deletedCondition(bShowDelete);
    if (!where.empty())
        sql += " and " + where;
    sql += host::kCrLf;
    sheet.gMainSQL = std::move(sql);
}

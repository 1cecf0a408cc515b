#include "backup/cyclecountsql.h"

#include "host/core/sqltext.h"
#include "services/mparse.h"

namespace backup {

std::string dueDateSql()
{
    std::string sql;
    host::addLine(sql, " case when fcheckcycunit=11603 then DATEADD(d,fcheckcycle,flastcheckdate)");
    host::addLine(sql, " when fcheckcycunit=11602 then "
                       "DATEADD(d,(fdaysper-DATEPART(dw,DATEADD(ww,fcheckcycle,flastcheckdate))),"
                       "DATEADD(ww,fcheckcycle,flastcheckdate))");
    host::addLine(sql,
                  " else case when datepart(m,flastcheckDate) in (1,3,5,8,10) and fdaysper=31 then "
                  "DATEADD(m,fcheckcycle,flastcheckDate)-DATEPART(d,DATEADD(m,fcheckcycle,"
                  "flastcheckDate))");
    host::addLine(sql, " when datepart(m,flastcheckDate) = 2 and fdaysper > 28 and "
                       "(datepart(yy,getdate())%4)<>0 then DATEADD(m,fcheckcycle,flastcheckDate)-"
                       "DATEPART(d,DATEADD(m,fcheckcycle,flastcheckDate))");
    host::addLine(sql, " else DATEADD(d,fdaysper,(DATEADD(m,fcheckcycle,flastcheckDate)-DATEPART(d,"
                       "DATEADD(m,fcheckcycle,flastcheckDate))))");
    host::addLine(sql, " End");
    host::addLine(sql, " end as CurCycDate into #temp1");
    return sql;
}

std::string checkCycItemSql(bool useFullNumber, std::string_view stockCondition)
{
    const std::string_view numberColumn = useFullNumber ? "fnumber" : "fshortnumber";
    const std::string condition =
        stockCondition.empty() ? std::string("1=1") : "a.fstockid=" + std::string(stockCondition);
    std::string sql;
    host::addLine(sql, "SET DATEFIRST 1");
    host::addLine(sql, " SET nocount on");
    host::addLine(sql,
                  " select a.fstockid,a.fitemid,a.fbatchno,a.FStockPlaceID,a.FKFPeriod,a.FKFDate,"
                  "a.FAuxPropID,");
    host::addLine(sql, " rtrim(c.fnumber) as fstocknumber,rtrim(c.fname) as fstockname,rtrim(b.",
                  numberColumn, ") as fnumber,");
    host::addLine(sql, " rtrim(b.fname) as fname,b.fmodel,rtrim(d.fname) as funitname,");
    host::addLine(sql, " case when fcheckcycunit=11603 then '",
                  host::sqlEscape(MParse::LoadLangString("日")), "'");
    host::addLine(sql, " when fcheckcycunit=11602 then '",
                  host::sqlEscape(MParse::LoadLangString("周")), "'");
    host::addLine(sql, " Else '", host::sqlEscape(MParse::LoadLangString("月")),
                  "' end as fcycunitname,");
    host::addLine(sql, " flastcheckdate,");
    sql += dueDateSql();
    host::addLine(
        sql, " from (select distinct fstockid,fitemid,fbatchno,FStockPlaceID,FKFPeriod,FKFDate,"
             "FAuxPropID from icinventory) a");
    host::addLine(sql, " inner join t_icitem b on a.fitemid=b.fitemid and b.fcheckcycunit > 0");
    host::addLine(sql, " inner join t_stock c on a.fstockid=c.fitemid");
    host::addLine(sql, " inner join t_measureunit d on b.funitid=d.fmeasureunitid", " and ",
                  condition);
    host::addLine(sql, " delete from #temp1 where getdate() < curcycdate");
    return sql;
}

std::string checkCycStockIdSql()
{
    std::string sql;
    host::addLine(sql, "SET DATEFIRST 1");
    host::addLine(sql, " SET nocount on");
    host::addLine(sql, " select a.fstockid,");
    sql += dueDateSql();
    host::addLine(sql, " from (select distinct fstockid,fitemid from icinventory) a");
    host::addLine(sql, " inner join t_icitem b on a.fitemid=b.fitemid and a.fstockid>0 and "
                       "b.fcheckcycunit > 0");
    host::addLine(sql, " delete from #temp1 where getdate() < curcycdate");
    host::addLine(sql, " select distinct fstockid from #temp1 order by fstockid");
    host::addLine(sql, " drop table #temp1");
    return sql;
}

} // namespace backup

#include "backup/icbackupinv.h"

#include "backup/cyclecountsql.h"
#include "backup/dbaccess.h"
#include "host/core/sqltext.h"
#include "services/pubvariant.h"

std::shared_ptr<host::Recordset> ICBackupInv::GetCheckCycItem(std::string *vSql, bool blnGetSql,
                                                              std::string_view vCondition)
{
    std::string sql = backup::checkCycItemSql(PubVariant::GetUseShortNumber(), vCondition);
    if (vSql)
        *vSql = sql;
    if (blnGetSql)
        return nullptr;
    host::addLine(sql, " select * from #temp1 order by fstocknumber,fstockname,fnumber");
    host::addLine(sql, " drop table #temp1");
    return backup::execute(sql);
}

std::shared_ptr<host::Recordset> ICBackupInv::GetCheckCycStockID()
{
    return backup::execute(backup::checkCycStockIdSql());
}

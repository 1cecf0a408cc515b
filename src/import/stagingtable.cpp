#include "import/stagingtable.h"

#include "host/core/datetime.h"

#include <array>
#include <string_view>

namespace StagingTable {
namespace {

constexpr std::array<std::string_view, 33> kColumnLines = {
    "(FInterID int not null,",
    "FBrNo varchar(10) not null,",
    "FItemID int not null,",
    "FAuxPropID int not null,",
    "FUnitID int not null,",
    "FBatchNo varchar(200) not null,",
    "FMtoNo varchar(300) not null,",
    "FStockID int not null,",
    "FQty decimal(28,10),",
    "FSelect bit not null,",
    "FAdj bit not null,",
    "FAdjQty decimal(28,10) not null,",
    "FDateBackup datetime,",
    "FMaxBillInterID int,",
    "FCheckQty decimal(28,10),",
    "FQtyAct decimal(28,10),",
    "FAuxCheckQty decimal(28,10),",
    "FAuxQtyAct decimal(28,10),",
    "FAuxQty decimal(28,10),",
    "FMinus decimal(28,10),",
    "FNote varchar(255),",
    "FStockPlaceID int not null,",
    "FKFDate varchar(20) not null DEFAULT(0),",
    "FKFPeriod int not null DEFAULT(0),",
    "FSecUnitID int not null DEFAULT(0),",
    "FSecQty decimal(28, 10) not null DEFAULT(0),",
    "FSecQtyAct decimal(28, 10) not null DEFAULT(0),",
    "FSecCheckQty decimal(28, 10) not null DEFAULT(0),",
    "FSecAdjQty decimal(28, 10) not null DEFAULT(0),",
    "FSecMinus decimal(28, 10) not null DEFAULT(0),",
    "FRowNum INT not null DEFAULT(0),",
    "FChecker int",
    ")"};

} // namespace

std::string name(long userId, double startTime)
{
    return "IcInvBackUpTemp_" + std::to_string(userId) + "_" +
           host::formatDate(startTime, "YYMMDDHHNNSS");
}

std::string createSql(const std::string &tableName)
{
    std::string sql = "  Create Table " + tableName + "\r\n";
    for (const auto line : kColumnLines) {
        sql += line;
        sql += "\r\n";
    }
    return sql;
}

} // namespace StagingTable

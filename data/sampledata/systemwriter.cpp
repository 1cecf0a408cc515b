#include "sampledata/writer.h"

#include "sampledata/catalog.h"
#include "sampledata/values.h"

#include "host/core/datetime.h"
#include "host/db/appconnection.h"

namespace sampledata {
namespace {

// The rights the count commands ask for: object type, right index and mask.
constexpr int kCountObject = 1001;
constexpr int kChangeCountsRight = 5;
constexpr int kViewReportRight = 8;
constexpr int kRightMask = 0x20000;

struct Option
{
    std::string key;
    std::string value;
    std::string description;
};

struct PeriodRef
{
    int year;
    int period;
};

struct RightRef
{
    int userId;
    int rightIndex;
};

struct StockRuleRef
{
    int userId;
    int stockId;
};

struct Reservation
{
    int userId;
    std::string table;
    int number;
};

std::vector<Option> options(const Company &company)
{
    return {{"CurrentYear", std::to_string(company.currentYear), "当前会计年度"},
            {"CurrentPeriod", std::to_string(company.currentPeriod), "当前会计期间"},
            {"StartYear", std::to_string(company.currentYear - 1), "启用年度"},
            {"StartPeriod", "1", "启用期间"},
            {"UseShortNumber", "0", "物料使用短代码"},
            {"EnableMtoPlanMode", "1", "启用计划跟踪号"},
            {"ShowFilterBeforeCheck", "0", "打开盘点单前显示过滤条件"},
            {"AlertSameCheckStockRecord", "1", "盘点重复添加时给予提示"},
            {"ICBillPos", "0", "同步前台零售单据"},
            {"BillStatus", "0", "期末结账后才能生成盘点单据"}};
}

void writeTypes(host::AppConnection &connection)
{
    load(connection, "ICTransactionType", {"FID", "FName", "FName_CHT", "FName_EN"},
         catalog::transactionTypes(), [](const catalog::NamedType &type) -> Row {
             return {type.id, type.name, type.nameCht, type.nameEn};
         });
    load(connection, "ICClassType", {"FID", "FName", "FName_CHS", "FName_CHT", "FName_EN"},
         std::vector<catalog::NamedType>{catalog::mtoChangeClass()},
         [](const catalog::NamedType &type) -> Row {
             return {type.id, type.name, type.name, type.nameCht, type.nameEn};
         });
}

void writePeriods(host::AppConnection &connection, const Company &company)
{
    std::vector<PeriodRef> periods;
    for (int year = company.currentYear - 1; year <= company.currentYear; ++year) {
        for (int month = 1; month <= 12; ++month)
            periods.push_back({year, month});
    }
    load(connection, "t_PeriodDate", {"FYear", "FPeriod", "FStartDate", "FEndDate"}, periods,
         [](const PeriodRef &p) -> Row {
             return {p.year, p.period, host::Variant::fromDate(host::makeDate(p.year, p.period, 1)),
                     host::Variant::fromDate(
                         host::makeDate(p.year, p.period, host::daysInMonth(p.year, p.period)))};
         });
}

void writeUsers(host::AppConnection &connection, const Company &company)
{
    load(connection, "t_user", {"FUserID", "FName", "FDescription"}, company.users,
         [](const User &user) -> Row {
             return {user.id, user.name, user.description};
         });
    std::vector<RightRef> rights;
    std::vector<StockRuleRef> rules;
    for (const auto &user : company.users) {
        if (user.mayChangeCounts)
            rights.push_back({user.id, kChangeCountsRight});
        if (user.mayViewReport)
            rights.push_back({user.id, kViewReportRight});
        for (const int stockId : user.visibleStockIds)
            rules.push_back({user.id, stockId});
    }
    load(connection, "t_UserRight", {"FUserID", "FObjectType", "FRightIndex", "FAccessMask"},
         rights, [](const RightRef &right) -> Row {
             return {right.userId, kCountObject, right.rightIndex, kRightMask};
         });
    load(connection, "t_DataAccessRule", {"FUserID", "FDataTable", "FItemID"}, rules,
         [](const StockRuleRef &rule) -> Row {
             return {rule.userId, "t_Stock", rule.stockId};
         });
}

// Ids users hold while they edit a bill: one at the highest bill and one above it, so the
// backup's pre-check has a reservation to mark and one to leave alone.
void writeReservations(host::AppConnection &connection, const Company &company)
{
    std::vector<Reservation> reservations;
    if (!company.bills.empty() && !company.users.empty()) {
        const int highest = company.bills.back().interId;
        reservations.push_back({company.users.front().id, "ICStockBill", highest});
        reservations.push_back({company.users.back().id, "ICStockBill", highest + 1});
    }
    if (!company.mtoChanges.empty() && !company.users.empty())
        reservations.push_back(
            {company.users.front().id, "t_MTOChange", company.mtoChanges.back().id});
    load(connection, "IC_MaxNum", {"FUserID", "FTableName", "FNumber", "FFlag"}, reservations,
         [](const Reservation &r) -> Row {
             return {r.userId, r.table, r.number, 0};
         });
}

} // namespace

void writeSystem(host::AppConnection &connection, const Company &company)
{
    writeTypes(connection);
    writePeriods(connection, company);
    load(connection, "t_SystemProfile",
         {"FCategory", "FKey", "FValue", "FReadonly", "FDescription", "FLevel", "FExplanation",
          "FFormat", "FSort", "FDescription_cht", "FDescription_en"},
         options(company), [](const Option &option) -> Row {
             return {"IC", option.key, option.value, 1, option.description, "", "", "", 0, "", ""};
         });
    writeUsers(connection, company);
    load(connection, "icbillno", {"FBillID", "FBillName", "FCurNo"}, std::vector<int>{-1},
         [](int id) -> Row {
             return {id, "盘点方案", 1};
         });
    writeReservations(connection, company);
}

} // namespace sampledata

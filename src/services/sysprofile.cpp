#include "host/billdata/systemprofile.h"
#include "host/core/dateformatter.h"
#include "host/core/datetime.h"
#include "host/core/hosterror.h"
#include "host/core/objectfactory.h"
#include "host/core/sqltext.h"
#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"
#include "host/list/listserver.h"
#include "services/appconn.h"
#include "services/mmts.h"
#include "services/modqellogmsg.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace PubVariant {
namespace {

constexpr std::string_view kListSeparator = "','";
constexpr std::string_view kCategory = "IC";
// The option's description as the host lists it (its English in the language table).
const std::string kAlertSameCheckDescription = "盘点重复添加时给予提示";

std::shared_ptr<host::Recordset> execute(std::string_view sql)
{
    return appConn().Execute(sql);
}

// "a','b": the values between the separators.
std::vector<std::string> listValues(std::string_view values)
{
    std::vector<std::string> out;
    for (;;) {
        const size_t at = values.find(kListSeparator);
        out.emplace_back(values.substr(0, at));
        if (at == std::string_view::npos)
            return out;
        values.remove_prefix(at + kListSeparator.size());
    }
}

std::optional<host::Variant> option(std::string_view key)
{
    return host::readSystemOption(appConn(), kCategory, key);
}

long wholeNumber(const host::Variant &value)
{
    return static_cast<long>(std::trunc(host::Val(value)));
}

double wholeDay(double date)
{
    return std::floor(date);
}

} // namespace

std::shared_ptr<host::Dictionary> GetSysProfile(std::string_view categories, std::string_view keys)
{
    auto dict = std::make_shared<host::Dictionary>();
    for (auto &option :
         host::readSystemOptions(appConn(), listValues(categories), listValues(keys)))
        dict->SetValue(option.key, std::move(option.value));
    return dict;
}

bool GetCurPeriodDate(double &startDate, double &endDate)
{
    try {
        const auto current = option("CurrentPeriod");
        if (!current)
            return false;
        long period = wholeNumber(*current);
        module().gCurPeriod = period;
        long year = wholeNumber(host::requireSystemOption(appConn(), kCategory, "CurrentYear"));
        const auto server = host::CreateObjectAs<host::ListServer>(host::ListServer::ProgId);
        server->GetCurPeriod(MMTS::GetPropsString(), year, period, startDate, endDate);
        return true;
    } catch (const host::HostError &e) {
        ShowMsg(MParse::LoadLangString("获取本期的起始日期时出错。[GetPeriodStartEnd]") +
                    e.Description(),
                0);
        return false;
    }
}

bool CheckPeriodStart(long)
{
    auto &m = module();
    GetCurPeriodDate(m.gPeriodStart, m.gPeriodEnd);
    return wholeDay(GetServerDate()) >= m.gPeriodStart;
}

bool CheckDate()
{
    const long handle = modQelLogMsg::LogStart("ZarvoStockCheck.PubVariant.CheckDate");
    auto &m = module();
    GetCurPeriodDate(m.gPeriodStart, m.gPeriodEnd);
    const bool result = wholeDay(GetServerDate()) >= m.gPeriodEnd;
    modQelLogMsg::LogEnd(handle, 0);
    return result;
}

double GetServerDate() noexcept
{
    try {
        const auto rs = execute("Select GetDate()");
        const std::string day = host::DateFormatter().format(rs->Fields(0).Value(), "YYYY-MM-DD");
        return host::CDate(host::Variant(day));
    } catch (...) {
        return 0;
    }
}

bool GetUseShortNumber()
{
    const auto value = option("UseShortNumber");
    return value && host::Val(*value) != 1;
}

std::string GetStartDate()
{
    const long handle =
        modQelLogMsg::LogStart("ZarvoStockCheck.PubVariant.GetStartDate    获取系统启用日期");
    std::string result;
    try {
        const auto rs =
            execute("SELECT FStartDate FROM t_PeriodDate \r\n"
                    "WHERE FYear = (SELECT ISNULL(FValue,'') FROM t_SystemProfile WHERE FKey = "
                    "'StartYear' AND FCategory = 'IC')\r\n"
                    "  AND FPeriod = (SELECT ISNULL(FValue,0) FROM t_SystemProfile WHERE FKey = "
                    "'StartPeriod' AND FCategory = 'IC')\r\n");
        if (host::hasRows(rs))
            result = host::Trim(host::CStr(rs->Fields(0).Value()));
    } catch (const host::HostError &) {
        MsgBox(MParse::LoadLangString("获取系统启用日期失败！"), vbOKOnly);
        result.clear();
    }
    modQelLogMsg::LogEnd(handle, 0);
    return result;
}

bool GetAlertSameCheck(bool &alert)
{
    try {
        // A stored Null reads as "0".
        if (const auto value = option("AlertSameCheckStockRecord"))
            alert = !value->isNull() && host::CStr(*value) == "1";
        module().gAlertSameCheckStockRecord = alert;
        return true;
    } catch (const host::HostError &) {
        MsgBox(MParse::LoadLangString("读取系统设置错误!"), vbOKOnly);
        return false;
    }
}

void SaveAlertSameCheck(bool alert)
{
    const std::string v = alert ? "1" : "0";
    try {
        execute("IF EXISTS (SELECT * FROM t_systemProfile WHERE fkey = "
                "'AlertSameCheckStockRecord' and fcategory = 'IC')\r\n"
                "    UPDATE t_systemProfile SET FValue = " +
                v +
                " WHERE  fkey='AlertSameCheckStockRecord' and fcategory = 'IC'\r\n"
                "ELSE\r\n"
                "INSERT INTO t_systemProfile "
                "(FCategory,FKey,FValue,FReadonly,FDescription,FLevel,FExplanation,FFormat,FSort,"
                "FDescription_cht,FDescription_en)\r\n"
                "    VALUES('IC','AlertSameCheckStockRecord','" +
                v + "',1,'" + kAlertSameCheckDescription + " ','','','',0,'','')\r\n");
        module().gAlertSameCheckStockRecord = alert;
    } catch (const host::HostError &) {
        MsgBox(MParse::LoadLangString("保存系统设置错误!"), vbOKOnly);
    }
}

} // namespace PubVariant

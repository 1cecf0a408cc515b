#include "host/core/dateformatter.h"
#include "host/core/datetime.h"
#include "host/core/hosterror.h"
#include "host/core/objectfactory.h"
#include "host/core/sqltext.h"
#include "host/db/appconnection.h"
#include "host/db/recordset.h"
#include "host/list/listserver.h"
#include "services/appconn.h"
#include "services/mmts.h"
#include "services/modqellogmsg.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

#include <cmath>

namespace PubVariant {
namespace {

constexpr std::string_view kListSeparator = "','";

std::shared_ptr<host::Recordset> execute(std::string_view sql)
{
    return appConn().Execute(sql);
}

// "a','b" keeps its separators and has every other quote doubled.
std::string quotedList(std::string_view values)
{
    std::string out;
    size_t start = 0;
    for (;;) {
        const size_t at = values.find(kListSeparator, start);
        out +=
            host::sqlEscape(values.substr(start, at == std::string_view::npos ? at : at - start));
        if (at == std::string_view::npos)
            return out;
        out += kListSeparator;
        start = at + kListSeparator.size();
    }
}

long optionLong(std::string_view key)
{
    const auto rs = execute("Select FValue From t_SystemProFile Where FKey='" + std::string(key) +
                            "' And FCategory='IC'");
    return static_cast<long>(std::trunc(host::Val(rs->Fields("FValue").Value())));
}

double wholeDay(double date)
{
    return std::floor(date);
}

} // namespace

std::shared_ptr<host::Dictionary> GetSysProfile(std::string_view categories, std::string_view keys)
{
    auto dict = std::make_shared<host::Dictionary>();
    const auto rs = execute("select fkey,fvalue from t_systemprofile where fcategory in ('" +
                            quotedList(categories) + "') and fkey in ('" + quotedList(keys) + "')");
    for (; rs && rs->State() != 0 && !rs->EOF(); rs->MoveNext())
        dict->SetValue(host::Trim(host::CStr(rs->Fields("fkey").Value())),
                       rs->Fields("fvalue").Value());
    return dict;
}

bool GetCurPeriodDate(double &startDate, double &endDate)
{
    try {
        const auto rs = execute(
            "Select FValue From t_SystemProFile Where FKey='CurrentPeriod' And FCategory='IC'");
        if (!rs || rs->RecordCount() < 1)
            return false;
        long period = static_cast<long>(std::trunc(host::Val(rs->Fields("FValue").Value())));
        module().gCurPeriod = period;
        long year = optionLong("CurrentYear");
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
    const auto rs = execute(
        "Select FValue From t_SystemProFile Where FKey='UseShortNumber' And FCategory='IC'");
    if (!rs || rs->State() == 0 || rs->RecordCount() < 1)
        return false;
    const bool result = host::Val(rs->Fields("FValue").Value()) != 1;
    rs->Close();
    return result;
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
        const auto rs = execute("select isnull(fvalue,'0') from t_systemprofile where "
                                "fkey='AlertSameCheckStockRecord' and fcategory = 'IC'");
        if (host::hasRows(rs))
            alert = host::CStr(rs->Fields(0).Value()) == "1";
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
                v + "',1,'盘点重复添加时给予提示 ','','','',0,'','')\r\n");
        module().gAlertSameCheckStockRecord = alert;
    } catch (const host::HostError &) {
        MsgBox(MParse::LoadLangString("保存系统设置错误!"), vbOKOnly);
    }
}

} // namespace PubVariant

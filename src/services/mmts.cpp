#include "services/mmts.h"
#include "host/core/text.h"

#include "host/access/dataaccess.h"
#include "host/core/hosterror.h"
#include "host/core/objectfactory.h"
#include "host/help/helptool.h"
#include "host/props/shareprops.h"
#include "services/modulestate.h"

namespace MMTS {

host::Variant GetShareProperty(std::string_view name)
{
    const auto props = host::CreateObjectAs<host::ShareProps>(host::ShareProps::ProgId);
    return props->GetProperty(host::currentProcessId(), name);
}

std::string GetPropsString()
{
    return host::CStr(GetShareProperty("PropsString"));
}

std::string GetUserName()
{
    return host::CStr(GetShareProperty("UserName"));
}

namespace {

// The value after "SubID=" in the host context string, up to the next ";".
std::string contextSubId()
{
    const std::string props = GetPropsString();
    const size_t at = host::findNoCase(props, "subid=");
    if (at == std::string::npos)
        return {};
    const size_t start = at + 6;
    const size_t end = props.find(';', start);
    return props.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

} // namespace

bool ShowHelp(int keyCode, long arg2, std::string_view topic, long arg4, std::string_view subSystem,
              long arg6)
{
    constexpr int kF1 = 112;
    if (keyCode != kF1)
        return false;
    auto &m = module();
    if (!m.gHelpTool)
        m.gHelpTool = host::CreateObject(host::HelpTool::ProgId);
    const auto tool = std::dynamic_pointer_cast<host::HelpTool>(m.gHelpTool);
    if (!tool)
        host::throwCannotCreate(host::HelpTool::ProgId);
    std::string system(subSystem);
    if (system.empty() && contextSubId() == "StdCost" &&
        host::startsWithNoCase(topic, "ZarvoCaculateRpt."))
        system = "StdCost";
    std::string topicText(topic);
    tool->ShowHELP(arg2, 0, topicText, arg4, system, arg6);
    return true;
}

std::shared_ptr<host::Dictionary> AccessDescriptor(std::string_view table, std::string_view tableAs,
                                                   std::string_view billTableAs,
                                                   std::string_view billCol)
{
    auto d = std::make_shared<host::Dictionary>();
    d->SetValue("DataTable", table);
    d->SetValue("DataTableAs", tableAs);
    d->SetValue("DataCol", "FItemID");
    d->SetValue("BillTableAs", billTableAs);
    d->SetValue("BillCol", billCol);
    return d;
}

bool GetDataAccessSQL(const std::string &propsString, long userId, host::Vector &tableNames,
                      host::Vector &descriptors, std::string &from, std::string &where, bool mode)
{
    const auto access = host::CreateObjectAs<host::DataAccess>(host::DataAccess::ProgId);
    if (!access->IsUsed(propsString, userId))
        return true;
    std::shared_ptr<host::RowAccessInfo> info;
    if (tableNames.Count() > 0)
        info = access->GetRowAccessInfo(propsString, userId, tableNames);
    if (descriptors.Count() > 0) {
        const auto result = mode ? access->GetAccessDataSQL(descriptors, info)
                                 : access->GetAccessDataSQL2(descriptors, info);
        from = host::CStr(result->Value("From"));
        where = host::CStr(result->Value("Where"));
    }
    return true;
}

void GetCountLineAccessSQL(long userId, std::string &from, std::string &where)
{
    host::Vector tables;
    tables.Add("t_Stock");
    tables.Add("t_ICItem");
    host::Vector descriptors;
    descriptors.Add(host::Variant(AccessDescriptor("t_Stock", "te", "t1", "FStockID")));
    descriptors.Add(host::Variant(AccessDescriptor("t_ICItem", "te2", "t1", "FItemID")));
    GetDataAccessSQL(GetPropsString(), userId, tables, descriptors, from, where, true);
}

} // namespace MMTS

#include "windowtest.h"

#include "host/core/paths.h"
#include "host/props/shareprops.h"
#include "host/ui/spread/spreadgrid.h"
#include "services/modulestate.h"
#include "services/mparse.h"

#include <cstdlib>

void WindowTest::SetUp()
{
    BackupTest::SetUp();
    setenv("STOCKCHECK_LOG", "off", 1);
    // The entry object made it before any window opens.
    module().gAppConn = m_conn;
    host::ShareProps().SetProperty(host::currentProcessId(), "PropsString", kContext);
    MParse::ParseProps(kContext);
    setOption("StartYear", "2025");
    setOption("StartPeriod", "1");
}

void WindowTest::grant(int rightIndex)
{
    exec("insert into t_UserRight (FUserID,FObjectType,FRightIndex,FAccessMask) values (" +
         std::to_string(kOperator) + ",1001," + std::to_string(rightIndex) + "," +
         std::to_string(0x20000) + ")");
}

void WindowTest::setOption(const std::string &key, const std::string &value)
{
    exec("delete from t_SystemProfile where FCategory='IC' and FKey='" + key + "'");
    exec("insert into t_SystemProfile (FCategory,FKey,FValue) values ('IC','" + key + "','" +
         value + "')");
}

QString WindowTest::text(const host::ui::SpreadGrid &grid, int col, int row)
{
    return grid.GetText(col, row);
}

#include "commandwindowtest.h"

#include "backup/icbackupinv.h"
#include "host/components/hostcomponents.h"
#include "host/core/datetime.h"
#include "host/core/dictionary.h"
#include "host/core/paths.h"
#include "host/db/connection.h"
#include "host/db/hostdatabase.h"
#include "host/db/recordset/recordset.h"
#include "host/props/shareprops.h"
#include "services/modulestate.h"
#include "support/hostdatabases.h"
#include "window/frmmain.h"

#include <cstdlib>

void CommandWindowTest::SetUp()
{
    const QByteArray home = m_home.path().toUtf8();
    setenv("XDG_CONFIG_HOME", (home + "/config").constData(), 1);
    setenv("XDG_STATE_HOME", (home + "/state").constData(), 1);
    setenv("STOCKCHECK_LOG", "off", 1);
    setenv("STOCKCHECK_DATA_DIR", STOCKCHECK_DATA_DIR, 1);
    host::registerHostComponents();
    host::ShareProps().RemoveAll();
    host::ShareProps().SetProperty(host::currentProcessId(), "PropsString",
                                   "UserID=16;SUBID=ic;LANGUAGE=CHS;");
    host::ShareProps().SetProperty(host::currentProcessId(), "UserName", std::string("演示用户"));
    resetModuleState();

    m_db = openDemoDatabase(0);
    host::setHostConnection(m_db);
    ModuleState &m = module();
    m.gAppConn = m_db;
    m.gConn = std::make_shared<host::Connection>(m_db);
    m.gOperatorID = 16;

    std::string stocks;
    for (auto rs = sql("Select FItemID From t_Stock Order By FItemID"); !rs->EOF(); rs->MoveNext())
        stocks += (stocks.empty() ? "" : ",") + host::CStr(rs->Fields(0L).Value());
    host::Dictionary params;
    params.SetValue("Stock", stocks);
    params.SetValue("Filter", std::string());
    params.SetValue("Date", host::formatDate(host::now(), "YYYY-MM-DD"));
    params.SetValue("Operater", 16L);
    ICBackupInv backup;
    ASSERT_TRUE(backup.GetStockBillMaxID());
    ASSERT_TRUE(backup.BackUpData(params, false, 0.0, false, true));
    m_proc = static_cast<long>(number("Select Max(FID) From ICStockCheckProcess"));
    sql("Update ICStockCheckProcess Set FBackupType=1 Where FID=" + std::to_string(m_proc));
    // As the process list opens it.
    m.gCurInterID = m_proc;
    m.gOpenFromProcList = true;
}

void CommandWindowTest::TearDown()
{
    resetModuleState();
    host::setHostConnection(nullptr);
}

std::unique_ptr<frmMain> CommandWindowTest::openWindow(long showType)
{
    auto window = std::make_unique<frmMain>();
    window->ShowType(showType);
    window->Load();
    return window;
}

std::shared_ptr<host::Recordset> CommandWindowTest::sql(const std::string &text)
{
    return m_db->Execute(text);
}

double CommandWindowTest::number(const std::string &query)
{
    auto rs = sql(query);
    rs->MoveFirst();
    return host::CDbl(rs->Fields(0L).Value());
}

long CommandWindowTest::count(const std::string &query)
{
    return sql(query)->RecordCount();
}

std::vector<std::string> CommandWindowTest::messages() const
{
    std::vector<std::string> texts;
    for (const auto &message : m_modals.messages())
        texts.push_back(message.text.toStdString());
    return texts;
}

void CommandWindowTest::setOption(const std::string &key, const std::string &value)
{
    sql("Delete From t_SystemProfile Where FCategory='IC' And FKey='" + key + "'");
    sql("Insert Into t_SystemProfile (FCategory,FKey,FValue) Values ('IC','" + key + "','" + value +
        "')");
}

#pragma once

#include "servicestest.h"

#include "host/core/datetime.h"
#include "host/db/appconnection.h"
#include "host/db/hostdatabase.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/modal/scriptedmodals.h"
#include "services/mparse.h"
#include "support/hostdatabases.h"

#include <memory>

// The sample company on an in-memory host database, seen on a fixed day, as the module sees
// it: the host's connection is the module's application connection.
class ServicesDatabaseTest : public ServicesTest
{
protected:
    static constexpr int kYear = 2026;
    static constexpr int kMonth = 12;

    void SetUp() override
    {
        ServicesTest::SetUp();
        setenv("STOCKCHECK_LOG", "off", 1);
        db = openDemoDatabase(host::makeDate(kYear, kMonth, 7));
        host::setHostConnection(db);
        module().gAppConn = db;
        useContext("UserID=16394;LANGUAGE=CHS;SUBID=ic");
    }

    // Sets the host context string and parses it, as a window does when it starts.
    static void useContext(const std::string &props)
    {
        setPropsString(props);
        MParse::ParseProps(props);
    }
    void TearDown() override
    {
        host::setHostConnection(nullptr);
        ServicesTest::TearDown();
    }

    host::Variant scalar(const std::string &sql)
    {
        const auto rs = db->Execute(sql);
        return rs->RecordCount() > 0 ? rs->Fields(0).Value() : host::Variant();
    }
    void setOption(const std::string &key, const std::string &value)
    {
        db->Execute("delete from t_SystemProfile where FCategory='IC' and FKey='" + key + "'");
        db->Execute("insert into t_SystemProfile (FCategory,FKey,FValue) values ('IC','" + key +
                    "','" + value + "')");
    }
    void dropOption(const std::string &key)
    {
        db->Execute("delete from t_SystemProfile where FCategory='IC' and FKey='" + key + "'");
    }

    std::shared_ptr<host::AppConnection> db;
    host::ui::ScriptedModals modals;
};

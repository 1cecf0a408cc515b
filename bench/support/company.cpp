#include "support/company.h"

#include "host/billdata/systemprofile.h"
#include "host/components/hostcomponents.h"
#include "host/core/dictionary.h"
#include "host/core/paths.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/hostdatabase.h"
#include "host/props/shareprops.h"
#include "sampledata/sampledata.h"
#include "sampledata/schema.h"
#include "services/mmts.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "support/barequery.h"

Company::Company(long rowCount) : rows(rowCount)
{
    host::registerHostComponents();
    host::ShareProps().SetProperty(host::currentProcessId(), "PropsString",
                                   "UserID=16394;SUBID=ic;LANGUAGE=CHS;");
    resetModuleState();
    MParse::ParseProps(MMTS::GetPropsString());
    connection = std::make_shared<host::AppConnection>();
    connection->openDatabase(":memory:");
    sampledata::createSchema(*connection);
    sampledata::SampleOptions options;
    options.rows = rows;
    sampledata::generateSampleData(*connection, options);
    host::setHostConnection(connection);
    module().gAppConn = connection;
    auto stocks = connection->Execute("select FItemID from t_Stock order by FItemID");
    for (; !stocks->EOF(); stocks->MoveNext()) {
        if (!stockList.empty())
            stockList += ',';
        stockList += host::CStr(stocks->Fields(0).Value());
    }
    // The cut-off balance starts from the host's current period, as the process list hands it
    // over.
    module().gProcDict = std::make_shared<host::Dictionary>();
    for (auto &option :
         host::readSystemOptions(*connection, {"IC"}, {"CurrentYear", "CurrentPeriod"}))
        module().gProcDict->SetValue(option.key == "CurrentYear" ? "CurYear" : "CurPeriod",
                                     std::move(option.value));
}

Company &company(long rows)
{
    static std::unique_ptr<Company> current;
    if (!current || current->rows != rows) {
        current.reset();
        current = std::make_unique<Company>(rows);
    }
    return *current;
}

void runSqlite(const std::string &sql)
{
    runBare(host::hostConnection()->embedded()->handle(), sql);
}

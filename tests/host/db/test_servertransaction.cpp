// The one transaction of the module's writes, on the embedded database and on a server session
// that keeps a transaction open after a failed statement.
#include "host/core/hosterror.h"
#include "host/db/recordset/recordset.h"
#include "host/db/servertransaction.h"
#include "support/casename.h"
#include "support/hostdatabases.h"
#include "support/noxactabortconnection.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

struct Backend
{
    const char *name;
    std::function<std::shared_ptr<host::AppConnection>()> open;
};

const Backend kBackends[] = {
    {"Embedded", [] { return std::shared_ptr<host::AppConnection>(openSchemaDatabase()); }},
    {"ServerWithoutXactAbort", [] { return openNoXactAbortSchemaDatabase(); }},
};

std::string insert(long id)
{
    return "insert into icbillno (FBillID,FCurNo) values (" + std::to_string(id) + ",1)\r\n";
}

struct Scenario
{
    const char *description;
    std::function<void(host::AppConnection &)> run;
    const char *expectedError; // the start of the error that reaches the caller, or nothing
    long rowsLeft;
};

const Scenario kScenarios[] = {
    {"committed writes all stay",
     [](host::AppConnection &db) {
         host::ServerTransaction transaction(db);
         db.Execute(insert(1));
         db.Execute(insert(2));
         transaction.commit();
     },
     nullptr, 2},
    {"a failing statement takes back the writes before it",
     [](host::AppConnection &db) {
         host::ServerTransaction transaction(db);
         db.Execute(insert(1));
         db.Execute(insert(2) + insert(1));
         transaction.commit();
     },
     "UNIQUE constraint failed", 0},
    {"writes the caller does not commit are rolled back",
     [](host::AppConnection &db) {
         host::ServerTransaction transaction(db);
         db.Execute(insert(1));
     },
     nullptr, 0},
    {"a batch of its own is rolled back by its RAISERROR",
     [](host::AppConnection &db) {
         host::executeInTransaction(db, insert(1) + "IF 1=1 RAISERROR('拒绝',16,1)");
     },
     "拒绝", 0},
    {"a batch of its own commits when it ran whole",
     [](host::AppConnection &db) {
         const auto rs =
             host::executeInTransaction(db, insert(1) + "select count(*) from icbillno");
         EXPECT_EQ(host::CLng(rs->Fields(0L).Value()), 1);
     },
     nullptr, 1},
};

void PrintTo(const Backend &backend, std::ostream *os)
{
    *os << backend.name;
}

void PrintTo(const Scenario &scenario, std::ostream *os)
{
    *os << scenario.description;
}

class ServerTransactionTest : public ::testing::TestWithParam<std::tuple<Backend, Scenario>>
{};

TEST_P(ServerTransactionTest, WritesStayTogetherOrNotAtAll)
{
    const auto &[backend, scenario] = GetParam();
    const auto db = backend.open();
    std::string error;
    try {
        scenario.run(*db);
    } catch (const host::HostError &e) {
        error = e.Description();
    }
    if (scenario.expectedError)
        EXPECT_TRUE(error.starts_with(scenario.expectedError)) << error;
    else
        EXPECT_EQ(error, "");
    EXPECT_EQ(host::CLng(db->Execute("select count(*) from icbillno")->Fields(0L).Value()),
              scenario.rowsLeft);
    // No transaction is left open: a write after it stands on its own.
    db->Execute(insert(9));
    EXPECT_EQ(host::CLng(
                  db->Execute("select count(*) from icbillno where FBillID=9")->Fields(0L).Value()),
              1);
    if (const auto *server = dynamic_cast<NoXactAbortConnection *>(db.get())) {
        EXPECT_EQ(server->tranCount(), 0);
        EXPECT_FALSE(server->xactAbort()) << "the session's setting is put back";
    }
}

std::string scenarioName(const ::testing::TestParamInfo<std::tuple<Backend, Scenario>> &info)
{
    return caseName(info.index, std::string(std::get<0>(info.param).name) + " " +
                                    std::get<1>(info.param).description);
}

INSTANTIATE_TEST_SUITE_P(Backends, ServerTransactionTest,
                         ::testing::Combine(::testing::ValuesIn(kBackends),
                                            ::testing::ValuesIn(kScenarios)),
                         scenarioName);

TEST(ServerTransaction, RunsWithXactAbortAndNeverThrowsFromItsDestructor)
{
    const auto server = openNoXactAbortSchemaDatabase();
    {
        host::ServerTransaction transaction(*server);
        EXPECT_TRUE(server->xactAbort());
        EXPECT_EQ(server->tranCount(), 1);
        // The connection is gone before the transaction ends.
        server->close();
    }
    const auto embedded = openSchemaDatabase();
    EXPECT_NO_THROW({
        host::ServerTransaction transaction(*embedded);
        embedded->close();
    });
}

} // namespace

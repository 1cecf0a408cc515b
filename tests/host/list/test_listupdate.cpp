// The host's bill maker when two users make gain and loss bills at the same moment, each
// through a connection of their own to one database file.
#include "host/core/hosterror.h"
#include "host/core/variant.h"
#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"
#include "host/lang/hosttext.h"
#include "host/list/listupdate.h"
#include "sampledata/schema.h"
#include "support/casename.h"
#include "support/childprocess.h"
#include "support/databasefile.h"
#include "support/hostdatabases.h"
#include "support/noxactabortconnection.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Enough lines per count that making a bill takes a moment.
constexpr long kLines = 400;

struct ConcurrentCase
{
    const char *description;
    long first;  // the count the first user bills
    long second; // the count the second user bills
};

void PrintTo(const ConcurrentCase &c, std::ostream *os)
{
    *os << c.description;
}

class ConcurrentBills : public ::testing::TestWithParam<ConcurrentCase>
{
protected:
    void SetUp() override
    {
        setenv("STOCKCHECK_DATA_DIR", STOCKCHECK_DATA_DIR, 1);
        const auto db = openSchemaDatabase();
        // Counts 1 and 2, each with kLines lines counted one above the books.
        for (long process = 1; process <= 2; ++process) {
            std::string batch;
            for (long n = 1; n <= kLines; ++n)
                batch += "INSERT INTO ICInvBackup (FInterID,FItemID,FUnitID,FStockID,FBatchNo,"
                         "FQty,FCheckQty,FQtyAct,FMinus,FKFDate) VALUES (" +
                         std::to_string(process) + "," + std::to_string(n) +
                         ",1,1,'B',5,6,6,1,'')"
                         "\r\n";
            db->Execute(batch);
        }
        m_file = std::make_unique<DatabaseFile>(
            *db, ::testing::UnitTest::GetInstance()->current_test_info()->name());
        m_db = m_file->connect();
    }

    long number(const std::string &sql)
    {
        return host::CLng(m_db->Execute(sql)->Fields(0L).Value());
    }

    std::unique_ptr<DatabaseFile> m_file;
    std::shared_ptr<host::AppConnection> m_db;
};

TEST_P(ConcurrentBills, EachLineIsBilledOnce)
{
    const ConcurrentCase &c = GetParam();
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    // Each user opens a connection of their own; both start together when the gate opens.
    // The answer: the bill id and the host's message.
    const auto user = [this, &gate](long process) {
        return [this, &gate, process] {
            close(gate[1]);
            const auto connection = m_file->connect();
            host::ListUpdate maker([connection] { return connection; });
            char go;
            if (read(gate[0], &go, 1) < 0)
                return std::string("no start");
            std::string message;
            long billId = 0;
            maker.MakeStockCheckBillNew("UserID=16394;", process, message, 1, billId);
            return std::to_string(billId) + "|" + message;
        };
    };
    ChildProcess first(user(c.first));
    ChildProcess second(user(c.second));
    close(gate[0]);
    close(gate[1]);
    const std::string answers[] = {first.finish(), second.finish()};

    const long counts = c.first == c.second ? 1 : 2;
    long made = 0;
    for (const auto &answer : answers) {
        if (answer.starts_with("0|")) {
            // The user who came second to the same count is told there was nothing left.
            EXPECT_EQ(answer, "0|" + host::hostText("没有需要生成单据的盘点差异。"));
            continue;
        }
        ++made;
        EXPECT_GT(std::atol(answer.c_str()), 0) << answer;
    }
    EXPECT_EQ(made, counts);
    EXPECT_EQ(number("select count(*) from ICStockBill"), counts);
    EXPECT_EQ(number("select count(distinct FBillNo) from ICStockBill"), counts);
    EXPECT_EQ(number("select count(*) from ICStockBillEntry"), counts * kLines);
    // Every billed line carries the bill of its own count, whose entries it made.
    EXPECT_EQ(number("select count(*) from ICInvBackup b inner join ICStockBill s on "
                     "s.FInterID=b.FBillInterID and s.FProcID=b.FInterID"),
              counts * kLines);
}

INSTANTIATE_TEST_SUITE_P(Users, ConcurrentBills,
                         ::testing::Values(ConcurrentCase{"two counts at once", 1, 2},
                                           ConcurrentCase{"the same count twice at once", 1, 1}),
                         [](const auto &param) {
                             return caseName(param.index, param.param.description);
                         });

// An application connection that keeps the text of every batch it runs.
class RecordingConnection : public host::AppConnection
{
public:
    std::shared_ptr<host::Recordset> Execute(std::string_view sql) override
    {
        sent.emplace_back(sql);
        return AppConnection::Execute(sql);
    }
    std::vector<std::string> sent;
};

// On a server under READ COMMITTED two bill runs could read the same highest id and number:
// both are read under an update lock held to the commit, the id before the lines to bill.
TEST(BillMaker, ReadsTheIdAndTheNumberUnderAnUpdateLockBeforeTheLines)
{
    setenv("STOCKCHECK_DATA_DIR", STOCKCHECK_DATA_DIR, 1);
    const auto db = std::make_shared<RecordingConnection>();
    db->openDatabase(":memory:");
    sampledata::createSchema(*db);
    db->Execute("INSERT INTO ICInvBackup (FInterID,FItemID,FUnitID,FStockID,FQty,FCheckQty,"
                "FQtyAct,FMinus,FKFDate) VALUES (1,1,1,1,5,6,6,1,'')");
    db->sent.clear();
    host::ListUpdate maker([db] { return db; });
    std::string message;
    long billId = 0;
    maker.MakeStockCheckBillNew("UserID=1;", 1, message, 1, billId);

    EXPECT_EQ(billId, 1);
    const auto at = [&db](std::string_view start) {
        return std::find_if(db->sent.begin(), db->sent.end(),
                            [&](const std::string &sql) { return sql.starts_with(start); }) -
               db->sent.begin();
    };
    const auto id = at("Select Max(FInterID) From ICStockBill WITH (UPDLOCK, HOLDLOCK)");
    const auto lines = at("Select FItemID,");
    const auto number =
        at("Select FBillNo From ICStockBill WITH (UPDLOCK, HOLDLOCK) Where FBillNo Like 'PY%'");
    const auto written = at("UPDATE ICInvBackup SET FBillInterID=1 ");
    EXPECT_EQ(at("SET XACT_ABORT ON\r\nBEGIN TRAN"), 0);
    EXPECT_LT(id, lines);
    EXPECT_LT(lines, number);
    EXPECT_LT(number, written);
    EXPECT_LT(written, static_cast<long>(db->sent.size()));
}

// The lines cannot be written: the bill's head and the marks on the count lines written before
// go back too, also on a server that keeps a transaction open after a failed statement.
TEST(BillMaker, AFailureLeavesNoPartOfTheBill)
{
    const std::function<std::shared_ptr<host::AppConnection>()> backends[] = {
        [] { return std::shared_ptr<host::AppConnection>(openSchemaDatabase()); },
        [] { return openNoXactAbortSchemaDatabase(); }};
    for (const auto &open : backends) {
        const auto db = open();
        db->Execute("INSERT INTO ICInvBackup (FInterID,FItemID,FUnitID,FStockID,FQty,FCheckQty,"
                    "FQtyAct,FMinus,FKFDate) VALUES (1,1,1,1,5,6,6,1,'')");
        db->Execute("DROP TABLE ICStockBillEntry");
        host::ListUpdate maker([db] { return db; });
        std::string message;
        long billId = 0;
        EXPECT_THROW(maker.MakeStockCheckBillNew("UserID=1;", 1, message, 1, billId),
                     host::HostError);
        EXPECT_EQ(billId, 0);
        const auto left = [&db](const std::string &sql) {
            return host::CLng(db->Execute(sql)->Fields(0L).Value());
        };
        EXPECT_EQ(left("select count(*) from ICStockBill"), 0);
        EXPECT_EQ(left("select count(*) from ICInvBackup where FBillInterID is not null"), 0);
    }
}

} // namespace

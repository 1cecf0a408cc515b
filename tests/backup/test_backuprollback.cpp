// A backup that the module refuses or that fails half-way leaves the database as it was, the
// numbering counter included, also on a server that keeps a transaction open after a failed
// statement.
#include "backuptest.h"
#include "support/casename.h"
#include "support/noxactabortconnection.h"

#include "services/modulestate.h"
#include "services/mparse.h"

#include <optional>

namespace {

struct RollbackCase
{
    const char *description;
    const char *cutOff;  // a cut-off backup at that date, or a cycle count per stock
    const char *message; // the start of the one message shown
};

struct Backend
{
    const char *name;
    bool serverWithoutXactAbort;
};

const Backend kBackends[] = {{"Embedded", false}, {"ServerWithoutXactAbort", true}};

const RollbackCase kCases[] = {
    {"cut-off date outside the periods", "2031-01-01",
     "截止日期超出已定义的会计期间范围，不能备份！"},
    {"cut-off date without anything to back up", "2026-02-15", "没有可用的数据，不能备份！"},
    {"a statement of the batch fails", nullptr, "备份数据失败！\n"},
};

class BackupRollback : public BackupTest,
                       public ::testing::WithParamInterface<std::tuple<Backend, RollbackCase>>
{
protected:
    std::shared_ptr<host::AppConnection> openDatabase() override
    {
        if (std::get<0>(GetParam()).serverWithoutXactAbort)
            return openNoXactAbortSchemaDatabase();
        return BackupTest::openDatabase();
    }

    bool runBackup(const RollbackCase &c)
    {
        ICBackupInv backup;
        if (c.cutOff)
            return backUp(backup, params("1,2", "", c.cutOff), true, c.cutOff);
        if (!backup.GetStockBillMaxID())
            return true;
        // The per-stock cycle count's later calls insert into an item-list table that the first
        // call made; here it was never made, so the batch fails after the lines, the process
        // row and the counter were written.
        std::string itemTable = "t_StockCheckTempMissing";
        return backup.BackUpData(params("1"), false, 0, true, false, true, false, &itemTable);
    }
};

// Notes, as each message is shown, how many transactions the server still holds open: a
// refusal the user reads while the backup's transaction is open keeps every other writer
// waiting.
class OpenTransactionsAtMessage : public host::ui::ScriptedModals
{
public:
    explicit OpenTransactionsAtMessage(const NoXactAbortConnection &server) : m_server(server) {}
    long messageBox(const QString &text, long style, const QString &title) override
    {
        open.push_back(m_server.tranCount());
        return ScriptedModals::messageBox(text, style, title);
    }
    std::vector<int> open;

private:
    const NoXactAbortConnection &m_server;
};

void PrintTo(const Backend &backend, std::ostream *os)
{
    *os << backend.name;
}

void PrintTo(const RollbackCase &c, std::ostream *os)
{
    *os << c.description;
}

} // namespace

TEST_P(BackupRollback, LeavesTheDatabaseAsItWas)
{
    const RollbackCase &c = std::get<1>(GetParam());
    module().gProcDict = std::make_shared<host::Dictionary>();
    module().gProcDict->SetValue("CurYear", 2026);
    module().gProcDict->SetValue("CurPeriod", 3);
    exec("update t_ICItemMaterial set FCheckCycle=1,FCheckCycUnit=11603");
    addStock({kItemPiece, 1, 10, "", 3});
    // The latest process is of another day, so taking a number starts the counter again at 1.
    addProcess(4, "202601010004", "2026-01-01");
    exec("update icbillno set FCurNo=5 where FBillID=-1");

    const auto *server = dynamic_cast<NoXactAbortConnection *>(m_conn.get());
    std::optional<OpenTransactionsAtMessage> probe;
    if (server)
        probe.emplace(*server);

    EXPECT_FALSE(runBackup(c));

    EXPECT_EQ(host::CLng(scalar("select FCurNo from icbillno")), 5);
    EXPECT_EQ(count("ICStockCheckProcess"), 1);
    EXPECT_EQ(count("ICInvBackup"), 0);
    EXPECT_EQ(count("ICInvBackupTemp"), 0);
    EXPECT_TRUE(scalar("select FLastCheckDate from t_ICItemMaterial where FItemID=102").isNull());
    if (server) {
        EXPECT_EQ(server->tranCount(), 0);
        EXPECT_EQ(probe->open, std::vector<int>{0});
        ASSERT_EQ(probe->messageTexts().size(), 1);
        EXPECT_TRUE(probe->messageTexts()[0].startsWith(
            QString::fromStdString(MParse::LoadLangString(c.message))));
        return;
    }
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].starts_with(MParse::LoadLangString(c.message))) << messages()[0];
    EXPECT_TRUE(lastMessageIsInformation());
}

namespace {

std::string rollbackName(const ::testing::TestParamInfo<std::tuple<Backend, RollbackCase>> &info)
{
    return caseName(info.index, std::string(std::get<0>(info.param).name) + " " +
                                    std::get<1>(info.param).description);
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Backends, BackupRollback,
                         ::testing::Combine(::testing::ValuesIn(kBackends),
                                            ::testing::ValuesIn(kCases)),
                         rollbackName);

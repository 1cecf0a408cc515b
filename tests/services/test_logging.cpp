#include "servicestest.h"

#include "host/core/hosterror.h"
#include "host/core/objectfactory.h"
#include "host/log/logcomponent.h"
#include "services/modqellogmsg.h"

#include <fstream>
#include <sstream>

using namespace modQelLogMsg;

namespace {

// A log component whose answers a test decides.
class FakeLog : public host::LogComponent
{
public:
    FakeLog() : LogComponent("/nonexistent/dir/x.log") {}
    bool IsEnabled() const override
    {
        ++enabledAsked;
        return enabled;
    }
    long LogStart(std::string_view) override
    {
        if (fail)
            throw host::HostError("log broke");
        return 41;
    }
    void LogEnd(long, long) override
    {
        if (fail)
            throw host::HostError("log broke");
        ++ends;
    }
    bool enabled = true;
    bool fail = false;
    mutable int enabledAsked = 0;
    int ends = 0;
};

} // namespace

class Logging : public ServicesTest
{
protected:
    void SetUp() override
    {
        ServicesTest::SetUp();
        m_saved = host::registerObject(host::LogComponent::ProgId, [this] {
            ++created;
            return log;
        });
    }
    void TearDown() override
    {
        host::registerObject(host::LogComponent::ProgId, m_saved);
        ServicesTest::TearDown();
    }

    std::shared_ptr<FakeLog> log = std::make_shared<FakeLog>();
    int created = 0;

private:
    host::ObjectFactory m_saved;
};

TEST_F(Logging, MarksGoToTheComponent)
{
    const long handle = LogStart("ZarvoStockCheck.ICCheckInterface.CheckDataInput");
    EXPECT_EQ(handle, 41);
    LogEnd(handle, 0);
    EXPECT_EQ(log->ends, 1);
}

TEST_F(Logging, ADisabledComponentIsReleasedForGood)
{
    log->enabled = false;
    EXPECT_EQ(LogStart("a"), 0);
    log->enabled = true;
    EXPECT_EQ(LogStart("b"), 0);
    LogEnd(0, 0);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(log->ends, 0);
}

TEST_F(Logging, WithoutTheComponentEveryHandleIsZero)
{
    host::unregisterObject(host::LogComponent::ProgId);
    EXPECT_EQ(LogStart("a"), 0);
    EXPECT_NO_THROW(LogEnd(0, 0));
}

TEST_F(Logging, FailuresNeverReachTheCaller)
{
    log->fail = true;
    EXPECT_EQ(LogStart("a"), 0);
    EXPECT_NO_THROW(LogEnd(5, 0));
}

TEST_F(Logging, AnErrorInFlightSurvivesLogEnd)
{
    log->fail = true;
    try {
        try {
            throw host::HostError("盘点单据输出不成功", 91, "ZarvoStockCheck");
        } catch (const host::HostError &) {
            LogEnd(LogStart("x"), 0);
            throw;
        }
    } catch (const host::HostError &e) {
        EXPECT_EQ(e.Number(), 91);
        EXPECT_EQ(e.Description(), "盘点单据输出不成功");
        EXPECT_EQ(e.Source(), "ZarvoStockCheck");
    }
}

TEST(LogComponent, WritesStartAndEndMarksWithDurations)
{
    const auto file = std::filesystem::temp_directory_path() /
                      ("stockcheck-log-" + std::to_string(::getpid()) + ".log");
    std::filesystem::remove(file);
    {
        host::LogComponent log(file);
        ASSERT_TRUE(log.IsEnabled());
        log.LogEnd(log.LogStart("ZarvoStockCheck.ICBackupInv.BackUpData"), 0);
    }
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("start #1 ZarvoStockCheck.ICBackupInv.BackUpData"),
              std::string::npos);
    EXPECT_NE(text.str().find("end #1 ZarvoStockCheck.ICBackupInv.BackUpData"), std::string::npos);
    EXPECT_NE(text.str().find(" ms flag 0"), std::string::npos);
    std::filesystem::remove(file);
}

#include "countsheetdb.h"

#include "countsheet/maindo.h"
#include "host/core/dispatch.h"
#include "host/list/listupdate.h"
#include "services/modulestate.h"

namespace {

class BillRequest : public CountSheetDbTest
{
protected:
    void SetUp() override
    {
        CountSheetDbTest::SetUp();
        auto db = m_db;
        host::registerObject(host::ListUpdate::ProgId, [db] {
            return std::make_shared<host::ListUpdate>([db] { return db; });
        });
        module().gCurInterID = 1;
        m_main = std::make_unique<MainDo>();
    }
    void TearDown() override
    {
        host::registerHostComponents();
        CountSheetDbTest::TearDown();
    }

    std::unique_ptr<MainDo> m_main;
};

TEST_F(BillRequest, GainBillTakesTheLinesAboveZero)
{
    long billNo = 0;
    EXPECT_EQ(m_main->OutCheckBill(1, billNo), -1);
    ASSERT_GT(billNo, 0);
    // The host's message names the bill; it is shown as it comes.
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_NE(messages()[0].find("PY000001"), std::string::npos) << messages()[0];
    const std::string bill = " From ICStockBill Where FInterID=" + std::to_string(billNo);
    EXPECT_EQ(number("Select FTranType" + bill), 40);
    EXPECT_EQ(text("Select FBillNo" + bill), "PY000001");
    EXPECT_EQ(number("Select FProcID" + bill), 1);

    auto entries = sql("Select FItemID,FQty,FDCStockID,FDCSPID,FBatchNo From ICStockBillEntry "
                       "Where FInterID=" +
                       std::to_string(billNo) + " Order By FItemID");
    ASSERT_EQ(entries->RecordCount(), 2);
    entries->MoveFirst();
    EXPECT_EQ(host::CLng(entries->Fields("FItemID").Value()), 1);
    EXPECT_EQ(host::CDbl(entries->Fields("FQty").Value()), 6);
    EXPECT_EQ(host::CLng(entries->Fields("FDCSPID").Value()), 1);
    EXPECT_EQ(host::CStr(entries->Fields("FBatchNo").Value()), "B1");
    entries->MoveNext();
    EXPECT_EQ(host::CLng(entries->Fields("FItemID").Value()), 5);
    EXPECT_EQ(host::CDbl(entries->Fields("FQty").Value()), 3);

    EXPECT_EQ(count("Select * From ICInvBackup Where FBillInterID=" + std::to_string(billNo)), 2);
    // The same lines are not billed twice.
    long again = 0;
    EXPECT_EQ(m_main->OutCheckBill(1, again), -2);
    EXPECT_EQ(again, 0);
    EXPECT_EQ(count("Select * From ICStockBill"), 1);
    // ... and the user is told that nothing was left to bill.
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1], "没有需要生成单据的盘点差异。");
    // Once the bill is deleted its lines are billed again, also when a loss bill was made
    // meanwhile.
    for (const char *table : {"ICStockBill", "ICStockBillEntry"})
        sql(std::string("Delete From ") + table + " Where FInterID=" + std::to_string(billNo));
    long loss = 0;
    ASSERT_EQ(m_main->OutCheckBill(2, loss), -1);
    EXPECT_EQ(m_main->OutCheckBill(1, again), -1);
    EXPECT_EQ(count("Select * From ICInvBackup Where FBillInterID=" + std::to_string(again)), 2);
}

TEST_F(BillRequest, LossBillTakesTheLinesBelowZeroAsPositiveQuantities)
{
    // Loss bills of another count, their numbers apart where bills were deleted.
    sql("Insert Into ICStockBill (FInterID,FBillNo,FTranType,FDate,FProcID) Values "
        "(50,'PK000005',43,GETDATE(),9),(51,'PK000002',43,GETDATE(),9)");
    long gain = 0;
    m_main->OutCheckBill(1, gain);
    long loss = 0;
    EXPECT_EQ(m_main->OutCheckBill(2, loss), -1);
    ASSERT_GT(loss, gain);
    const std::string bill = " From ICStockBill Where FInterID=" + std::to_string(loss);
    EXPECT_EQ(number("Select FTranType" + bill), 43);
    EXPECT_EQ(text("Select FBillNo" + bill), "PK000006");
    const std::string entry = " From ICStockBillEntry Where FInterID=" + std::to_string(loss);
    EXPECT_EQ(count("Select *" + entry), 1);
    EXPECT_EQ(number("Select FQty" + entry), 2);
    EXPECT_EQ(number("Select FSecQty" + entry), 1);
    EXPECT_EQ(number("Select FDCStockID" + entry), 2);
    EXPECT_EQ(number("Select FKFPeriod" + entry), 180);
}

TEST_F(BillRequest, AFailedBillLeavesNothingBehind)
{
    // The lines cannot be written: neither the head nor the marks on the count lines stay.
    sql("Drop Table ICStockBillEntry");
    long billNo = 0;
    EXPECT_EQ(m_main->OutCheckBill(1, billNo), -99);
    EXPECT_EQ(count("Select * From ICStockBill"), 0);
    EXPECT_EQ(count("Select * From ICInvBackup Where FBillInterID Is Not Null"), 0);
    // The user reads what became of the count, then the engine's words without its statement.
    ASSERT_EQ(messages().size(), 1u);
    const std::string told = "盘点单据输出不成功:没有生成单据，盘点数据没有改动。\n";
    EXPECT_EQ(messages()[0].substr(0, told.size()), told);
    EXPECT_NE(messages()[0].find("ICStockBillEntry", told.size()), std::string::npos);
    EXPECT_EQ(messages()[0].find("SQL:"), std::string::npos) << messages()[0];
}

TEST_F(BillRequest, NoDifferencesNoBill)
{
    module().gCurInterID = 2;
    long billNo = -5;
    EXPECT_EQ(m_main->OutCheckBill(1, billNo), -2);
    EXPECT_EQ(billNo, 0);
    EXPECT_EQ(m_main->OutCheckBill(2, billNo), -2);
    EXPECT_EQ(count("Select * From ICStockBill"), 0);
    EXPECT_EQ(messages(), std::vector<std::string>(2, "没有需要生成单据的盘点差异。"));
}

// A host that answers in its own way.
class ScriptedListUpdate : public host::HostObject, public host::Dispatch
{
public:
    explicit ScriptedListUpdate(long answer) : m_answer(answer) {}
    long GetIDsOfNames(std::string_view) const override { return 1; }
    host::Variant Invoke(long, host::InvokeKind, std::vector<host::Variant> &args) override
    {
        args[2] = std::string("已处理");
        args[4] = m_answer;
        return {};
    }

private:
    long m_answer;
};

TEST_F(BillRequest, AnAnswerOfZeroOrLessMeansNoBill)
{
    for (long answer : {0L, -3L}) {
        host::registerObject(host::ListUpdate::ProgId,
                             [answer] { return std::make_shared<ScriptedListUpdate>(answer); });
        long billNo = 0;
        EXPECT_EQ(m_main->OutCheckBill(1, billNo), -2) << answer;
        EXPECT_EQ(billNo, answer);
    }
    // What the host said is passed on, with no bill list to follow.
    EXPECT_EQ(messages(), std::vector<std::string>(2, "已处理"));
}

TEST_F(BillRequest, AMissingComponentFails)
{
    host::unregisterObject(host::ListUpdate::ProgId);
    long billNo = 0;
    EXPECT_EQ(m_main->OutCheckBill(1, billNo), -99);
    EXPECT_EQ(count("Select * From ICStockBill"), 0);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0],
              "盘点单据输出不成功:没有生成单据，盘点数据没有改动。\n"
              "ActiveX component can't create object: ZarvoListServer.clsListUpdate");
}

} // namespace

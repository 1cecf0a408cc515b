#include "commandwindowtest.h"

#include "host/bills/billwindow.h"
#include "host/core/hosterror.h"
#include "host/core/objectfactory.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/controls/statusbarcontrol.h"
#include "window/frmmain.h"

#include <QGuiApplication>
#include <QTableWidget>

namespace {

class Bills : public CommandWindowTest
{
protected:
    void SetUp() override
    {
        CommandWindowTest::SetUp();
        // Two lines counted: one over its book quantity by 2, one under it by 3.
        auto lines = sql("Select FItemID,FStockID,FBatchNo,FQty From ICInvBackup Where FInterID=" +
                         std::to_string(m_proc) + " And FQty>5 Order By FItemID,FStockID,FBatchNo");
        ASSERT_GE(lines->RecordCount(), 2);
        lines->MoveFirst();
        countLine(lines, 2);
        lines->MoveNext();
        countLine(lines, -3);
    }

    void countLine(const std::shared_ptr<host::Recordset> &line, double difference)
    {
        const std::string d = std::to_string(difference);
        sql("Update ICInvBackup Set FCheckQty=FQty+" + d + ",FQtyAct=FQty+" + d + ",FMinus=" + d +
            " Where FInterID=" + std::to_string(m_proc) +
            " And FItemID=" + host::CStr(line->Fields("FItemID").Value()) +
            " And FStockID=" + host::CStr(line->Fields("FStockID").Value()) + " And FBatchNo='" +
            host::CStr(line->Fields("FBatchNo").Value()) + "'");
    }

    // Bills the list showed: their bill numbers.
    QStringList listed;
    void watchBillList()
    {
        m_modals.whileShown([this](host::ui::Form &form) {
            auto &window = dynamic_cast<host::BillWindow &>(form);
            for (int r = 0; r < window.heads()->rowCount(); ++r)
                listed << window.heads()->item(r, 0)->text();
        });
    }

    // Moves the current period's start or end date some days away from today.
    void movePeriod(const char *column, int days)
    {
        sql(std::string("Update t_PeriodDate Set ") + column + "=DATEADD(day," +
            std::to_string(days) +
            ",CONVERT(DATETIME,CONVERT(varchar(10),GETDATE(),120))) Where FYear=(Select FValue "
            "From t_SystemProfile Where FCategory='IC' And FKey='CurrentYear') And FPeriod=(Select "
            "FValue From t_SystemProfile Where FCategory='IC' And FKey='CurrentPeriod')");
    }

    static void expectUsable(frmMain &window)
    {
        EXPECT_TRUE(window.isEnabled());
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(window.staBar->Panels(1).Text(), "就绪");
    }
};

TEST_F(Bills, GainAndLossBillsAreMadeFromTheCountAndListed)
{
    const auto window = openWindow(1);
    watchBillList();
    window->mnuFOutBill->trigger();
    watchBillList();
    window->mnuFOutLossBill->trigger();

    const auto bills = sql("Select FInterID,FBillNo,FTranType From ICStockBill Where FProcID=" +
                           std::to_string(m_proc) + " Order By FInterID");
    ASSERT_EQ(bills->RecordCount(), 2);
    bills->MoveFirst();
    const long gain = host::CLng(bills->Fields("FInterID").Value());
    EXPECT_EQ(host::CLng(bills->Fields("FTranType").Value()), 40);
    const QString gainNo = QString::fromStdString(host::CStr(bills->Fields("FBillNo").Value()));
    bills->MoveNext();
    const long loss = host::CLng(bills->Fields("FInterID").Value());
    EXPECT_EQ(host::CLng(bills->Fields("FTranType").Value()), 43);
    const QString lossNo = QString::fromStdString(host::CStr(bills->Fields("FBillNo").Value()));
    EXPECT_EQ(listed, QStringList({gainNo, lossNo}));

    auto qty = [this](long bill) {
        return number("Select Sum(FQty) From ICStockBillEntry Where FInterID=" +
                      std::to_string(bill));
    };
    EXPECT_EQ(count("Select * From ICStockBillEntry Where FInterID=" + std::to_string(gain)), 1);
    EXPECT_DOUBLE_EQ(qty(gain), 2);
    EXPECT_EQ(count("Select * From ICStockBillEntry Where FInterID=" + std::to_string(loss)), 1);
    EXPECT_DOUBLE_EQ(qty(loss), 3);
    expectUsable(*window);
}

TEST_F(Bills, NoDifferenceNoBill)
{
    sql("Update ICInvBackup Set FMinus=0 Where FInterID=" + std::to_string(m_proc));
    const auto window = openWindow(1);
    window->mnuFOutBill->trigger();
    EXPECT_EQ(count("Select * From ICStockBill Where FProcID=" + std::to_string(m_proc)), 0);
    EXPECT_TRUE(m_modals.modalWindows().empty());
    expectUsable(*window);
}

TEST_F(Bills, ClosedPeriodAndDateBeforeThePeriodStartAreRefused)
{
    const auto window = openWindow(1);
    movePeriod("FEndDate", 10);
    setOption("BillStatus", "1");
    window->mnuFOutBill->trigger();
    ASSERT_EQ(messages().size(), 1U) << ::testing::PrintToString(messages());
    EXPECT_EQ(messages()[0], "当前期间已经关账，不能新增当前及以前期间单据。");

    setOption("BillStatus", "0");
    movePeriod("FStartDate", 1);
    window->mnuFOutLossBill->trigger();
    ASSERT_EQ(messages().size(), 2U);
    EXPECT_EQ(messages()[1], "输出盘点单必须在本期间起始日期之后!");

    EXPECT_EQ(count("Select * From ICStockBill Where FProcID=" + std::to_string(m_proc)), 0);
    expectUsable(*window);
}

TEST_F(Bills, AFailingBillListLeavesTheWindowUsable)
{
    const auto previous =
        host::registerObject("ZarvoBills.Bills", []() -> std::shared_ptr<host::HostObject> {
            throw host::HostError("The bill list is not installed.");
        });
    const auto window = openWindow(1);
    window->mnuFOutBill->trigger();
    host::registerObject("ZarvoBills.Bills", previous);
    EXPECT_FALSE(messages().empty());
    EXPECT_EQ(messages().back(), "操作没有完成，原因：\nThe bill list is not installed.");
    expectUsable(*window);
}

} // namespace

#include "host/bills/billlist.h"
#include "host/bills/billwindow.h"

#include "host/components/hostcomponents.h"
#include "host/core/dictionary.h"
#include "host/core/hosterror.h"
#include "host/core/objectfactory.h"
#include "host/core/vector.h"
#include "host/db/appconnection.h"
#include "host/db/connection.h"
#include "host/db/recordset.h"
#include "host/ui/scriptedmodals.h"
#include "sampledata/schema.h"

#include <QTableWidget>
#include <gtest/gtest.h>

namespace {

class BillList : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_db->openDatabase(":memory:");
        sampledata::createSchema(*m_db);
        for (const char *sql :
             {"INSERT INTO t_user (FUserID,FName) VALUES (16,'王会计')",
              "INSERT INTO t_ICItemBase (FItemID,FNumber,FName,FUnitID,FStoreUnitID,FCUUnitID) "
              "VALUES (1,'01.001','螺栓',1,1,1)",
              "INSERT INTO t_ICItemMaterial (FItemID) VALUES (1)",
              "INSERT INTO t_Stock (FItemID,FNumber,FName) VALUES (1,'S01','原料仓')",
              "INSERT INTO ICStockBill (FInterID,FBillNo,FTranType,FDate,FBillerID) VALUES "
              "(7,'PY000001',40,'2026-01-10',16)",
              "INSERT INTO ICStockBill (FInterID,FBillNo,FTranType,FDate,FBillerID) VALUES "
              "(8,'PK000001',43,'2026-01-10',16)",
              "INSERT INTO ICStockBillEntry (FInterID,FEntryID,FItemID,FUnitID,FBatchNo,FQty,"
              "FDCStockID) VALUES (7,1,1,1,'B1',6,1)",
              "INSERT INTO ICStockBillEntry (FInterID,FEntryID,FItemID,FUnitID,FQty,"
              "FDCStockID) VALUES (8,1,1,1,2,1)"})
            m_db->Execute(sql);
        host::registerHostComponents();
    }

    // The list over one bill, set up as the count sheet sets it up.
    std::shared_ptr<host::Bills> listOf(long billId, long tranType)
    {
        auto list = host::CreateObjectAs<host::Bills>(host::Bills::ProgId);
        list->LocalCnn = std::make_shared<host::Connection>(m_db);
        list->ListRecordset = std::make_shared<host::Recordset>(
            std::vector<std::string>{"FInterID", "FTranType"},
            std::vector<std::vector<host::Variant>>{
                {host::Variant(billId), host::Variant(tranType)}});
        list->ListRSFieldVect = std::make_shared<host::Vector>();
        for (const auto &[primary, name] : {std::pair{1, "FInterID"}, std::pair{3, "FTranType"}}) {
            auto field = std::make_shared<host::Dictionary>();
            field->SetValue("FISPrimary", host::Variant(static_cast<long>(primary)));
            field->SetValue("FColName", std::string(name));
            list->ListRSFieldVect->Add(host::Variant(field));
        }
        list->SetOpt(16, "王会计");
        return list;
    }

    static QStringList row(const QTableWidget &table, int r)
    {
        QStringList texts;
        for (int c = 0; c < table.columnCount(); ++c)
            texts << (table.item(r, c) ? table.item(r, c)->text() : QString());
        return texts;
    }

    std::shared_ptr<host::AppConnection> m_db = std::make_shared<host::AppConnection>();
    host::ui::ScriptedModals m_modals;
};

TEST_F(BillList, ShowsTheListedBillWithItsLines)
{
    const auto list = listOf(8, 43);
    EXPECT_EQ(list->listedBills(), (std::vector<std::pair<long, long>>{{8, 43}}));
    bool shown = false;
    m_modals.whileShown([&](host::ui::Form &form) {
        auto &window = dynamic_cast<host::BillWindow &>(form);
        ASSERT_EQ(window.heads()->rowCount(), 1);
        EXPECT_EQ(row(*window.heads(), 0),
                  QStringList({"PK000001", "2026-01-10", "盘亏单", "王会计"}));
        ASSERT_EQ(window.lines()->rowCount(), 1);
        EXPECT_EQ(row(*window.lines(), 0), QStringList({"1", "01.001", "螺栓", "原料仓", "", "2"}));
        shown = true;
    });
    list->Show(0, 1, 8);
    EXPECT_TRUE(shown);
}

TEST_F(BillList, WithoutAnOpenConnectionIsAnError)
{
    const auto list = listOf(7, 40);
    list->LocalCnn = std::make_shared<host::Connection>();
    EXPECT_THROW(list->Show(0, 1, 8), host::HostError);
}

} // namespace

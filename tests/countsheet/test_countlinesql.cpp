#include "countsheetdb.h"

#include "countsheet/countline.h"
#include "countsheet/countlinesql.h"
#include "host/core/stringbuilder.h"
#include "services/modulestate.h"

namespace {

// Line A of process 1 as the entry grid holds it, with new counts.
CountLine lineA()
{
    CountLine line;
    line.stockPlaceId = 1;
    line.itemId = 1;
    line.unitId = 2;
    line.batchNo = "B1";
    line.checkQty = 36;
    line.diffQty = -2;
    line.cuUnitQty = 2;
    line.cuUnitCheckQty = 3;
    line.note = "it's counted";
    line.adjQty = 0.5;
    line.coefficient = 12;
    line.stockId = 1;
    line.qty = 24;
    line.auxPropId = 7;
    return line;
}

class CountLineStatements : public CountSheetDbTest
{
protected:
    void SetUp() override
    {
        CountSheetDbTest::SetUp();
        module().gCurInterID = 1;
        module().gOperatorID = 9;
        // Twins of line A that differ in one key column each.
        sql("INSERT INTO ICInvBackup (FInterID,FItemID,FAuxPropID,FUnitID,FBatchNo,FStockID,"
            "FStockPlaceID,FKFDate,FQty,FCheckQty,FQtyAct,FAuxQty,FMinus) VALUES "
            "(1,1,7,2,'B2',1,1,'',24,24,24,2,0)");
        sql("INSERT INTO ICInvBackup (FInterID,FItemID,FAuxPropID,FUnitID,FBatchNo,FStockID,"
            "FStockPlaceID,FKFDate,FQty,FCheckQty,FQtyAct,FAuxQty,FMinus) VALUES "
            "(1,1,0,2,'B1',1,1,'',24,24,24,2,0)");
    }

    std::string updateText(const CountLine &row)
    {
        host::StringBuilder sb;
        PubVariant::GetUpdateRowSQL(sb, row);
        return sb.StringValue();
    }
};

TEST_F(CountLineStatements, UpdateTextIsTheContract)
{
    CountLine row = lineA();
    row.checkQty = 0.1;
    row.diffQty = 0.2;
    const std::string expectedWhere = " Where FInterID = 1 And FStockID=1\r\n"
                                      " AND FItemID=1\r\n"
                                      " AND FStockPlaceID=1\r\n"
                                      " AND CONVERT(DATETIME,FKFDate)=''\r\n"
                                      " AND FKFPeriod=0\r\n"
                                      " AND FBatchNo='B1'\r\n"
                                      " AND FMtoNo=''\r\n"
                                      " AND FAuxPropID=7\r\n"
                                      " And FUnitID=2\r\n";
    EXPECT_EQ(updateText(row), "Update ICInvBackup Set \r\n"
                               "FCheckQty=0.1,\r\n"
                               "FQtyAct=0.30000000000000004,\r\n"
                               "FAuxQty=2,\r\n"
                               "FQty=24,\r\n"
                               "FAuxCheckQty=3,\r\n"
                               "FAuxQtyAct=3,\r\n"
                               "FChecker=9,\r\n"
                               "FNote='it''s counted',\r\n"
                               "FAdjQty=0.5,\r\n"
                               "FSecQty=0,\r\n"
                               "FSecQtyAct=0,\r\n"
                               "FSecCheckQty=0,\r\n"
                               "FSecAdjQty=0\r\n" +
                                   expectedWhere +
                                   "Update ICInvBackup Set \r\n"
                                   "FMinus=FQtyAct-FQty-(FAdjQty*12),\r\n"
                                   "FSecMinus=FSecQtyAct-FSecQty-FSecAdjQty\r\n" +
                                   expectedWhere);
}

TEST_F(CountLineStatements, UpdateChangesExactlyTheLineOfTheKey)
{
    m_db->Execute(updateText(lineA()));
    const std::string a = " From ICInvBackup Where FInterID=1 And FItemID=1 And FBatchNo='B1' "
                          "And FAuxPropID=7";
    EXPECT_EQ(number("Select FCheckQty" + a), 36);
    EXPECT_EQ(number("Select FQtyAct" + a), 34); // counted 36 and bills of -2
    EXPECT_EQ(number("Select FMinus" + a), 4);   // 34 - 24 - 0.5 box x 12
    EXPECT_EQ(number("Select FAuxQtyAct" + a), 3);
    EXPECT_EQ(number("Select FChecker" + a), 9);
    EXPECT_EQ(text("Select FNote" + a), "it's counted");
    EXPECT_EQ(count("Select * From ICInvBackup Where FCheckQty=36"), 1);
    EXPECT_EQ(count("Select * From ICInvBackup Where FChecker Is Not Null"), 1);
}

TEST_F(CountLineStatements, UpdateMatchesAShelfLifeDate)
{
    CountLine row = lineA();
    row.stockPlaceId = 0;
    row.kfDate = "2024-05-01";
    row.kfPeriod = 180;
    row.itemId = 2;
    row.unitId = 1;
    row.batchNo = "";
    row.stockId = 2;
    row.auxPropId = 0;
    row.coefficient = 1;
    row.adjQty = 0;
    row.qty = 10;
    row.checkQty = 5;
    row.diffQty = -2;
    row.secQty = 5;
    row.secCheckQty = 6;
    row.secDiffQty = 1;
    m_db->Execute(updateText(row));
    EXPECT_EQ(number("Select FQtyAct From ICInvBackup Where FItemID=2"), 3);
    EXPECT_EQ(number("Select FMinus From ICInvBackup Where FItemID=2"), -7);
    EXPECT_EQ(number("Select FSecQtyAct From ICInvBackup Where FItemID=2"), 7);
    EXPECT_EQ(number("Select FSecMinus From ICInvBackup Where FItemID=2"), 2);
}

TEST_F(CountLineStatements, QuotesInKeyTextsMatchTheStoredText)
{
    sql("Update ICInvBackup Set FBatchNo='B''1' Where FInterID=1 And FBatchNo='B1' And "
        "FAuxPropID=7");
    CountLine row = lineA();
    row.batchNo = "B'1";
    m_db->Execute(updateText(row));
    EXPECT_EQ(number("Select FCheckQty From ICInvBackup Where FBatchNo='B''1'"), 36);
    EXPECT_TRUE(PubVariant::DeleteCheckRow(1, "", 0, 1, 1, "B'1", "", 7, 2, 1));
    EXPECT_EQ(count("Select * From ICInvBackup Where FBatchNo='B''1'"), 0);
}

TEST_F(CountLineStatements, DeleteMatchesTheKeyAndAnEmptyDateWithoutPeriod)
{
    // No period: the stored empty date matches whatever date is passed.
    EXPECT_TRUE(PubVariant::DeleteCheckRow(1, "2024-01-01", 0, 1, 1, "B1", "", 7, 2, 1));
    EXPECT_EQ(count("Select * From ICInvBackup Where FInterID=1 And FItemID=1"), 2);
    EXPECT_EQ(count("Select * From ICInvBackup Where FBatchNo='B1' And FAuxPropID=7"), 0);

    EXPECT_TRUE(PubVariant::DeleteCheckRow(0, "2024-05-01", 180, 2, 2, "", "", 0, 1, 1));
    EXPECT_EQ(count("Select * From ICInvBackup Where FItemID=2"), 0);

    // Nothing to delete is no failure.
    EXPECT_TRUE(PubVariant::DeleteCheckRow(0, "", 0, 99, 1, "", "", 0, 1, 1));
    EXPECT_EQ(count("Select * From ICInvBackup"), 5);
}

TEST_F(CountLineStatements, ExecSqlHandsBackTheRows)
{
    std::shared_ptr<host::Recordset> rs;
    ASSERT_TRUE(PubVariant::ExecSQL("Select FItemID From ICInvBackup Where FInterID=2", rs));
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->RecordCount(), 1);

    const auto kept = rs;
    EXPECT_FALSE(PubVariant::ExecSQL("Select FNoSuchColumn From", rs));
    EXPECT_EQ(rs, kept);
    ASSERT_EQ(m_modals.messages().size(), 1u);
    EXPECT_EQ(m_modals.messages()[0].title.toStdString(), "Hembrel提示");
    EXPECT_EQ(messages()[0].rfind("数据存取错误：", 0), 0u) << messages()[0];
    EXPECT_GT(messages()[0].size(), std::string("数据存取错误：").size());
}

TEST_F(CountLineStatements, DeleteReportsADatabaseErrorWithoutItsDescription)
{
    sql("Drop Table ICInvBackup");
    EXPECT_FALSE(PubVariant::DeleteCheckRow(1, "", 0, 1, 1, "B1", "", 7, 2, 1));
    EXPECT_EQ(messages(), (std::vector<std::string>{"删除物料时数据存取错误!"}));
    EXPECT_EQ(m_modals.messages()[0].style, 0);
}

} // namespace

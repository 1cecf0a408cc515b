#include "countsheetdb.h"
#include "fakeledger.h"

#include "countsheet/maindo.h"

namespace {

class ColumnTemplates : public CountSheetDbTest
{
protected:
    void SetUp() override
    {
        CountSheetDbTest::SetUp();
        m_main = std::make_unique<MainDo>();
        m_ledger = std::make_shared<FakeLedger>();
        m_main->Ldg(m_ledger);
    }

    std::unique_ptr<MainDo> m_main;
    std::shared_ptr<FakeLedger> m_ledger;
};

TEST_F(ColumnTemplates, TemplateLaysOutTheLedger)
{
    module().gShowType = 1;
    m_main->ResizeColWidth();
    const auto &columns = module().gColumns;
    const long rows = count("Select * From ICChatBillTitle Where FTypeID=1");
    ASSERT_EQ(static_cast<long>(columns.size()), rows);
    EXPECT_EQ(m_ledger->cols, rows);
    for (long i = 1; i <= rows; ++i) {
        const ColumnTemplate &c = columns[static_cast<size_t>(i - 1)];
        EXPECT_EQ(m_ledger->column(i).width, c.ColWidth) << i;
        EXPECT_EQ(m_ledger->column(i).hidden, !c.Visible) << i;
        EXPECT_EQ(m_ledger->column(i).quantityMark, c.ColType == 2 ? 1 : 0) << i;
    }
    EXPECT_EQ(columns[0].Caption, "仓库$");
    EXPECT_EQ(columns[3].ColName, "FName");
    // Without the option short numbers are in use: the item code reads FShortNumber.
    EXPECT_EQ(columns[2].ColName, "FShortNumber");

    sql("INSERT INTO t_SystemProfile (FCategory,FKey,FValue) VALUES ('IC','UseShortNumber','0')");
    m_main->ResizeColWidth();
    EXPECT_EQ(module().gColumns[2].ColName, "FNumber");
}

TEST_F(ColumnTemplates, MissingTemplateKeepsTheColumnsOfTheLastLoad)
{
    module().gShowType = 3;
    m_main->ResizeColWidth();
    const auto printColumns = module().gColumns;
    ASSERT_FALSE(printColumns.empty());
    module().gShowType = 2;
    m_main->ResizeColWidth();
    EXPECT_EQ(module().gColumns.size(), printColumns.size());
    EXPECT_EQ(module().gColumns[0].Caption, printColumns[0].Caption);
}

TEST_F(ColumnTemplates, WidthsAreWrittenBackHalvesToEven)
{
    module().gShowType = 3;
    m_main->ResizeColWidth();
    m_ledger->columns[1].width = 80.5;
    m_ledger->columns[2].width = 81.5;
    m_ledger->columns[3].width = 99.4;
    m_main->SaveColWidth();
    const std::string width = "Select FColWidth From ICChatBillTitle Where FTypeID=3 And FInterID=";
    EXPECT_EQ(number(width + "1"), 80);
    EXPECT_EQ(number(width + "2"), 82);
    EXPECT_EQ(number(width + "3"), 99);
    // Other show types keep their widths.
    EXPECT_EQ(number("Select FColWidth From ICChatBillTitle Where FTypeID=1 And FInterID=1"), 100);
}

TEST_F(ColumnTemplates, SavingStopsAtTheFirstTemplateRowWithoutALedgerColumn)
{
    module().gShowType = 3;
    m_main->ResizeColWidth();
    const double lastBefore =
        number("Select FColWidth From ICChatBillTitle Where FTypeID=3 And FInterID=3");
    m_ledger->cols = 2;
    m_ledger->columns[1].width = 50;
    m_ledger->columns[2].width = 51;
    m_ledger->columns[3].width = 52;
    m_main->SaveColWidth();
    const std::string width = "Select FColWidth From ICChatBillTitle Where FTypeID=3 And FInterID=";
    EXPECT_EQ(number(width + "1"), 50);
    EXPECT_EQ(number(width + "2"), 51);
    EXPECT_EQ(number(width + "3"), lastBefore);
}

} // namespace

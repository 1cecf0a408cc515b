#include "countsheetdb.h"

#include "countsheet/countsheetstate.h"
#include "countsheet/maindo.h"
#include "host/ui/form/twips.h"
#include "host/ui/ledger/ledgergrid.h"

namespace {

class ColumnTemplates : public CountSheetDbTest
{
protected:
    void SetUp() override
    {
        CountSheetDbTest::SetUp();
        m_main = std::make_unique<MainDo>();
        m_ledger = std::make_unique<host::ui::LedgerGrid>();
        m_main->Ldg(m_ledger.get());
    }

    std::unique_ptr<host::ui::LedgerGrid> m_ledger;
    std::unique_ptr<MainDo> m_main;
};

TEST_F(ColumnTemplates, TemplateLaysOutTheLedger)
{
    countSheetState().gShowType = 1;
    m_main->ResizeColWidth();
    const auto &columns = countSheetState().gColumns;
    const long rows = count("Select * From ICChatBillTitle Where FTypeID=1");
    ASSERT_EQ(static_cast<long>(columns.size()), rows);
    EXPECT_EQ(m_ledger->Face().Cols(), rows);
    for (int i = 1; i <= rows; ++i) {
        const ColumnTemplate &c = columns[static_cast<size_t>(i - 1)];
        EXPECT_EQ(m_ledger->Col(i).Width(), c.ColWidth) << i;
        EXPECT_EQ(m_ledger->Col(i).Switch(16), !c.Visible) << i;
        EXPECT_EQ(m_ledger->Col(i).Style(), c.ColType == 2 ? 1 : 0) << i;
    }
    EXPECT_TRUE(m_ledger->Col(8).Switch(16)); // the plan-tracking column starts hidden
    EXPECT_EQ(columns[0].Caption, "仓库$");
    EXPECT_EQ(columns[3].ColName, "FName");
    // Without the option short numbers are in use: the item code reads FShortNumber.
    EXPECT_EQ(columns[2].ColName, "FShortNumber");

    sql("INSERT INTO t_SystemProfile (FCategory,FKey,FValue) VALUES ('IC','UseShortNumber','0')");
    m_main->ResizeColWidth();
    EXPECT_EQ(countSheetState().gColumns[2].ColName, "FNumber");
}

TEST_F(ColumnTemplates, EveryTemplateColumnIsAFieldOfItsSheet)
{
    for (long showType : {1L, 3L, 4L}) {
        countSheetState().gShowType = showType;
        auto sheet = m_main->GetRsMain(1);
        ASSERT_TRUE(sheet) << showType;
        auto columns =
            sql("Select FColName From ICChatBillTitle Where FTypeID=" + std::to_string(showType));
        for (columns->MoveFirst(); !columns->EOF(); columns->MoveNext()) {
            const std::string name = host::CStr(columns->Fields(0L).Value());
            EXPECT_NO_THROW(sheet->Fields(name)) << showType << " " << name;
        }
    }
}

TEST_F(ColumnTemplates, MissingTemplateKeepsTheColumnsOfTheLastLoad)
{
    countSheetState().gShowType = 3;
    m_main->ResizeColWidth();
    const auto printColumns = countSheetState().gColumns;
    ASSERT_FALSE(printColumns.empty());
    countSheetState().gShowType = 2;
    m_main->ResizeColWidth();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0],
              "该单据的模版丢失，请更新ICChatBillTitle:SQL" + countSheetState().gHeaderSQL);
    EXPECT_NE(messages()[0].find("Where FTypeID=2  Order By FInterID"), std::string::npos);
    EXPECT_EQ(countSheetState().gColumns.size(), printColumns.size());
    EXPECT_EQ(countSheetState().gColumns[0].Caption, printColumns[0].Caption);
}

TEST_F(ColumnTemplates, LedgerWidthsAreWrittenBackToTheTemplate)
{
    countSheetState().gShowType = 3;
    m_main->ResizeColWidth();
    m_ledger->Col(1).setWidth(1500);
    m_ledger->Col(2).setWidth(1800);
    m_ledger->Col(3).setWidth(645);
    m_main->SaveColWidth();
    const std::string width = "Select FColWidth From ICChatBillTitle Where FTypeID=3 And FInterID=";
    EXPECT_EQ(number(width + "1"), 1500);
    EXPECT_EQ(number(width + "2"), 1800);
    EXPECT_EQ(number(width + "3"), 645);
    // A hidden column keeps its width.
    EXPECT_EQ(number(width + "8"), 1200);

    // A width no screen shows, as an older closing wrote it, is neither shown nor written back;
    // a sliver is read, and written, as a readable column.
    sql("Update ICChatBillTitle Set FColWidth=0 Where FTypeID=3 And FInterID=4");
    sql("Update ICChatBillTitle Set FColWidth=15 Where FTypeID=3 And FInterID=6");
    m_main->ResizeColWidth();
    EXPECT_GT(m_ledger->Col(4).Width(), 0);
    EXPECT_EQ(m_ledger->Col(6).Width(), host::ui::kReadableColumnTwips);
    m_ledger->Col(5).setWidth(0);
    m_ledger->Col(7).setWidth(15);
    m_main->SaveColWidth();
    EXPECT_EQ(number(width + "4"), m_ledger->Col(4).Width());
    EXPECT_EQ(number(width + "5"), 1200);
    EXPECT_EQ(number(width + "6"), host::ui::kReadableColumnTwips);
    EXPECT_EQ(number(width + "7"), host::ui::kReadableColumnTwips);
    // Other show types keep their widths.
    EXPECT_EQ(number("Select FColWidth From ICChatBillTitle Where FTypeID=1 And FInterID=1"), 1200);
}

TEST_F(ColumnTemplates, SavingStopsAtTheFirstTemplateRowWithoutALedgerColumn)
{
    countSheetState().gShowType = 3;
    m_main->ResizeColWidth();
    const double lastBefore =
        number("Select FColWidth From ICChatBillTitle Where FTypeID=3 And FInterID=3");
    m_ledger->Col(1).setWidth(600);
    m_ledger->Col(2).setWidth(615);
    m_ledger->Col(3).setWidth(630);
    m_ledger->Face().setCols(2);
    m_main->SaveColWidth();
    const std::string width = "Select FColWidth From ICChatBillTitle Where FTypeID=3 And FInterID=";
    EXPECT_EQ(number(width + "1"), 600);
    EXPECT_EQ(number(width + "2"), 615);
    EXPECT_EQ(number(width + "3"), lastBefore);
}

} // namespace

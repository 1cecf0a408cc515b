#include "importfixture.h"

#include "host/displayer/displaywindow.h"
#include "import/importcheckdata.h"
#include "import/importfromexcel.h"
#include "services/modulestate.h"

namespace {

class ImportRunTest : public ImportDatabaseTest
{
protected:
    // Runs the import on the sheet and keeps what the error list showed.
    bool run(const std::vector<SheetLine> &lines)
    {
        modals.whileShown([this](host::ui::Form &form) {
            if (auto *list = dynamic_cast<host::DisplayWindow *>(&form)) {
                errorCaption = list->Caption();
                errorLines = list->columnTexts(0);
            }
        });
        auto rs = sheet(lines);
        return PubVariant::ImportCheckData(rs);
    }

    QString errorCaption;
    QStringList errorLines;
};

TEST_F(ImportRunTest, AcceptedRowsUpdateTheirLineOrBecomeNewLines)
{
    SheetLine existing = line(kPlainItem);
    existing["CheckQty"] = 12.0;
    existing["AdjQty"] = 1.0;
    existing["FNote"] = " it's counted ";
    SheetLine added = line(kBatchItem);
    added["CheckQty"] = 4.0;

    EXPECT_TRUE(run({existing, added}));

    EXPECT_EQ(modals.messageTexts(), QStringList{"数据引入完毕!"});
    EXPECT_EQ(countLines(kPlainItem), 1);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FQty")), 10);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FCheckQty")), 12);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kPlainItem, "FMinus")), 1);
    EXPECT_EQ(host::CStr(lineValue(kPlainItem, "FNote")), "it's counted");
    EXPECT_EQ(host::CLng(lineValue(kPlainItem, "FChecker")), kOperator);
    EXPECT_EQ(countLines(kBatchItem), 1);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kBatchItem, "FQty")), 0);
    EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kBatchItem, "FAuxCheckQty")), 4);
    EXPECT_EQ(host::CStr(lineValue(kBatchItem, "FBatchNo")), "B01");
    EXPECT_EQ(host::CLng(lineValue(kBatchItem, "FStockPlaceID")), kPlace);
    EXPECT_EQ(host::CLng(lineValue(kBatchItem, "FMaxBillInterID")), kMaxBill);
    EXPECT_EQ(stagingTables(), 0);
}

} // namespace

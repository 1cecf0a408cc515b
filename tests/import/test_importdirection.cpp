// The direction rule the import runs on its staged rows, through a workbook as the user picks it:
// a row is refused when its base difference is 0 and its second-unit one is not, or when the two
// point different ways; the other rows reach their count line.
#include "importfixture.h"

#include "host/displayer/displaywindow.h"
#include "import/importfromexcel.h"

namespace {

using ImportDirectionTest = ImportDatabaseTest;

TEST_F(ImportDirectionTest, RowsWhoseUnitsDisagreeAreRefused)
{
    // The two-unit item's line holds one box (12 pieces) and 5 in its second unit; what was
    // counted before matches no count of the sheet.
    db->Execute("update ICInvBackup set FQty=12,FSecQty=5 where FItemID=9006");
    for (const int base : {-1, 0, 1}) {
        for (const int second : {-1, 0, 1}) {
            const bool conflict = (base == 0 && second != 0) || base * second < 0;
            db->Execute("update ICInvBackup set FCheckQty=99,FAuxCheckQty=-1,FSecCheckQty=-1 "
                        "where FItemID=9006");
            SheetLine counted = line(kTwoUnitItem);
            counted["CheckQty"] = 1.0 + base;
            counted["FSecCheckQty"] = 5.0 + second;
            host::ui::ScriptedModals run;
            QStringList errorLines;
            run.whileShown([&errorLines](host::ui::Form &form) {
                if (auto *list = dynamic_cast<host::DisplayWindow *>(&form))
                    errorLines = list->columnTexts(0);
            });
            PubVariant::ImportFromExcel(writeXlsx({counted}).string());

            const QStringList refusal{"第1条记录基本单位与辅助计量单位盘盈盘亏方向不一致!"};
            EXPECT_EQ(errorLines, conflict ? refusal : QStringList{}) << base << " " << second;
            EXPECT_EQ(run.messageTexts(), conflict ? QStringList{} : QStringList{"数据引入完毕!"});
            EXPECT_DOUBLE_EQ(host::CDbl(lineValue(kTwoUnitItem, "FSecCheckQty")),
                             conflict ? -1 : 5 + second)
                << base << " " << second;
        }
    }
}

} // namespace

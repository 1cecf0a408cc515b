#include "commandwindowtest.h"

#include "host/db/recordset.h"
#include "host/ui/ledgergrid.h"
#include "host/ui/spreadgrid.h"
#include "services/modulestate.h"
#include "support/xlsxparts.h"
#include "window/frmmain.h"

#include <array>
#include <charconv>

namespace {

class Exchange : public CommandWindowTest
{
protected:
    // Every stored column of every count line of the process, in key order, numbers to the
    // last bit, except the checker: the import stamps the operator who imported. A sheet cannot
    // carry a NULL, so a note and a difference the line had not yet are read as the empty
    // note and the zero difference that the import writes for them.
    std::vector<std::string> lines()
    {
        std::vector<std::string> rows;
        auto rs = sql("Select * From ICInvBackup Where FInterID=" + std::to_string(m_proc) +
                      " Order By FStockID,FStockPlaceID,FItemID,FBatchNo,FMtoNo,FAuxPropID,"
                      "FKFDate");
        for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext()) {
            std::string row;
            for (long f = 0; f < rs->FieldCount(); ++f) {
                const std::string name = rs->Fields(f).Name();
                host::Variant value = rs->Fields(f).Value();
                if (name == "FChecker")
                    continue;
                if (value.isNull() && (name == "FMinus" || name == "FNote"))
                    value = name == "FMinus" ? host::Variant(0.0) : host::Variant(std::string());
                row += name + "=" + exact(value) + "|";
            }
            rows.push_back(row);
        }
        return rows;
    }

    static std::string exact(const host::Variant &value)
    {
        if (value.isNull())
            return "NULL";
        if (value.type() != host::VariantType::Double)
            return host::CStr(value);
        std::array<char, 32> text{};
        const double number = host::CDbl(value);
        return {text.data(), std::to_chars(text.begin(), text.end(), number).ptr};
    }
};

TEST_F(Exchange, InputModeExportReadsAsNumbersAndTextsAndImportsBackUnchanged)
{
    // A counted line, so the round trip carries counts too.
    sql("Update ICInvBackup Set FCheckQty=FQty+1,FQtyAct=FQty+1,FAuxCheckQty=FAuxQty+1,"
        "FAuxQtyAct=FAuxQty+1,FMinus=1,FNote='O''Brien' Where FInterID=" +
        std::to_string(m_proc) +
        " And FItemID=(Select Min(FItemID) From ICInvBackup Where FInterID=" +
        std::to_string(m_proc) + ")");
    const std::vector<std::string> before = lines();
    const QString file = m_home.filePath(QStringLiteral("sheet.xlsx"));

    const auto window = openWindow(4);
    const int rows = window->vsCheck->MaxRows() - 1;
    m_modals.pickFile(file);
    window->mnuFileOut->trigger();

    const auto cells = xlsxparts::sheetCells(file);
    ASSERT_EQ(static_cast<int>(cells.size()), rows + 1);
    const auto &header = cells.at(1);
    // Columns 2 to 33, the plan-tracking number only in plan-tracking mode.
    const bool planTracking = module().gMtoPlanMode != 0;
    ASSERT_EQ(header.size(), planTracking ? 32U : 31U);
    int exportCol = 0;
    for (int col = 2; col <= 33; ++col)
        if (col != 12 || planTracking) {
            EXPECT_EQ(header.at(++exportCol).text, window->vsCheck->GetText(col, 0)) << col;
        }
    for (int r = 1; r <= rows; ++r) {
        const auto &line = cells.at(r + 1);
        EXPECT_EQ(line.at(5).text, window->vsCheck->GetText(6, r)) << "item code, row " << r;
        EXPECT_NE(line.at(5).kind, "n") << "codes stay texts";
        const auto quantity = line.find(planTracking ? 16 : 15);
        if (quantity != line.end()) {
            EXPECT_EQ(quantity->second.kind, "n") << "book quantity, row " << r;
            EXPECT_DOUBLE_EQ(quantity->second.text.toDouble(),
                             window->vsCheck->GetText(17, r).toDouble());
        }
    }

    EXPECT_TRUE(xlsxparts::part(file, "xl/workbook.xml").contains("name=\"物料盘点表\""));

    m_modals.pickFile(file);
    window->mnuFileIn->trigger();
    EXPECT_EQ(lines(), before);
    EXPECT_EQ(window->vsCheck->MaxRows() - 1, rows);
    // Lines of deleted items are not on the sheet and keep their checker.
    EXPECT_EQ(count("Select FChecker From ICInvBackup Where FInterID=" + std::to_string(m_proc) +
                    " And FChecker=16"),
              rows)
        << "every line of the sheet is stamped with the operator who imported it";
}

TEST_F(Exchange, ImportRefusesAMissingFileAndOffersBothFormats)
{
    const auto window = openWindow(4);
    m_modals.pickFile(m_home.filePath(QStringLiteral("missing.xls")));
    window->mnuFileIn->trigger();
    ASSERT_EQ(m_modals.fileDialogs().size(), 1U);
    EXPECT_TRUE(m_modals.fileDialogs()[0].request.filter.contains("*.xlsx"));
    EXPECT_TRUE(m_modals.fileDialogs()[0].request.filter.contains("*.xls;"));
    ASSERT_EQ(messages().size(), 1U);
    EXPECT_EQ(messages()[0], "指定引入Excel文件不存在，请重新选择!");
}

} // namespace

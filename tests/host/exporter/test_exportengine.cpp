#include "host/exporter/exportengine.h"

#include "host/ui/scriptedmodals.h"
#include "support/xlsxparts.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Export : public ::testing::Test
{
protected:
    // Three columns (text, number, number) and three rows, as the count sheet declares them.
    void declare()
    {
        m_engine.setCols(3);
        const char *captions[] = {"物料名称", "数量", "备注数"};
        const long types[] = {host::ExportEngine::TextType, host::ExportEngine::NumberType,
                              host::ExportEngine::NumberType};
        for (long c = 1; c <= 3; ++c) {
            m_engine.setColCaption(c, captions[c - 1]);
            m_engine.setColType(c, types[c - 1]);
            m_engine.setColLength(c, 200);
        }
        m_engine.setRows(3);
        m_engine.LoadData = [this](long row, host::ExportRowData &data) {
            m_asked.push_back(row);
            const char *names[] = {"螺栓", "O'Brien <&>", "001"};
            const char *quantities[] = {"2.5", "-3", ""};
            data.setItem(1, names[row - 1]);
            data.setItem(2, quantities[row - 1]);
            data.setItem(3, row == 3 ? "n/a" : "0");
        };
    }

    QString file(const char *name) const { return m_dir.filePath(QString::fromUtf8(name)); }

    QTemporaryDir m_dir;
    host::ExportEngine m_engine;
    std::vector<long> m_asked;
    host::ui::ScriptedModals m_modals;
};

TEST_F(Export, WritesCaptionsNumbersAndTextsUnderTheTitle)
{
    declare();
    m_modals.pickFile(file("sheet"));
    m_engine.Run("物料盘点表");
    EXPECT_EQ(m_asked, (std::vector<long>{1, 2, 3}));
    ASSERT_EQ(m_modals.fileDialogs().size(), 1U);
    EXPECT_TRUE(m_modals.fileDialogs()[0].save);

    const QString path = file("sheet.xlsx");
    const auto cells = xlsxparts::sheetCells(path);
    ASSERT_EQ(cells.size(), 4U);
    EXPECT_EQ(cells.at(1).at(1).text, "物料名称");
    EXPECT_EQ(cells.at(1).at(2).text, "数量");
    EXPECT_NE(cells.at(2).at(1).kind, "n");
    EXPECT_EQ(cells.at(2).at(1).text, "螺栓");
    EXPECT_EQ(cells.at(2).at(2).kind, "n");
    EXPECT_EQ(cells.at(2).at(2).text.toDouble(), 2.5);
    EXPECT_EQ(cells.at(3).at(1).text, "O'Brien <&>");
    EXPECT_EQ(cells.at(3).at(2).text.toDouble(), -3);
    EXPECT_NE(cells.at(4).at(1).kind, "n") << "a code stays a text in a text column";
    EXPECT_EQ(cells.at(4).at(1).text, "001");
    EXPECT_EQ(cells.at(4).count(2), 0U) << "an empty number cell is left empty";
    EXPECT_NE(cells.at(4).at(3).kind, "n") << "a text in a number column stays a text";

    EXPECT_TRUE(xlsxparts::part(path, "xl/workbook.xml").contains("name=\"物料盘点表\""));
    EXPECT_TRUE(
        xlsxparts::part(path, "docProps/core.xml").contains("<dc:title>物料盘点表</dc:title>"));
}

TEST_F(Export, CancelledDialogWritesNothing)
{
    declare();
    m_engine.Run("盘点表");
    EXPECT_TRUE(m_asked.empty());
    EXPECT_TRUE(QDir(m_dir.path()).isEmpty());
}

TEST_F(Export, NoRowsGiveTheCaptionsOnly)
{
    declare();
    m_engine.setRows(0);
    m_engine.writeWorkbook(file("empty.xlsx").toStdString(), "盘点表");
    const auto cells = xlsxparts::sheetCells(file("empty.xlsx"));
    ASSERT_EQ(cells.size(), 1U);
    EXPECT_EQ(cells.at(1).size(), 3U);
}

} // namespace

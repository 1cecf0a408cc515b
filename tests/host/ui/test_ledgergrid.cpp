#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/ledger/uihelper.h"
#include "host/ui/modal/scriptedmodals.h"
#include "host/ui/printing/ledgerprinter.h"

#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace host::ui;

namespace {

// An owner that answers row requests from numbered records and counts what it was asked.
class LedgerTest : public ::testing::Test
{
protected:
    LedgerTest()
    {
        QObject::connect(&ledger, &LedgerGrid::FetchRow,
                         [this](int row, QString &text, long &back) {
                             asked.push_back(row);
                             if (row == 1)
                                 text = UIHelper::titleRow(ledger, row, captions);
                             else if (row > 2)
                                 text = QStringLiteral("01.%1|物料%2|%3|")
                                            .arg(row - 2, 4, 10, QLatin1Char('0'))
                                            .arg(row - 2)
                                            .arg((row - 2) * 1.5, 0, 'f', 2);
                             if (row == ledger.Face().Rows())
                                 back = 0xE8EEFF;
                         });
        ledger.Face().setCols(3);
    }

    LedgerGrid ledger;
    QString captions = QStringLiteral("物料代码$|物料名称$|数量$|");
    std::vector<int> asked;
};

TEST_F(LedgerTest, RowsAreAskedForOnceUntilTheRowCountIsSetAgain)
{
    ledger.Face().setRows(12);
    EXPECT_EQ(ledger.Cell(12, 2).Text(), QStringLiteral("物料10"));
    EXPECT_EQ(ledger.Cell(12, 3).Text(), QStringLiteral("15.00"));
    EXPECT_EQ(ledger.Cell(12, 1).Text(), QStringLiteral("01.0010"));
    EXPECT_EQ(std::count(asked.begin(), asked.end(), 12), 1);

    ledger.Face().setRows(2);
    ledger.Face().setRows(12);
    EXPECT_EQ(ledger.Cell(12, 1).Text(), QStringLiteral("01.0010"));
    EXPECT_EQ(std::count(asked.begin(), asked.end(), 12), 2);
}

TEST_F(LedgerTest, TextsWrittenIntoCellsAreKeptAcrossRefresh)
{
    ledger.Face().setRows(5);
    ledger.Cell(4, 2).setText(QStringLiteral("Y"));
    ledger.Refresh();
    EXPECT_EQ(ledger.Cell(4, 2).Text(), QStringLiteral("Y"));
    EXPECT_EQ(ledger.Cell(4, 1).Text(), QStringLiteral("01.0002"));
}

TEST_F(LedgerTest, HiddenSwitchHidesTheColumnAndWidthsAreTwips)
{
    ledger.Col(2).setSwitch(LedgerGrid::HiddenSwitch, true);
    ledger.Col(3).setWidth(2400);
    ledger.Col(3).setStyle(1);
    EXPECT_TRUE(ledger.isColumnHidden(1));
    EXPECT_TRUE(ledger.Col(2).Switch(LedgerGrid::HiddenSwitch));
    EXPECT_FALSE(ledger.Col(2).Switch(3));
    EXPECT_EQ(ledger.Col(3).Width(), 2400);
    ledger.Col(1).setWidth(1000);
    ledger.Col(1).setSwitch(LedgerGrid::HiddenSwitch, true);
    ledger.Col(1).setSwitch(LedgerGrid::HiddenSwitch, false);
    EXPECT_EQ(ledger.Col(1).Width(), 1000);
    EXPECT_EQ(ledger.Col(9).Width(), 0);
    ledger.Face().setRows(4);
    const QVariant align = ledger.model()->index(0, 2).data(Qt::TextAlignmentRole);
    EXPECT_TRUE(align.value<Qt::Alignment>() & Qt::AlignRight);
}

TEST_F(LedgerTest, ClicksTellTheCellThroughTheFace)
{
    ledger.Face().setRows(6);
    std::vector<int> toggles;
    QObject::connect(&ledger, &LedgerGrid::ToggleSelect, [&](short &action) {
        toggles.push_back(action);
        toggles.push_back(ledger.Face().Row());
        toggles.push_back(ledger.Face().Col());
    });
    emit ledger.clicked(ledger.model()->index(1, 1));
    EXPECT_EQ(toggles, (std::vector<int>{1, 4, 2}));
}

struct TitleCase
{
    const char *label;
    const char *captions;
    const char *upperRow;
    int fixedRows;
    const char *lowerSecond;
};

void PrintTo(const TitleCase &c, std::ostream *os)
{
    *os << c.label;
}

class TitleRowTest : public ::testing::TestWithParam<TitleCase>
{};

TEST_P(TitleRowTest, CaptionsBecomeOneOrTwoTitleRows)
{
    const TitleCase &c = GetParam();
    LedgerGrid ledger;
    ledger.Face().setCols(3);
    ledger.Face().setRows(3);
    EXPECT_EQ(UIHelper::titleRow(ledger, 1, QString::fromUtf8(c.captions)),
              QString::fromUtf8(c.upperRow));
    EXPECT_EQ(ledger.Face().FixedRows(), c.fixedRows);
    EXPECT_EQ(ledger.Cell(2, 2).Text(), QString::fromUtf8(c.lowerSecond));
}

INSTANTIATE_TEST_SUITE_P(Cases, TitleRowTest,
                         ::testing::Values(TitleCase{"plain", "代码$|名称$|数量$|",
                                                     "代码|名称|数量|", 1, ""},
                                           TitleCase{"fieldNames", "FInterID$|日期$|FInOrOut$|",
                                                     "FInterID|日期|FInOrOut|", 1, ""},
                                           TitleCase{"grouped", "代码$|数量$账存$|数量$实存$|",
                                                     "代码|数量|数量|", 2, "账存"},
                                           TitleCase{"empty", "", "", 1, ""}));

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished() || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

class LedgerPrintTest : public LedgerTest
{
protected:
    LedgerPrintTest()
    {
        LedgerPrinter &print = ledger.LedgerPrint();
        print.HeaderLine(1) = {QStringLiteral("物料盘点表"), {QStringLiteral("宋体"), 18, true}};
        print.HeaderLine(2) = {QStringLiteral("盘点方案:PD-001|盘点日期:2026-12-07|"),
                               {QStringLiteral("宋体"), 9, false}};
        print.FooterLine(1) = {QStringLiteral("部门主管:|财务:|审核:|监盘:|制表:张三"),
                               {QStringLiteral("宋体"), 9, false}};
        print.FooterLine(2) = {QStringLiteral("第 &[页] 页        |共 &[总页] 页"),
                               {QStringLiteral("宋体"), 9, false}};
        print.setOrientation(0);
        // Two full pages and part of a third.
        const int perPage = print.rowsPerPage(print.printer());
        ledger.Face().setRows(2 + 2 * perPage + perPage / 2);
    }

    QTemporaryDir dir;
};

TEST_F(LedgerPrintTest, PrintsThreePagesWithHeaderFooterAndPageNumbers)
{
    const QString pdf = dir.filePath(QStringLiteral("book.pdf"));
    QPrinter &printer = ledger.LedgerPrint().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    ScriptedModals modals;
    ledger.LedgerPrint().Print();
    EXPECT_EQ(modals.printDialogs(), 1);

    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n"))))
        << info.toStdString();
    const QString text =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 3) << text.toStdString();
    for (int i = 0; i < 3; ++i) {
        const QString &page = pages.at(i);
        EXPECT_TRUE(page.contains(QStringLiteral("物料盘点表")));
        EXPECT_TRUE(page.contains(QStringLiteral("盘点方案:PD-001")));
        EXPECT_TRUE(page.contains(QStringLiteral("制表:张三")));
        // The text tool drops the blanks around the numbers.
        EXPECT_TRUE(page.contains(QRegularExpression(QStringLiteral("第\\s*%1\\s*页").arg(i + 1))));
        EXPECT_TRUE(page.contains(QRegularExpression(QStringLiteral("共\\s*3\\s*页"))));
        EXPECT_TRUE(page.contains(QStringLiteral("物料代码")));
    }
    EXPECT_TRUE(pages.at(0).contains(QStringLiteral("01.0001")));
    EXPECT_TRUE(pages.at(2).contains(
        QStringLiteral("01.%1").arg(ledger.Face().Rows() - 2, 4, 10, QLatin1Char('0'))));
}

// Screen widths far too narrow for the texts: the printed columns follow the texts, and a
// caption wider than its column's texts takes a second line on a page without room for one.
TEST_F(LedgerPrintTest, ColumnsFollowTheirTextsAndLongCaptionsWrap)
{
    LedgerPrinter &print = ledger.LedgerPrint();
    EXPECT_EQ(print.Orientation(), 2) << "a book starts in landscape";
    captions = QStringLiteral("物料代码$|物料名称$|Counted quantity (base unit)$|");
    for (int col = 1; col <= 3; ++col)
        ledger.Col(col).setWidth(150);
    ledger.Col(3).setStyle(1);
    QPrinter &printer = print.printer();
    // The user's choice in the page set-up outlives the window's setting.
    printer.setPageOrientation(QPageLayout::Portrait);
    print.setOrientation(0);
    EXPECT_EQ(print.Orientation(), 1);
    printer.setPageSize(QPageSize(QSizeF(65, 200), QPageSize::Millimeter));
    printer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
    const QString pdf = dir.filePath(QStringLiteral("narrow.pdf"));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    ScriptedModals modals;
    print.Print();

    const QString text =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_FALSE(text.contains(QChar(0x2026))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Counted quantity")));
    EXPECT_TRUE(text.contains(QStringLiteral("(base unit)")));
    EXPECT_FALSE(text.contains(QStringLiteral("quantity (base unit)")));
    for (int record = 1; record <= ledger.Face().Rows() - 2; ++record) {
        EXPECT_TRUE(text.contains(QStringLiteral("01.%1").arg(record, 4, 10, QLatin1Char('0'))));
        EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("物料%1\\b").arg(record))));
        EXPECT_TRUE(text.contains(QString::number(record * 1.5, 'f', 2))) << record;
    }
}

TEST_F(LedgerPrintTest, PreviewAndSetupGoThroughTheModalServices)
{
    ScriptedModals modals;
    ledger.LedgerPrint().PrintSetup();
    ledger.LedgerPrint().Preview();
    EXPECT_EQ(modals.printSetups(), 1);
    ASSERT_EQ(modals.previewFiles().size(), 1);
    const QString info = run(QStringLiteral("pdfinfo"), {modals.previewFiles().first()});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n"))));
}

TEST(PageTokens, StandForPageNumberAndCount)
{
    EXPECT_EQ(LedgerPrinter::expandPageTokens(QStringLiteral("第 &[页] 页|共 &[总页] 页"), 2, 7),
              QStringLiteral("第 2 页|共 7 页"));
    EXPECT_EQ(LedgerPrinter::expandPageTokens(QStringLiteral("Page &[Page]|of &[Pages]"), 2, 7),
              QStringLiteral("Page 2|of 7"));
    EXPECT_EQ(LedgerPrinter::expandPageTokens(QStringLiteral("第 &[頁] 頁|共 &[總頁] 頁"), 2, 7),
              QStringLiteral("第 2 頁|共 7 頁"));
}

} // namespace

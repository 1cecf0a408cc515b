#include "commandwindowtest.h"

#include "countsheet/maindo.h"
#include "host/db/recordset.h"
#include "host/ui/ledgergrid.h"
#include "host/ui/ledgerprinter.h"
#include "services/modulestate.h"
#include "window/frmmain.h"

#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

namespace {

QString pdfText(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

class PrintBook : public CommandWindowTest
{
protected:
    void SetUp() override
    {
        CommandWindowTest::SetUp();
        sql("Update t_Emp Set FName='张三' Where FItemID=16");
        // One line counted with a quantity found nowhere else on the pages.
        sql("Update ICInvBackup Set FCheckQty=98765,FAuxCheckQty=98765 Where FInterID=" +
            std::to_string(m_proc) +
            " And FItemID=(Select Min(FItemID) From ICInvBackup Where "
            "FQty>0 And FInterID=" +
            std::to_string(m_proc) + ")");
    }

    static bool anyPageHas(const QStringList &pages, const QString &text)
    {
        for (const QString &page : pages)
            if (page.contains(text))
                return true;
        return false;
    }

    // Prints the book of a mode to a PDF file on a page small enough for three pages; the
    // text of each page.
    QStringList printBook(long showType)
    {
        const auto window = openWindow(showType);
        QPrinter &printer = window->ldgCheck->LedgerPrint().printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = m_home.filePath(QStringLiteral("book%1.pdf").arg(showType));
        printer.setOutputFileName(pdf);
        // Chosen in the page set-up, it stays through the window's settings.
        printer.setPageOrientation(QPageLayout::Portrait);
        const int lines = window->ldgCheck->Face().Rows() - 2;
        // A page height that holds a third of the lines, rounded up.
        for (int height = 300; height >= 20; height -= 5) {
            printer.setPageSize(QPageSize(QSizeF(420, height), QPageSize::Millimeter));
            const int perPage = window->ldgCheck->LedgerPrint().rowsPerPage(printer);
            if ((lines + perPage - 1) / perPage >= 3)
                break;
        }
        window->mnuFPrint->trigger();
        EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
        return pdfText(pdf).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    }
};

TEST_F(PrintBook, CheckModePrintsHeaderFooterPagesAndTotals)
{
    const QStringList pages = printBook(1);
    ASSERT_GE(pages.size(), 3);
    for (int i = 0; i < pages.size(); ++i) {
        EXPECT_TRUE(pages.at(i).contains(QStringLiteral("盘点方案:"))) << i;
        EXPECT_TRUE(pages.at(i).contains(QStringLiteral("制表:张三"))) << i;
        EXPECT_TRUE(
            pages.at(i).contains(QRegularExpression(QStringLiteral("第\\s*%1\\s*页").arg(i + 1))))
            << pages.at(i).toStdString();
        EXPECT_TRUE(pages.at(i).contains(
            QRegularExpression(QStringLiteral("共\\s*%1\\s*页").arg(pages.size()))));
    }
    EXPECT_TRUE(pages.last().contains(QStringLiteral("合计"))) << "check mode prints the totals";
    EXPECT_TRUE(anyPageHas(pages, QStringLiteral("98,765")));
}

TEST_F(PrintBook, PrintModeLeavesCountedColumnsBlankWithoutTotals)
{
    const QStringList pages = printBook(3);
    ASSERT_GE(pages.size(), 3);
    EXPECT_FALSE(pages.last().contains(QStringLiteral("合计")));
    EXPECT_TRUE(pages.first().contains(QStringLiteral("盘点数量")));
    EXPECT_FALSE(anyPageHas(pages, QStringLiteral("98,765"))) << "left blank for handwriting";
}

// The book lists the lines and, once per stock of the process, each item without a line, both
// parts in the same columns; it has no quantities but the adjustment, so its totals must not
// fail on the columns it lacks.
TEST_F(CommandWindowTest, PrintBookListsItemsWithoutLinesInTheColumnsOfTheLines)
{
    const auto window = openWindow(3);
    MainDo &engine = window->mainDo();
    const std::shared_ptr<host::Recordset> sheet = engine.p_RSMain;
    ASSERT_TRUE(sheet && sheet->State() == host::Recordset::adStateOpen);
    const std::string proc = std::to_string(m_proc);
    const long lines = count("Select t1.FItemID From ICInvBackup t1 Join t_ICItem t2 On "
                             "t1.FItemID=t2.FItemID Where t2.FDeleted<>1 And t1.FInterID=" +
                             proc);
    const long withoutLines =
        count("Select FItemID From t_ICItem Where FDeleted<>1 And FItemID Not In (Select "
              "FItemID From ICInvBackup Where FInterID=" +
              proc + ")") *
        count("Select Distinct FStockID From ICInvBackup Where FInterID=" + proc);
    ASSERT_GT(withoutLines, 0);
    EXPECT_EQ(sheet->RecordCount(), lines + withoutLines);

    long itemRows = 0;
    long linesWithoutAuxProperty = 0;
    for (sheet->MoveFirst(); !sheet->EOF(); sheet->MoveNext()) {
        // Columns near both ends repeat each other: a part shifted by a column breaks them.
        EXPECT_EQ(host::CStr(sheet->Fields("FItemNumber").Value()),
                  host::CStr(sheet->Fields("FNumber").Value()));
        EXPECT_EQ(host::CStr(sheet->Fields("FItemShortNumber").Value()),
                  host::CStr(sheet->Fields("FShortNumber").Value()));
        EXPECT_TRUE(sheet->Fields("FQty").Value().isNull());
        const std::string aux = host::CStr(sheet->Fields("FAuxPropName").Value());
        if (host::CLng(sheet->Fields("FStockID").Value()) == 0) {
            ++itemRows;
            EXPECT_EQ(aux, "");
        } else if (aux == "*") {
            ++linesWithoutAuxProperty;
        }
    }
    EXPECT_EQ(itemRows, withoutLines);
    EXPECT_EQ(
        linesWithoutAuxProperty,
        count("Select t1.FItemID From ICInvBackup t1 Join t_ICItem t2 On t1.FItemID=t2.FItemID "
              "Where t2.FDeleted<>1 And t1.FAuxPropID=0 And t1.FInterID=" +
              proc));
    EXPECT_NO_THROW(engine.GetSumData());
    EXPECT_EQ(module().gSumQty, 0);
}

} // namespace

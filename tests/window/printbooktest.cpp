#include "printbooktest.h"

#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/printing/ledgerprinter.h"
#include "window/frmmain.h"

#include <QAction>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>

void PrintBookTest::SetUp()
{
    CommandWindowTest::SetUp();
    sql("Update t_Emp Set FName='张三' Where FItemID=16");
    sql("Update ICInvBackup Set FCheckQty=98765,FAuxCheckQty=98765 Where FInterID=" +
        std::to_string(m_proc) +
        " And FItemID=(Select Min(FItemID) From ICInvBackup Where "
        "FQty>0 And FInterID=" +
        std::to_string(m_proc) + ")");
}

bool PrintBookTest::anyPageHas(const QStringList &pages, const QString &text)
{
    for (const QString &page : pages)
        if (page.contains(text))
            return true;
    return false;
}

QStringList PrintBookTest::pdfPages(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput())
        .split(QLatin1Char('\f'), Qt::SkipEmptyParts);
}

QStringList PrintBookTest::printBook(long showType, Paper paper)
{
    const auto window = openWindow(showType);
    QPrinter &printer = window->ldgCheck->LedgerPrint().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = m_home.filePath(QStringLiteral("book%1.pdf").arg(showType));
    printer.setOutputFileName(pdf);
    // Chosen in the page set-up, it stays through the window's settings.
    const auto orientation =
        paper == Paper::ThreePages ? QPageLayout::Portrait : QPageLayout::Landscape;
    printer.setPageOrientation(orientation);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const int lines = window->ldgCheck->Face().Rows() - 2;
    // A page height that holds a third of the lines, rounded up.
    for (int height = 300; paper == Paper::ThreePages && height >= 20; height -= 5) {
        printer.setPageSize(QPageSize(QSizeF(420, height), QPageSize::Millimeter));
        const int perPage = window->ldgCheck->LedgerPrint().rowsPerPage(printer);
        if ((lines + perPage - 1) / perPage >= 3)
            break;
    }
    window->mnuFPrint->trigger();
    EXPECT_EQ(printer.pageLayout().orientation(), orientation);
    return pdfPages(pdf);
}

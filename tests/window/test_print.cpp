#include "printbooktest.h"

#include "countsheet/countsheetstate.h"
#include "countsheet/maindo.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/ledger/ledgermodel.h"
#include "host/ui/printing/ledgerprinter.h"
#include "unwritablefiles.h"
#include "window/frmmain.h"

#include <QFileInfo>
#include <QPrinter>

#include <filesystem>
#include <set>

namespace {

using PrintBook = PrintBookTest;

TEST_F(PrintBook, CheckModePrintsHeaderFooterPagesAndTotals)
{
    const QStringList pages = printBook(1);
    ASSERT_GE(pages.size(), 3);
    for (int i = 0; i < pages.size(); ++i) {
        EXPECT_TRUE(pages.at(i).contains(QStringLiteral("盘点方案:"))) << i;
        EXPECT_TRUE(pages.at(i).contains(QStringLiteral("制表:张三"))) << i;
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

// Printed into a file, the book takes the place of the file there only when written whole;
// whatever stops it, it says why in the user's language and leaves that file as it was, with
// nothing of its own beside it. A pipe or a device is never opened: printing would wait for a
// reader, or write into the device. Each try runs in a child of its own, stopped if it waits.
TEST_F(PrintBook, IntoAFileTheBookIsWrittenWholeOrNotAtAll)
{
    const UnwritableFiles files(QDir(m_home.path()), QStringLiteral(".pdf"));
    const auto window = openWindow(1);
    QPrinter &printer = window->ldgCheck->LedgerPrint().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    const auto printInto = [&](const QString &file) {
        printer.setOutputFileName(file);
        window->mnuFPrint->trigger();
    };
    const QString whole = m_home.filePath(QStringLiteral("whole.pdf"));
    printInto(whole);
    const QStringList pages = pdfPages(whole);
    ASSERT_FALSE(pages.isEmpty());

    const QStringList before = files.names();
    for (const UnwritableFiles::Target &target :
         files.targets(static_cast<long>(QFileInfo(whole).size() / 2))) {
        SCOPED_TRACE(target.path.toStdString());
        const QString message = QString::fromStdString(runLimited(target.limits, [&] {
            const size_t shown = messages().size();
            printInto(target.path);
            if (messages().size() != shown + 1 || !window->isEnabled())
                return std::string("no message, or the window stays disabled");
            return messages().back();
        }));
        EXPECT_TRUE(message.startsWith(UnwritableFiles::failureOf(target.path)))
            << message.toStdString();
        EXPECT_TRUE(message.endsWith(target.why)) << message.toStdString();
    }
    EXPECT_EQ(files.names(), before);
    EXPECT_TRUE(files.earlierFilesKept());

    namespace fs = std::filesystem;
    fs::permissions(files.earlier().toStdString(), fs::perms(0640));
    printInto(files.earlier());
    EXPECT_EQ(pdfPages(files.earlier()), pages);
    EXPECT_EQ(fs::status(files.earlier().toStdString()).permissions(), fs::perms(0640));
    EXPECT_EQ(files.names(), before);
    EXPECT_EQ(printer.outputFileName(), files.earlier()) << "the dialog offers it next time";
}

// A count over several stocks lists an item once per stock: every row of the sheet, on screen
// and on paper, says which stock it is, whatever the user hid before.
TEST_F(PrintBook, EveryRowNamesItsStockInCheckAndPrintModeAndOnTheBook)
{
    std::set<QString> stocks;
    for (auto rs = sql("Select Distinct s.FName From ICInvBackup b Join t_Stock s On "
                       "s.FItemID=b.FStockID Where b.FInterID=" +
                       std::to_string(m_proc));
         !rs->EOF(); rs->MoveNext())
        stocks.insert(QString::fromStdString(host::CStr(rs->Fields(0L).Value())));
    ASSERT_GT(stocks.size(), 1U);

    for (const long mode : {1L, 3L}) {
        {
            const auto window = openWindow(mode);
            window->ldgCheck->Col(1).setSwitch(host::ui::LedgerGrid::HiddenSwitch, true);
            window->Unload();
        }
        const auto window = openWindow(mode);
        host::ui::LedgerGrid &ledger = *window->ldgCheck;
        EXPECT_FALSE(ledger.isColumnHidden(0)) << "mode " << mode;
        EXPECT_EQ(ledger.Cell(1, 1).Text(), QStringLiteral("仓库"));
        // Check mode ends with the totals row, which belongs to no stock.
        const int last = ledger.Face().Rows() - (mode == 1 ? 1 : 0);
        std::set<QString> named;
        for (int row = 3; row <= last; ++row) {
            long backColor = -1;
            const QString stock = ledger.ledgerModel().rowCells(row, backColor).value(0);
            EXPECT_TRUE(stocks.contains(stock)) << "mode " << mode << " row " << row;
            named.insert(stock);
        }
        EXPECT_EQ(named, stocks) << "mode " << mode;
    }

    const QStringList pages = printBook(3);
    ASSERT_FALSE(pages.isEmpty());
    EXPECT_TRUE(pages.first().contains(QStringLiteral("仓库")));
    for (const QString &stock : stocks)
        EXPECT_TRUE(anyPageHas(pages, stock)) << stock.toStdString();
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
    EXPECT_EQ(countSheetState().gSumQty, 0);
}

} // namespace

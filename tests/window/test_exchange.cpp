#include "commandwindowtest.h"

#include "host/core/objectfactory.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/connection.h"
#include "host/db/hostdatabase.h"
#include "host/db/recordset/recordset.h"
#include "host/exporter/exportengine.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/printing/ledgerprinter.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/toolbar/tool.h"
#include "host/ui/toolbar/toolbarcontrol.h"
#include "services/modulestate.h"
#include "support/databasefile.h"
#include "support/xlsxparts.h"
#include "unwritablefiles.h"
#include "window/frmmain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTest>
#include <QToolBar>
#include <sqlite3.h>

#include <array>
#include <charconv>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

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

    // The button of the window's tool bar that a user clicks for the tool.
    static QWidget *toolButton(frmMain &window, const char *key)
    {
        host::ui::ToolBand &band = window.barlist->Bands(QStringLiteral("barRpt"));
        return band.toolBar()->widgetForAction(&band.Tools(QString::fromLatin1(key)).action());
    }

    // A number written with a double's last digits rather than as the database keeps it.
    static bool noisy(const xlsxparts::Cell &cell)
    {
        return cell.kind == "n" && (cell.text.contains(QStringLiteral("00000")) ||
                                    cell.text.contains(QStringLiteral("99999")));
    }

    // The window's database moved into a file of its own, written ahead, with a name held
    // beside it: the files nothing but the database may open while it is open.
    QStringList databaseInAFile()
    {
        m_file = std::make_unique<DatabaseFile>(
            *m_db, ::testing::UnitTest::GetInstance()->current_test_info()->name());
        m_db = m_file->connect();
        EXPECT_EQ(sqlite3_exec(m_db->embedded()->handle(), "PRAGMA journal_mode=WAL", nullptr,
                               nullptr, nullptr),
                  SQLITE_OK);
        // The log is made as the connection first reads in that mode.
        sql("Select Count(*) From t_User");
        m_hold = m_db->holdName("sheet");
        host::setHostConnection(m_db);
        module().gAppConn = m_db;
        module().gConn = std::make_shared<host::Connection>(m_db);
        const QString database = QString::fromStdString(m_file->path());
        const QStringList files = {database, database + QStringLiteral("-wal"),
                                   database + QStringLiteral("-shm"),
                                   database + QStringLiteral("-holds")};
        for (const QString &file : files)
            EXPECT_TRUE(QFile::exists(file)) << file.toStdString();
        return files;
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

    std::unique_ptr<DatabaseFile> m_file;
    std::unique_ptr<host::NameHold> m_hold;
};

struct ExportCase
{
    const char *name;
    bool planTracking;
    // The counted line's count and note, as SQL.
    const char *counted = "FQty+1";
    const char *note = "'O''Brien'";
};

class InputModeExport : public Exchange, public ::testing::WithParamInterface<ExportCase>
{
protected:
    void SetUp() override
    {
        Exchange::SetUp();
        // Keeps the engine the window creates, to read what the window declared to it.
        m_savedEngine = host::registerObject(host::ExportEngine::ProgId, [this] {
            m_engine = std::make_shared<host::ExportEngine>();
            return m_engine;
        });
    }
    void TearDown() override
    {
        host::registerObject(host::ExportEngine::ProgId, m_savedEngine);
        Exchange::TearDown();
    }

    host::ObjectFactory m_savedEngine;
    std::shared_ptr<host::ExportEngine> m_engine;
};

TEST_P(InputModeExport, ReadsAsNumbersAndTextsAndImportsBackUnchanged)
{
    const bool planTracking = GetParam().planTracking;
    setOption("EnableMtoPlanMode", planTracking ? "1" : "0");
    // Without plan tracking no line carries a plan-tracking number.
    if (!planTracking)
        sql("Delete From ICInvBackup Where FMtoNo<>''");
    // A counted line, so the round trip carries counts too; with plan tracking it also carries
    // a plan-tracking number that reads as a number and must stay a text.
    const std::string counted = GetParam().counted;
    sql("Update ICInvBackup Set FCheckQty=" + counted + ",FQtyAct=" + counted +
        ",FAuxCheckQty=FAuxQty+1,FAuxQtyAct=FAuxQty+1,FMinus=" + counted +
        "-FQty,FNote=" + GetParam().note + std::string(planTracking ? ",FMtoNo='20261207'" : "") +
        " Where FInterID=" + std::to_string(m_proc) +
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
    ASSERT_EQ(header.size(), planTracking ? 32U : 31U);
    int exportCol = 0;
    for (int col = 2; col <= 33; ++col)
        if (col != 12 || planTracking) {
            EXPECT_EQ(header.at(++exportCol).text, window->vsCheck->GetText(col, 0)) << col;
        }
    if (planTracking) {
        ASSERT_TRUE(m_engine);
        EXPECT_EQ(header.at(11).text, "计划跟踪号");
        EXPECT_EQ(m_engine->ColType(11), host::ExportEngine::TextType);
        EXPECT_EQ(m_engine->ColLength(11), 200);
    }
    int planNumbers = 0;
    for (int r = 1; r <= rows; ++r) {
        const auto &line = cells.at(r + 1);
        EXPECT_EQ(line.at(5).text, window->vsCheck->GetText(6, r)) << "item code, row " << r;
        EXPECT_NE(line.at(5).kind, "n") << "codes stay texts";
        for (const auto &[col, cell] : line)
            EXPECT_FALSE(noisy(cell)) << cell.text.toStdString() << ", row " << r;
        const auto quantity = line.find(planTracking ? 16 : 15);
        if (quantity != line.end()) {
            EXPECT_EQ(quantity->second.kind, "n") << "book quantity, row " << r;
            EXPECT_DOUBLE_EQ(quantity->second.text.toDouble(),
                             window->vsCheck->GetText(17, r).toDouble());
        }
        if (const auto plan = line.find(11); planTracking && plan != line.end()) {
            EXPECT_EQ(plan->second.text, window->vsCheck->GetText(12, r));
            EXPECT_NE(plan->second.kind, "n") << "plan-tracking numbers stay texts";
            planNumbers += plan->second.text == "20261207" ? 1 : 0;
        }
    }
    if (planTracking) {
        EXPECT_EQ(planNumbers, count("Select FItemID From ICInvBackup Where FMtoNo='20261207'"));
    }

    EXPECT_TRUE(xlsxparts::part(file, "xl/workbook.xml").contains("name=\"物料盘点表\""));

    m_modals.pickFile(file);
    window->mnuFileIn->trigger();
    EXPECT_EQ(messages().back(), "数据引入完毕!");
    const std::vector<std::string> after = lines();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i], before[i]);
    EXPECT_EQ(window->vsCheck->MaxRows() - 1, rows);
    // Lines of deleted items are not on the sheet and keep their checker.
    EXPECT_EQ(count("Select FChecker From ICInvBackup Where FInterID=" + std::to_string(m_proc) +
                    " And FChecker=16"),
              rows)
        << "every line of the sheet is stamped with the operator who imported it";
}

INSTANTIATE_TEST_SUITE_P(Modes, InputModeExport,
                         ::testing::Values(ExportCase{"plain", false},
                                           ExportCase{"plan_tracking", true},
                                           // Written with 16 digits, 9.3 would come out noisy.
                                           ExportCase{"markup_and_a_noisy_number", false, "9.3",
                                                      "'<O''Brien & Co>  \"tab\"\t'"}),
                         [](const auto &testCase) { return std::string(testCase.param.name); });

TEST_F(Exchange, AReportExportsItsQuantitiesAsNumbersAboveAThousandToo)
{
    const std::string lines = "Where FInterID=" + std::to_string(m_proc) +
                              " And FItemID=(Select Min(FItemID) From ICInvBackup Where "
                              "FInterID=" +
                              std::to_string(m_proc) + ")";
    sql("Update t_ICItemBase Set FQtyDecimal=2 Where FItemID In (Select FItemID From "
        "ICInvBackup " +
        lines + ")");
    sql("Update ICInvBackup Set FCheckQty=1572.705,FQtyAct=1572.705 " + lines);
    const QString file = m_home.filePath(QStringLiteral("report.xlsx"));
    const auto window = openWindow(1);
    m_modals.pickFile(file);
    window->mnuFileOut->trigger();

    const auto cells = xlsxparts::sheetCells(file);
    int counted = 0;
    for (const auto &[col, cell] : cells.at(1))
        if (cell.text == QStringLiteral("基本单位实存数量"))
            counted = col;
    ASSERT_GT(counted, 0);
    int shownAbove = 0;
    double sum = 0;
    for (auto row = std::next(cells.begin()); row != std::prev(cells.end()); ++row) {
        const auto quantity = row->second.find(counted);
        if (quantity == row->second.end())
            continue;
        EXPECT_EQ(quantity->second.kind, "n") << "row " << row->first;
        const double value = quantity->second.text.toDouble();
        shownAbove += value == 1572.71 ? 1 : 0;
        sum += value;
    }
    EXPECT_EQ(shownAbove, count("Select FItemID From ICInvBackup " + lines));
    // The totals row too is a number: the sum of the lines as they are shown.
    const auto &totals = cells.rbegin()->second;
    ASSERT_TRUE(totals.count(counted));
    EXPECT_EQ(totals.at(counted).kind, "n");
    EXPECT_NEAR(totals.at(counted).text.toDouble(), sum, 1e-6);
}

// A second unit keeps the decimals it has, up to six, whatever its item's (those of its base
// unit), and the totals add what is stored; the workbook holds each number as the database
// keeps it, not a double's last digits.
TEST_F(Exchange, AReportShowsAndExportsASecondUnitAtItsOwnDecimalsAndNumbersWithoutNoise)
{
    const std::string proc = std::to_string(m_proc);
    const auto firstItem = [&](const char *condition) {
        return std::to_string(static_cast<long>(number(
            "Select Min(b.FItemID) From ICInvBackup b Join t_ICItem i On i.FItemID=b.FItemID "
            "Where i.FDeleted=0 And b.FInterID=" +
            proc + " And " + condition)));
    };
    const std::string secondUnit = firstItem("i.FSecUnitID>0");
    const std::string plain = firstItem("i.FSecUnitID=0");
    sql("Update t_ICItemBase Set FQtyDecimal=0 Where FItemID=" + secondUnit);
    sql("Update t_ICItemBase Set FQtyDecimal=2 Where FItemID=" + plain);
    const std::string lines = " Where FInterID=" + proc + " And FItemID=";
    sql("Update ICInvBackup Set FSecQty=641.568,FSecAdjQty=0" + lines + secondUnit);
    sql("Update ICInvBackup Set FQtyAct=731.07,FCheckQty=731.07" + lines + plain);
    const auto window = openWindow(1);
    QStringList shown;
    for (int row = 3; row <= window->ldgCheck->Face().Rows(); ++row)
        for (int col = 1; col <= window->ldgCheck->Face().Cols(); ++col)
            shown << window->ldgCheck->Cell(row, col).Text();
    EXPECT_TRUE(shown.contains(QStringLiteral("641.568")));
    EXPECT_TRUE(shown.contains(QStringLiteral("731.07")));

    const QString file = m_home.filePath(QStringLiteral("report.xlsx"));
    m_modals.pickFile(file);
    window->mnuFileOut->trigger();
    const auto cells = xlsxparts::sheetCells(file);
    int secondBook = 0;
    int counted = 0;
    for (const auto &[col, cell] : cells.at(1)) {
        secondBook = cell.text == QStringLiteral("辅助计量单位账存数量") ? col : secondBook;
        counted = cell.text == QStringLiteral("基本单位实存数量") ? col : counted;
    }
    ASSERT_GT(secondBook, 0);
    ASSERT_GT(counted, 0);
    const auto totals = std::prev(cells.end());
    int asStored = 0;
    int noisyCells = 0;
    double sum = 0;
    for (auto row = std::next(cells.begin()); row != totals; ++row) {
        const auto text = [&row](int col) {
            const auto cell = row->second.find(col);
            return cell == row->second.end() ? QString() : cell->second.text;
        };
        asStored += text(secondBook) == QStringLiteral("641.568") ? 1 : 0;
        asStored += text(counted) == QStringLiteral("731.07") ? 1 : 0;
        for (const auto &[col, cell] : row->second)
            noisyCells += noisy(cell) ? 1 : 0;
        sum += text(secondBook).toDouble();
    }
    const std::string all = "Select FItemID From ICInvBackup Where FInterID=" + proc;
    EXPECT_EQ(asStored,
              count(all + " And FSecQty+FSecAdjQty=641.568") + count(all + " And FQtyAct=731.07"));
    EXPECT_EQ(noisyCells, 0);
    ASSERT_TRUE(totals->second.count(secondBook));
    EXPECT_NEAR(totals->second.at(secondBook).text.toDouble(), sum, 1e-6);
}

TEST_F(Exchange, ImportRefusesWhatIsNoSheetItMayReadAndOffersBothFormats)
{
    const QString pipe = m_home.filePath(QStringLiteral("pipe.xls"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QStringList database = databaseInAFile();
    const QString link = m_home.filePath(QStringLiteral("sheet.xls"));
    ASSERT_TRUE(QFile::link(database.at(0), link));
    struct Choice
    {
        QString path;
        std::string message;
    };
    const std::string ofTheDatabase = "所选文件是正在使用的数据库的文件，请另选文件!";
    const Choice choices[] = {
        {m_home.filePath(QStringLiteral("missing.xls")), "指定引入Excel文件不存在，请重新选择!"},
        {m_home.path(), "所选的不是文件，请重新选择Excel文件!"},
        // Reading a pipe would wait for a writer that never comes.
        {pipe, "所选的不是文件，请重新选择Excel文件!"},
        // Read and closed, they would lose the locks the window holds on the database.
        {database.at(0), ofTheDatabase},
        {database.at(1), ofTheDatabase},
        {database.at(2), ofTheDatabase},
        {database.at(3), ofTheDatabase},
        // Whatever its name.
        {link, ofTheDatabase},
    };
    const auto window = openWindow(4);
    QWidget *importTool = toolButton(*window, "Import");
    ASSERT_TRUE(importTool);
    for (const Choice &choice : choices) {
        m_modals.pickFile(choice.path);
        QTest::mouseClick(importTool, Qt::LeftButton);
        EXPECT_EQ(messages().back(), choice.message) << choice.path.toStdString();
    }
    ASSERT_EQ(m_modals.fileDialogs().size(), std::size(choices));
    EXPECT_TRUE(m_modals.fileDialogs()[0].request.filter.contains("*.xlsx"));
    EXPECT_TRUE(m_modals.fileDialogs()[0].request.filter.contains("*.xls;"));
    EXPECT_EQ(messages().size(), std::size(choices));
}

// Whatever stops it, the export says why in the user's language and leaves the file that stood
// at the name as it was, with nothing of its own beside it. A pipe or a device is never opened:
// the export would wait for a reader, or write into the device. Each try runs in a child of its
// own, stopped if it waits.
TEST_F(Exchange, ExportSaysWhyTheWorkbookCannotBeWritten)
{
    const UnwritableFiles files(QDir(m_home.path()), QStringLiteral(".xlsx"));
    const auto window = openWindow(4);
    QWidget *exportTool = toolButton(*window, "Export");
    ASSERT_TRUE(exportTool);
    const QString whole = m_home.filePath(QStringLiteral("whole.xlsx"));
    m_modals.pickFile(whole);
    QTest::mouseClick(exportTool, Qt::LeftButton);
    // Room for the captions, which are written first, not for the rows.
    const long roomForPart = static_cast<long>(QFileInfo(whole).size() * 3 / 4);
    ASSERT_GT(roomForPart, 8000);

    struct Target
    {
        QString path;
        QString why;
        ChildLimits limits;
        QString failure;
    };
    std::vector<Target> targets;
    for (const UnwritableFiles::Target &target : files.targets(roomForPart))
        targets.push_back(
            {target.path, target.why, target.limits, UnwritableFiles::failureOf(target.path)});
    // Written over, one of them would lose the database; a workbook's name does not tell.
    const QStringList database = databaseInAFile();
    for (const QString &file : database) {
        const QString link = file + QStringLiteral(".xlsx");
        ASSERT_TRUE(QFile::link(file, link));
        targets.push_back({link,
                           QStringLiteral("所选文件是正在使用的数据库的文件，请另选文件!"),
                           {},
                           QStringLiteral("操作没有完成，原因：\n")});
    }
    const QStringList before = files.names();
    for (const Target &target : targets) {
        SCOPED_TRACE(target.path.toStdString());
        const QString message = QString::fromStdString(runLimited(target.limits, [&] {
            const size_t shown = messages().size();
            m_modals.pickFile(target.path);
            QTest::mouseClick(exportTool, Qt::LeftButton);
            if (messages().size() != shown + 1 || !window->isEnabled())
                return std::string("no message, or the window stays disabled");
            return messages().back();
        }));
        EXPECT_TRUE(message.startsWith(target.failure)) << message.toStdString();
        EXPECT_TRUE(message.endsWith(target.why)) << message.toStdString();
    }
    EXPECT_EQ(files.names(), before);
    EXPECT_TRUE(files.earlierFilesKept());

    // Written whole, the workbook takes the earlier file's place and keeps who may read it.
    namespace fs = std::filesystem;
    fs::permissions(files.earlier().toStdString(), fs::perms(0640));
    m_modals.pickFile(files.earlier());
    QTest::mouseClick(exportTool, Qt::LeftButton);
    EXPECT_EQ(xlsxparts::sheetCells(files.earlier()).size(), xlsxparts::sheetCells(whole).size());
    EXPECT_EQ(fs::status(files.earlier().toStdString()).permissions(), fs::perms(0640));
    EXPECT_EQ(files.names(), before);
}

// Printed into, a file of the database would be emptied before the first page; whichever dialog
// named it, the book is not printed and the file keeps every byte.
TEST_F(Exchange, TheBookIsNotPrintedIntoAFileOfTheDatabase)
{
    const QStringList database = databaseInAFile();
    const auto window = openWindow(1);
    QPrinter &printer = window->ldgCheck->LedgerPrint().printer();
    for (const QString &file : database) {
        const QString link = file + QStringLiteral(".pdf");
        ASSERT_TRUE(QFile::link(file, link));
        const qint64 size = QFileInfo(file).size();
        const size_t shown = messages().size();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(link);
        window->mnuFPrint->trigger();
        ASSERT_EQ(messages().size(), shown + 1) << file.toStdString();
        EXPECT_EQ(messages().back(), "所选文件是正在使用的数据库的文件，请另选文件!");
        EXPECT_EQ(QFileInfo(file).size(), size) << file.toStdString();
    }
}

} // namespace

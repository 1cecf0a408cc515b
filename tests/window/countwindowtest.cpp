#include "countwindowtest.h"

#include "backup/icbackupinv.h"
#include "countsheet/countlinegrid.h"
#include "dialogs/frmselect.h"
#include "host/components/hostcomponents.h"
#include "host/core/datetime.h"
#include "host/core/dictionary.h"
#include "host/core/paths.h"
#include "host/core/sqltext.h"
#include "host/db/hostdatabase.h"
#include "host/displayer/displaywindow.h"
#include "host/props/shareprops.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/uitestutil.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "support/hostdatabases.h"

#include <QTableView>

#include <cstdlib>

namespace {

constexpr long kOperator = 16;
constexpr const char *kContext = "UserID=16;LANGUAGE=CHS;SUBID=ic;UserName={Manager};";

} // namespace

void CountWindowTest::SetUp()
{
    m_home = std::make_unique<QTemporaryDir>();
    for (const char *variable : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME"})
        setenv(variable, m_home->path().toUtf8().constData(), 1);
    setenv("STOCKCHECK_LOG", "off", 1);
    setenv("STOCKCHECK_DATA_DIR", STOCKCHECK_DATA_DIR, 1);
    host::registerHostComponents();
    host::ShareProps().RemoveAll();
    host::ShareProps().SetProperty(host::currentProcessId(), "PropsString", kContext);
    resetModuleState();
    m_modals = std::make_unique<host::ui::ScriptedModals>();

    m_db = openDemoDatabase(0);
    host::setHostConnection(m_db);
    module().gAppConn = m_db;
    module().gOperatorID = kOperator;
    MParse::ParseProps(kContext);
}

void CountWindowTest::TearDown()
{
    m_modals.reset();
    resetModuleState();
    host::setHostConnection(nullptr);
}

long CountWindowTest::backUp()
{
    std::string stocks;
    auto rs = sql("Select FItemID From t_Stock Order By FItemID");
    for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext())
        stocks += (stocks.empty() ? "" : ",") + host::CStr(rs->Fields(0L).Value());
    host::Dictionary params;
    params.SetValue("Stock", stocks);
    params.SetValue("Filter", "");
    params.SetValue("Date", host::formatDate(host::now(), "YYYY-MM-DD"));
    params.SetValue("Operater", kOperator);
    ICBackupInv backup;
    EXPECT_TRUE(backup.GetStockBillMaxID());
    EXPECT_TRUE(backup.BackUpData(params, false, 0, false, true));
    return static_cast<long>(number("Select Max(FID) From ICStockCheckProcess"));
}

std::unique_ptr<frmMain> CountWindowTest::open(long showType)
{
    auto window = std::make_unique<frmMain>();
    window->ShowType(showType);
    window->Load();
    EXPECT_TRUE(showActive(*window));
    return window;
}

void CountWindowTest::type(frmMain &window, int col, int row, const QString &text)
{
    window.vsCheck->setFocus();
    window.vsCheck->SetActiveCell(col, row);
    typeIntoGrid(*window.vsCheck, text);
}

void CountWindowTest::typeWithoutEnter(host::ui::SpreadGrid &grid, int col, int row,
                                       const QString &text)
{
    grid.setFocus();
    grid.SetActiveCell(col, row);
    QString rest = text;
    // The first key opens the editor, unless entering the cell opened it.
    if (QApplication::focusWidget() == &grid) {
        QTest::keyClicks(&grid, text.left(1));
        rest = text.mid(1);
    }
    QWidget *editor = QApplication::focusWidget();
    ASSERT_NE(editor, &grid) << "the cell's editor is open";
    QTest::keyClicks(editor, rest);
}

int CountWindowTest::findRow(const frmMain &window, const std::function<bool(int row)> &test)
{
    for (int row = 1; row < window.vsCheck->MaxRows(); ++row)
        if (test(row))
            return row;
    ADD_FAILURE() << "no row of the sheet fits";
    return 1;
}

double CountWindowTest::cell(const frmMain &window, int col, int row)
{
    return host::Val(window.vsCheck->GetText(col, row).toStdString());
}

std::shared_ptr<host::Recordset> CountWindowTest::sql(const std::string &text)
{
    return m_db->Execute(text);
}

double CountWindowTest::number(const std::string &query)
{
    auto rs = sql(query);
    rs->MoveFirst();
    return host::Val(rs->Fields(0L).Value());
}

void CountWindowTest::captureErrorList()
{
    m_modals->whileShown([this](host::ui::Form &form) {
        if (auto *list = dynamic_cast<host::DisplayWindow *>(&form)) {
            m_errorItems = list->columnTexts(2);
            m_errorNames = list->columnTexts(3);
            m_errorMessages = list->columnTexts(4);
            // Each reason is seen whole: wrapped within its column, its row as tall as it.
            const auto *table = list->findChild<QTableView *>();
            m_errorReasonsSeen = table != nullptr;
            for (int row = 0; table && row < table->model()->rowCount(); ++row) {
                const QRect text = table->fontMetrics().boundingRect(
                    QRect(0, 0, table->columnWidth(4) - 8, 0), Qt::TextWordWrap,
                    table->model()->index(row, 4).data().toString());
                m_errorReasonsSeen = m_errorReasonsSeen && text.height() <= table->rowHeight(row);
            }
        }
    });
}

long CountWindowTest::prepareItem(long proc, const std::string &condition, int decimals,
                                  const std::string &assignments)
{
    const std::string lines = " Where FInterID=" + std::to_string(proc);
    const auto item = static_cast<long>(
        number("Select Min(b.FItemID) From ICInvBackup b Join t_ICItem i On i.FItemID=b.FItemID "
               "Join t_MeasureUnit u On u.FItemID=b.FUnitID Where i.FDeleted=0 And b.FInterID=" +
               std::to_string(proc) + " And " + condition));
    sql("Update t_ICItemBase Set FQtyDecimal=" + std::to_string(decimals) +
        " Where FItemID=" + std::to_string(item));
    sql("Update ICInvBackup Set " + assignments + lines + " And FItemID=" + std::to_string(item));
    return item;
}

std::string CountWindowTest::lineKey(const frmMain &window, int row)
{
    const CountLine line = readCountLine(*window.vsCheck, row);
    return " Where FInterID=" + std::to_string(module().gCurInterID) +
           " And FItemID=" + std::to_string(line.itemId) +
           " And FStockID=" + std::to_string(line.stockId) +
           " And FStockPlaceID=" + std::to_string(line.stockPlaceId) +
           " And FAuxPropID=" + std::to_string(line.auxPropId) + " And FBatchNo='" + line.batchNo +
           "' And FMtoNo='" + line.mtoNo + "' And FKFPeriod=" + std::to_string(line.kfPeriod) +
           " And FUnitID=" + std::to_string(line.unitId);
}

void CountWindowTest::postBill(const frmMain &window, int row, bool receipt, double qty,
                               double secQty)
{
    const long bill = static_cast<long>(number("Select Max(FInterID) From ICStockBill")) + 1000;
    const std::string type = receipt ? "1" : "21";
    sql("IF NOT EXISTS (Select * From ICTransactionType Where FID=" + type +
        ") Insert Into ICTransactionType (FID,FName) Values (" + type + ",'" +
        (receipt ? "外购入库" : "销售出库") + "')");
    sql("Insert Into ICStockBill (FInterID,FBillNo,FTranType,FDate,FCheckerID) Values (" +
        std::to_string(bill) + ",'T" + std::to_string(bill) + "'," + type + ",GETDATE(),16)");
    sql("Insert Into ICStockBillEntry (FInterID,FEntryID,FItemID,FUnitID,FDCStockID,FDCSPID,"
        "FBatchNo,FMtoNo,FAuxPropID,FKFPeriod,FKFDate,FQty,FSecQty) Select " +
        std::to_string(bill) +
        ",1,FItemID,FUnitID,FStockID,FStockPlaceID,FBatchNo,FMtoNo,FAuxPropID,FKFPeriod,"
        "CASE WHEN FKFDate='' THEN NULL ELSE FKFDate END," +
        host::sqlNumber(qty) + "," + host::sqlNumber(secQty) + " From ICInvBackup" +
        lineKey(window, row));
}

int CountWindowTest::selectAllBills(frmMain &window, int row)
{
    int listed = 0;
    m_modals->whileShown([&](host::ui::Form &form) {
        auto *select = dynamic_cast<frmSelect *>(&form);
        if (!select)
            return;
        auto &grid = *select->ldgSelect;
        listed = grid.Face().Rows() - 2;
        for (int r = 3; r <= grid.Face().Rows(); ++r) {
            if (grid.Cell(r, 2).Text() == QLatin1String("Y"))
                continue;
            grid.setRow(r);
            emit grid.clicked(grid.model()->index(r - 3, 1));
        }
        select->mnuVCalulate->trigger();
    });
    window.vsCheck->SetActiveCell(EntryCol::CUUnitCheckQty, row);
    window.mnuVSelectBill->trigger();
    return listed;
}

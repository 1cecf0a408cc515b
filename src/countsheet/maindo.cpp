#include "countsheet/maindo.h"

#include "countsheet/checkbillsql.h"
#include "countsheet/countsheetstate.h"
#include "countsheet/countsheetwindows.h"
#include "countsheet/frmsnalert.h"
#include "host/core/dictionary.h"
#include "host/core/dispatch.h"
#include "host/core/hosterror.h"
#include "host/core/objectfactory.h"
#include "host/core/settingsstore.h"
#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/form/busycursor.h"
#include "services/appconn.h"
#include "services/databasefailure.h"
#include "services/mmts.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/notavailable.h"
#include "services/pubvariant.h"

#include <vector>

namespace {

constexpr std::string_view kListUpdateProgId = "ZarvoListServer.clsListUpdate";

bool hasRecords(const std::shared_ptr<host::Recordset> &rs)
{
    return rs && rs->State() == host::Recordset::adStateOpen && rs->RecordCount() >= 1;
}

} // namespace

MainDo::MainDo()
{
    CountSheetState &sheet = countSheetState();
    if (!sheet.gIni)
        sheet.gIni = std::make_shared<host::SettingsStore>(std::string_view("StockCheck.ini"));
    MParse::ParseProps(MMTS::GetPropsString());
    const auto options = PubVariant::GetSysProfile("IC", "EnableMtoPlanMode");
    module().gMtoPlanMode = host::CLng(options->GetValue("EnableMtoPlanMode", 0));
}

MainDo::~MainDo() = default;

void MainDo::Show(long s_ShowTye, long s_OptionTab)
{
    CountSheetState &sheet = countSheetState();
    if (module().gShowFilterBeforeCheck) {
        const auto &showFilter = countSheetWindows().showFilter;
        if (!showFilter)
            raiseNotAvailable("frmFilter");
        showFilter(s_ShowTye, s_OptionTab);
        if (sheet.gFilterCancelled)
            return;
    } else {
        if (!sheet.gFilterDict)
            sheet.gFilterDict = std::make_shared<host::Dictionary>();
        sheet.gFilterDict->SetValue("Filter", "");
        sheet.gFilterDict->SetValue("SortBy", "");
    }

    std::shared_ptr<host::Recordset> stocks = GetBackupStockList();
    if (hasRecords(stocks)) {
        stocks.reset();
        const auto &showCountSheet = countSheetWindows().showCountSheet;
        if (!showCountSheet)
            raiseNotAvailable("frmMain");
        showCountSheet(s_ShowTye);
        return;
    }
    PubVariant::ShowMsg(MParse::LoadLangString("仓库数据还未备份,请备份仓库数据!"), 0);
}

std::shared_ptr<host::Recordset> MainDo::GetBackupStockList()
{
    try {
        return appConn().Execute("Select DISTINCT t1.FName,t1.FItemID,t1.FNumber From t_Stock t1 "
                                 "INNER JOIN ICInvBackup t2 ON t1.FItemID = t2.FStockID Order by "
                                 "t1.FNumber ");
    } catch (const std::exception &e) {
        PubVariant::ShowMsg(MParse::LoadLangString("选出备份的仓库出错。") + e.what(), 0);
        return nullptr;
    }
}

std::shared_ptr<host::Recordset> MainDo::GetRSInStock(long StockID)
{
    try {
        auto rs = appConn().Execute("Select * From ICInvBackup Where FStockID=" +
                                    std::to_string(StockID));
        return rs ? rs : std::make_shared<host::Recordset>();
    } catch (const std::exception &e) {
        PubVariant::ShowMsg(
            MParse::LoadLangString("读取仓库的盘点数据时出错，原因：") + failureDescription(e), 0);
        return nullptr;
    }
}

std::shared_ptr<host::Recordset> MainDo::GetRSHeader()
{
    try {
        BuildCheckBillSQL(false);
        auto rs = appConn().Execute(countSheetState().gHeaderSQL);
        return rs ? rs : std::make_shared<host::Recordset>();
    } catch (const std::exception &e) {
        PubVariant::ShowMsg(MParse::LoadLangString("获取表头模版出错。") + e.what(), 0);
        return nullptr;
    }
}

long MainDo::OutCheckBill(long vBillType, long &vBillNo)
{
    const host::ui::BusyCursor busy;
    try {
        auto listUpdate = host::CreateObjectAs<host::Dispatch>(kListUpdateProgId);
        std::vector<host::Variant> args{MMTS::GetPropsString(), module().gCurInterID, std::string(),
                                        vBillType, vBillNo};
        // The component writes the message and the bill id back into its by-reference
        // arguments; an answer it leaves in another type counts as no bill.
        try {
            listUpdate->InvokeByName("MakeStockCheckBillNew", host::InvokeKind::Method, args);
        } catch (...) {
            if (args[4].isNumeric())
                vBillNo = host::CLng(args[4]);
            throw;
        }
        vBillNo = args[4].isNumeric() ? host::CLng(args[4]) : 0;
        // A user whose bills another user made a moment before is told there is nothing left,
        // rather than left wondering whether the command ran.
        const std::string answer = host::CStr(args[2]);
        if (vBillNo > 0 || !answer.empty())
            PubVariant::ShowMsg(answer, 0);
        return vBillNo > 0 ? -1 : -2;
    } catch (const std::exception &e) {
        PubVariant::ShowMsg(
            MParse::LoadLangString("盘点单据输出不成功:") +
                explainFailure(e, MParse::LoadLangString("没有生成单据，盘点数据没有改动。")),
            0);
        return -99;
    }
}

long MainDo::ShowSNAlert(const std::shared_ptr<host::Vector> &items)
{
    FrmSNAlert alert;
    alert.setVectContent(items);
    alert.Show(1);
    return alert.ReturnCode();
}

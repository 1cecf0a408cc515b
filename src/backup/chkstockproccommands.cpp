#include "backup/dbaccess.h"
#include "backup/frmchkstockproc.h"
#include "backup/icbackupinv.h"
#include "host/access/dataaccess.h"
#include "host/core/datetime.h"
#include "host/core/dictionary.h"
#include "host/core/objectfactory.h"
#include "host/db/recordset/recordset.h"
#include "host/db/sqlite/storage.h"
#include "host/ui/spread/dataspreadgrid.h"
#include "host/ui/toolbar/tool.h"
#include "host/ui/toolbar/toolbarcontrol.h"
#include "services/columnlength.h"
#include "services/mmts.h"
#include "services/modqellogmsg.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

#include <set>

namespace {

constexpr int kFidCol = 7;
constexpr int kNameCol = 3;
constexpr long kMaxNameBytes = ColumnLength::ProcessName;

constexpr const char *kNoBackupRight = "没有备份账存数据的权限，请与系统管理员联系!";
constexpr const char *kNoSaveRight = "没有更改盘点方案的权限，请与系统管理员联系!";
constexpr const char *kNoDeleteRight = "没有删除盘点方案的权限，请与系统管理员联系!";
constexpr const char *kNoOpenRight = "没有查看盘点报告单的权限，请与系统管理员联系!";

void inform(const std::string &text)
{
    PubVariant::MsgBox(text, PubVariant::vbInformation);
}

// The flag that tells the count sheet it was opened from the list, cleared on every way out.
class OpenedFromList
{
public:
    OpenedFromList() { module().gOpenFromProcList = true; }
    ~OpenedFromList() { module().gOpenFromProcList = false; }
    OpenedFromList(const OpenedFromList &) = delete;
    OpenedFromList &operator=(const OpenedFromList &) = delete;
};

} // namespace

bool frmChkStockProc::hasRight(short rightIndex) const
{
    const auto rights = host::CreateObjectAs<host::GLData>(host::GLData::ProgId);
    return rights->AccessCheck(1001, rightIndex, 0x20000);
}

void frmChkStockProc::rightMissing(const char *message) const
{
    inform(MParse::LoadLangString(message));
}

void frmChkStockProc::barProc_ToolClick(host::ui::Tool *Tool)
{
    if (!Tool)
        return;
    const bool right5 = hasRight(5);
    const long id = Tool->ToolID();
    if ((id == ToolWithStock || id == ToolWithoutStock) && !right5) {
        rightMissing(kNoBackupRight);
        return;
    }
    switch (id) {
    case ToolNew:
        newProcess(right5);
        break;
    case ToolOpen:
        openProcess();
        break;
    case ToolSave:
        saveChanges(right5);
        break;
    case ToolDelete:
        deleteProcess(right5);
        break;
    case ToolRefresh:
        LoadProcList();
        break;
    case ToolExit:
        exitList();
        break;
    case ToolWithStock:
        toggleCycleOption("WithStock", "WithoutStock");
        break;
    case ToolWithoutStock:
        toggleCycleOption("WithoutStock", "WithStock");
        break;
    case ToolMnuHelp:
        MMTS::ShowHelp(112, 0, "ICStockCheckBackUpProc", 0, MParse::GetPropsItem("SUBID"), 0);
        break;
    default:
        break;
    }
}

void frmChkStockProc::newProcess(bool right5)
{
    if (!right5) {
        rightMissing(kNoBackupRight);
        return;
    }
    const bool withStock = barProc->Tools(QStringLiteral("WithStock")).Checked();
    const bool withoutStock = barProc->Tools(QStringLiteral("WithoutStock")).Checked();
    const long newestBefore = newestProcess();
    if (!withStock && !withoutStock) {
        m_newEntry()->BackupCheckData();
        LoadProcList();
    } else {
        CycCheck(withStock);
    }
    // The user goes on with the count just made.
    if (const long newest = newestProcess(); newest > newestBefore)
        showCurrentRow(QString::number(newest), vsProc->ActiveCol());
}

bool frmChkStockProc::CycCheck(bool withStock)
{
    const modQelLogMsg::LogEntry log("ZarvoStockCheck.frmChkStockProc.CycCheck");
    ICBackupInv backupInv;
    std::string selection;
    if (!host::hasRows(backupInv.GetCheckCycItem(&selection, false, {}))) {
        PubVariant::ShowMsg(MParse::LoadLangString("没有需要备份的物料!"), 0);
        return false;
    }
    const auto stocks = backupInv.GetCheckCycStockID();
    const BackupScope scope;
    backupInv.GetStockBillMaxID();

    host::Dictionary params;
    params.SetValue("Filter", "");
    params.SetValue("Stock", "");
    params.SetValue("Date", host::formatDate(host::now(), "YYYY-MM-DD"));
    params.SetValue("Operater", static_cast<long>(MParse::GetUserID()));
    if (withStock) {
        const long count = !host::hasRows(stocks) ? 0 : stocks->RecordCount();
        std::string itemTable;
        for (long i = 1; i <= count; ++i) {
            params.SetValue("Stock", static_cast<long>(host::CLng(backup::fieldValue(stocks, 0))));
            backupInv.BackUpData(params, false, 0, true, i == count, true, i == 1, &itemTable);
            backup::moveNext(stocks);
        }
    } else {
        std::string itemTable;
        backupInv.BackUpData(params, false, 0, true, true, false, false, &itemTable);
    }
    LoadProcList();
    return false;
}

void frmChkStockProc::openProcess()
{
    if (!hasRight(8)) {
        rightMissing(kNoOpenRight);
        return;
    }
    const int row = vsProc->ActiveRow();
    if (row == 0)
        return;
    auto &m = module();
    m.gCurInterID = host::CLng(host::Variant(vsProc->GetText(kFidCol, row).toStdString()));
    if (!m.gProcDict)
        m.gProcDict = std::make_shared<host::Dictionary>();
    const OpenedFromList opened;
    m_newEntry()->CheckDataCheck(host::CLng(m.gProcDict->Value("UserID")));
}

void frmChkStockProc::saveChanges(bool right5)
{
    if (!right5) {
        rightMissing(kNoSaveRight);
        return;
    }
    if (!CheckProcNames())
        return;
    ICBackupInv backupInv;
    if (backupInv.SaveProc(changes()))
        m_modified = false;
}

bool frmChkStockProc::CheckProcNames()
{
    std::set<QString> seen;
    for (int row = 1; row <= vsProc->MaxRows(); ++row) {
        const QString name = vsProc->GetText(kNameCol, row);
        if (host::textLength(name.toStdString(), false) > kMaxNameBytes) {
            inform(MParse::FormatLangString(
                "盘点方案名称[%1]太长，最多%2个字节（一个汉字占两个字节），请修改后保存!",
                {name.toStdString(), kMaxNameBytes}));
            return false;
        }
        if (!seen.insert(name).second) {
            inform(
                MParse::FormatLangString("盘点方案[%1]重复，请修改后保存!", {name.toStdString()}));
            return false;
        }
    }
    return true;
}

void frmChkStockProc::deleteProcess(bool right5)
{
    if (!right5) {
        rightMissing(kNoDeleteRight);
        return;
    }
    const int row = vsProc->ActiveRow();
    if (row < 1)
        return;
    const std::string name = host::Trim(vsProc->GetText(kNameCol, row).toStdString());
    if (!host::Trim(vsProc->GetText(1, row).toStdString()).empty()) {
        inform(MParse::LoadLangString("该盘点方案生成的盘盈(亏)单已经审核，不允许删除!"));
        return;
    }
    const long fid = host::CLng(host::Val(vsProc->GetText(kFidCol, row).toStdString()));
    ICBackupInv backupInv;
    const std::string bills = backupInv.GetStockBillByProcID(fid);
    if (!bills.empty()) {
        inform(MParse::LoadLangString("该盘点方案已经生成下列盘盈(亏)单,不能删除!") + "\r\n" +
               bills);
        return;
    }
    if (PubVariant::MsgBox(MParse::FormatLangString("您确信要删除第[%1]号方案吗?", {name}),
                           PubVariant::vbYesNo | PubVariant::vbInformation) != PubVariant::vbYes)
        return;
    if (backupInv.DelProcAndBackupData(fid))
        inform(MParse::FormatLangString("您指定的第[%1]号方案已经顺利删除!", {name}));
    LoadProcList();
}

void frmChkStockProc::exitList()
{
    Unload();
}

bool frmChkStockProc::settleChanges()
{
    if (!m_changes || m_changes->Count() == 0 || !m_modified)
        return true;
    switch (PubVariant::MsgBox(MParse::LoadLangString("你修改了某些进程的信息，要保存修改吗？"),
                               PubVariant::vbYesNoCancel | PubVariant::vbInformation)) {
    case PubVariant::vbYes: {
        if (!CheckProcNames())
            return false;
        ICBackupInv backupInv;
        return backupInv.SaveProc(*m_changes);
    }
    case PubVariant::vbNo:
        return true;
    default:
        return false;
    }
}

void frmChkStockProc::toggleCycleOption(const char *clicked, const char *other)
{
    host::ui::Tool &tool = barProc->Tools(QString::fromLatin1(clicked));
    tool.setChecked(!tool.Checked());
    if (tool.Checked())
        barProc->Tools(QString::fromLatin1(other)).setChecked(false);
}

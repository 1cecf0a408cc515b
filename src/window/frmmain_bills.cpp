// The gain and loss bills of a finished count, made by the host and shown in its bill list.
#include "window/frmmain.h"

#include "countsheet/maindo.h"
#include "host/billdata/sysinfo.h"
#include "host/core/objectfactory.h"
#include "host/core/variant.h"
#include "services/mmts.h"
#include "services/mparse.h"
#include "services/pubvariant.h"
#include "window/outbills.h"
#include "window/windowbusy.h"

void frmMain::mnuFOutBill_Click()
{
    OutputCheckBill(1);
}

void frmMain::mnuFOutLossBill_Click()
{
    OutputCheckBill(2);
}

void frmMain::OutputCheckBill(long kind)
{
    const bool closed = host::CBool(host::Variant(GetValue("IC", "BillStatus", "False")));
    if (closed && !PubVariant::CheckDate()) {
        PubVariant::MsgBox(MParse::LoadLangString("当前期间已经关账，不能新增当前及以前期间单据。"),
                           PubVariant::vbInformation);
        return;
    }
    const WindowBusy busy(
        *this, *staBar,
        QString::fromStdString(MParse::LoadLangString("正在输出盘点单据,请稍候...")));
    if (!PubVariant::CheckPeriodStart(0)) {
        PubVariant::ShowMsg(MParse::LoadLangString("输出盘点单必须在本期间起始日期之后!"), 0);
        return;
    }
    long billNo = 0;
    if (mainDo().OutCheckBill(kind == 1 ? 1 : 2, billNo) == -1)
        ShowOutBills(kind == 1 ? "40" : "43", billNo);
}

std::string frmMain::GetValue(const std::string &FCategory, const std::string &FKey,
                              const std::string &DefaultValue)
{
    try {
        const auto info = host::CreateObjectAs<host::SysInfo>(host::SysInfo::ProgId);
        return info->GetSysValue(MMTS::GetPropsString(), FCategory, FKey);
    } catch (const std::exception &) {
        return DefaultValue;
    }
}

#include "dialogs/frmadditem.h"

#include "countsheet/countlinesql.h"
#include "host/core/dictionary.h"
#include "host/core/objectfactory.h"
#include "host/core/sqltext.h"
#include "host/core/vector.h"
#include "host/db/recordset/recordset.h"
#include "host/lookup/auxprop.h"
#include "host/lookup/baselist.h"
#include "host/lookup/glview.h"
#include "host/lookup/itemaux.h"
#include "host/ui/controls/textbox.h"
#include "host/ui/form/keycodes.h"
#include "services/mmts.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"
#include "services/trystep.h"

namespace {

using host::ui::KeyCode::F7;
using host::ui::KeyCode::F8;

// Sets a guard for the time a lookup is open and clears it on every way out.
class GuardFlag
{
public:
    explicit GuardFlag(bool &flag) : m_flag(flag) { m_flag = true; }
    ~GuardFlag() { m_flag = false; }
    GuardFlag(const GuardFlag &) = delete;
    GuardFlag &operator=(const GuardFlag &) = delete;

private:
    bool &m_flag;
};

QString text(const host::Variant &value)
{
    return value.isNull() ? QString() : QString::fromStdString(host::CStr(value));
}

std::string trimmed(const host::ui::TextBox &box)
{
    return host::Trim(box.Text().toStdString());
}

} // namespace

void frmAddItem::txtNumber_KeyDown(int &KeyCode, int)
{
    if ((KeyCode == F7 || KeyCode == F8) && !m_InItemLookup)
        runAfterKey([this] { showItemLookup(); });
}

void frmAddItem::showItemLookup()
{
    const GuardFlag busy(m_InItemLookup);
    tryStep([this] {
        const std::string typed = txtNumber->Text().toStdString();
        const auto view = host::CreateObjectAs<host::GLView>(host::GLView::ProgId);
        host::Dictionary options;
        options.SetValue("GetDataType", 1L);
        if (!host::Trim(typed).empty())
            options.SetValue("Search", typed);
        std::string search;
        std::string filter = " FErpClsID Not in(6,8)";
        const auto result = view->ItemLookUp(4, search, filter, options);
        if (!result || !result->ReturnObject)
            return;
        const auto picked = result->ReturnObject;
        const long previousItem = m_ItemID;
        setUpItem([&picked](const char *name) { return picked->Properties(name); }, previousItem);
        // The picked item stays when the code is checked on leaving the box.
        m_PreItemID = host::CLng(picked->Properties("FItemID"));
    });
}

void frmAddItem::txtNumber_Validate(bool &Cancel)
{
    CheckAppend(Cancel);
}

void frmAddItem::txtUnitName_KeyDown(int &KeyCode, int)
{
    if (KeyCode == F7 && m_UnitGroupID >= 1)
        runAfterKey([this] { showUnitLookup(); });
}

void frmAddItem::showUnitLookup()
{
    const auto result = PubVariant::BaseDataLookup(7, "", "fconversation=1", 1, m_UnitGroupID);
    if (!result || !result->ReturnObject)
        return;
    const auto &unit = *result->ReturnObject;
    m_Coefficient = host::CDbl(unit.Properties("FCoefficient"));
    txtUnitName->setText(text(unit.Properties("FName")));
    m_UnitID = host::CLng(unit.Properties("FMeasureUnitID"));
}

void frmAddItem::txtUnitName_KeyPress(int &KeyAscii)
{
    // The counting unit is chosen through the unit lookup only.
    KeyAscii = 0;
}

void frmAddItem::txtStockNumber_KeyDown(int &KeyCode, int)
{
    if (KeyCode == F7)
        runAfterKey([this] { showStockLookup(); });
}

void frmAddItem::showStockLookup()
{
    const auto result = PubVariant::BaseDataLookup(5, "", "FTypeID in (500,20291,20293)", 1, 0);
    if (result && result->ReturnObject) {
        const auto &stock = *result->ReturnObject;
        txtStockName->setText(text(stock.Properties("FName")));
        txtStockNumber->setText(
            codeOf(stock.Properties("FNumber"), stock.Properties("FShortNumber")));
        m_StockID = host::CLng(stock.Properties("FItemID"));
        m_IsStockMgr = host::CBool(stock.Properties("FIsStockMgr"));
        txtSPNumber->setEnabled(m_IsStockMgr);
        txtSPNumber->clear();
        txtSPName->clear();
        m_SPID = 0;
    }
    txtStockNumber->setFocus();
}

void frmAddItem::txtStockNumber_Validate(bool &Cancel)
{
    if (!trimmed(*txtStockNumber).empty())
        Cancel = !ValidateStock();
}

bool frmAddItem::ValidateStock()
{
    if (txtStockNumber->Text().isEmpty())
        return false;
    const long keptStock = m_StockID;
    const auto rs = PubVariant::GetStockRS(txtStockNumber->Text().toStdString());
    // A failed query has shown its own message; the stock stays as it was.
    if (!rs)
        return false;
    if (rs->RecordCount() == 0) {
        PubVariant::ShowMsg(MParse::LoadLangString("此仓库不存在，请重新输入!"), 0);
        return false;
    }
    rs->MoveFirst();
    m_StockID = host::CLng(rs->Fields("FItemID").Value());
    txtStockName->setText(text(rs->Fields("FName").Value()));
    m_IsStockMgr = host::CBool(rs->Fields("FIsStockMgr").Value());
    txtSPNumber->setEnabled(m_IsStockMgr);
    if (m_StockID != keptStock) {
        txtSPNumber->clear();
        txtSPName->clear();
        m_SPID = 0;
    }
    return true;
}

void frmAddItem::txtSPNumber_KeyDown(int &KeyCode, int)
{
    if (KeyCode == F7 || KeyCode == F8)
        runAfterKey([this] { showStockPlaceList(); });
    txtSPNumber->setFocus();
}

void frmAddItem::showStockPlaceList()
{
    tryStep([this] {
        const auto list = host::CreateObjectAs<host::BaseList>(host::BaseList::ProgId);
        // Only the places a typed code is accepted for: the detail places of the stock's group.
        list->setFilter(" FSPID In (Select t1.FSPID From t_StockPlace t1,t_Stock t2 Where "
                        "t1.FSPGroupID=t2.FSPGroupID AND t1.FDetail=1 AND t2.FItemID=" +
                        std::to_string(m_StockID) + ") ");
        const auto row = list->Show(0, host::BaseList::StockPlaces);
        if (!row)
            return;
        txtSPNumber->setText(
            codeOf(row->Fields("FNumber").Value(), row->Fields("FShortNumber").Value()));
        txtSPName->setText(text(row->Fields("FName").Value()));
        m_SPID = host::CLng(row->Fields("FItemID").Value());
    });
}

void frmAddItem::txtSPNumber_Validate(bool &Cancel)
{
    ValidateStockPlace(Cancel);
}

bool frmAddItem::ValidateStockPlace(bool &Cancel)
{
    auto clearPlace = [this] {
        txtSPNumber->clear();
        txtSPName->clear();
        m_SPID = 0;
    };
    if (txtSPNumber->Text().isEmpty()) {
        clearPlace();
        return false;
    }
    const bool shortNumber = !module().gUseShortNumber;
    std::shared_ptr<host::Recordset> rs;
    if (!PubVariant::ExecSQL("Select t2.* From t_Stock t1 inner join t_StockPlace t2 on "
                             "t1.FSPGroupID=t2.FSPGroupID Where t2.FDetail=1 and t1.FitemID=" +
                                 std::to_string(m_StockID) + " AND t2." +
                                 (shortNumber ? "FShortNumber=" : "FNumber=") +
                                 host::sqlString(trimmed(*txtSPNumber)),
                             rs)) {
        clearPlace();
        return false;
    }
    if (rs && rs->RecordCount() > 0) {
        rs->MoveFirst();
        txtSPNumber->setText(
            codeOf(rs->Fields("FNumber").Value(), rs->Fields("FShortNumber").Value()));
        m_SPID = host::CLng(rs->Fields("FSPID").Value());
        txtSPName->setText(text(rs->Fields("FName").Value()));
        return true;
    }
    if (PubVariant::MsgBox(
            MParse::LoadLangString("该仓库中不存在此仓位或为非明细仓位，请重新输入!"),
            PubVariant::vbYesNo) == PubVariant::vbYes)
        Cancel = true;
    else
        clearPlace();
    return false;
}

void frmAddItem::txtBatchNo_KeyDown(int &KeyCode, int)
{
    if (m_InBatchLookup)
        return;
    if (KeyCode == F7 || KeyCode == F8)
        runAfterKey([this] {
            const GuardFlag busy(m_InBatchLookup);
            showBatchList();
        });
    txtBatchNo->setFocus();
}

void frmAddItem::showBatchList()
{
    tryStep([this] {
        const auto list = host::CreateObjectAs<host::BaseList>(host::BaseList::ProgId);
        list->setFilter("FItemID=" + std::to_string(m_ItemID));
        const auto row = list->Show(0, host::BaseList::Batches);
        if (row)
            txtBatchNo->setText(text(row->Fields("FBatchNo").Value()));
    });
}

void frmAddItem::txtAuxPropName_KeyDown(int &KeyCode, int)
{
    if (trimmed(*txtNumber).empty()) {
        runAfterKey([] { PubVariant::ShowMsg(MParse::LoadLangString("请先选择物料!"), 0); });
        return;
    }
    if (KeyCode == F7)
        runAfterKey([this] { ShowAuxPropLookup(); });
    txtAuxPropName->setFocus();
}

void frmAddItem::ShowAuxPropLookup()
{
    tryStep([this] {
        const auto picker = host::CreateObjectAs<host::AuxPropPicker>(host::AuxPropPicker::ProgId);
        picker->itemclass = 4;
        picker->AuxFilter = 1;
        picker->bAuxMultiSelect = false;
        picker->ItemID = m_ItemID;
        picker->Show();
        if (!picker->ReturnOK() || !picker->ValidAuxVect())
            return;
        const auto choice = picker->ReturnAuxVect()->Item(1).as<host::Dictionary>();
        if (host::CStr(choice->Value("FName")).empty()) {
            PubVariant::ShowMsg(MParse::LoadLangString("辅助属性在此物料中不存在!"), 0);
            txtAuxPropName->setFocus();
            return;
        }
        m_AuxPropNumber = host::CStr(choice->Value("FNumber"));
        m_AuxPropName = host::CStr(choice->Value("FName"));
        m_AuxPropID = host::CLng(choice->Value("FItemID"));
        // The box shows the code while it has the focus, else the name.
        txtAuxPropName->setText(
            QString::fromStdString(txtAuxPropName->hasFocus() ? m_AuxPropNumber : m_AuxPropName));
    });
}

void frmAddItem::txtAuxPropName_Validate(bool &Cancel)
{
    if (txtAuxPropName->Text().isEmpty())
        return;
    host::Dictionary request;
    request.SetValue("sDSN", MMTS::GetPropsString());
    request.SetValue("FItemID", m_ItemID);
    request.SetValue("FNumber", trimmed(*txtAuxPropName));
    const auto check = host::CreateObjectAs<host::ItemAuxCheck>(host::ItemAuxCheck::ProgId);
    const auto found = check->CheckItemAuxNum(request);
    if (!found)
        return;
    if (host::CStr(found->Value("FName")).empty()) {
        PubVariant::ShowMsg(MParse::LoadLangString("辅助属性在此物料中不存在!"), 0);
        Cancel = true;
        return;
    }
    m_AuxPropNumber = host::CStr(found->Value("FNumber"));
    m_AuxPropName = host::CStr(found->Value("FName"));
    txtAuxPropName->setText(QString::fromStdString(m_AuxPropName));
    m_AuxPropID = host::CLng(found->Value("FItemID"));
}

void frmAddItem::txtAuxPropName_GotFocus()
{
    txtAuxPropName->setText(QString::fromStdString(m_AuxPropNumber));
}

void frmAddItem::txtAuxPropName_LostFocus()
{
    txtAuxPropName->setText(QString::fromStdString(m_AuxPropName));
}

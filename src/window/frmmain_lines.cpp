// Removing a count line from the sheet.
#include "window/frmmain.h"

#include "countsheet/countlinesql.h"
#include "host/core/dateformatter.h"
#include "host/core/variant.h"
#include "host/ui/spreadgrid.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

#include <cmath>

namespace {

// An id cell: empty is 0, anything else must be a whole number.
long idOf(const QString &text)
{
    return text.isEmpty() ? 0 : host::CLng(host::Variant(text.toStdString()));
}

long roundedNumberOf(const QString &text)
{
    return std::lrint(host::Val(text.toStdString()));
}

} // namespace

void frmMain::mnuSubItem_Click()
{
    if (SaveStockData(true) == SaveResult::Failed)
        return;
    const int row = vsCheck->ActiveRow();
    if (row == vsCheck->MaxRows() || vsCheck->MaxRows() < 2)
        return;
    if (PubVariant::MsgBox(MParse::LoadLangString("是否真的要删除此项物料？"),
                           PubVariant::vbYesNo | PubVariant::vbQuestion) == PubVariant::vbNo)
        return;
    auto text = [this, row](int col) { return vsCheck->GetText(col, row).trimmed(); };
    if (host::Val(text(17).toStdString()) != 0) {
        PubVariant::MsgBox(MParse::LoadLangString("不能删除有账存余额的物料"),
                           PubVariant::vbOKOnly);
        return;
    }
    const std::string kfDate =
        host::DateFormatter().format(host::Variant(text(13).toStdString()), "YYYY-MM-DD");
    if (PubVariant::DeleteCheckRow(idOf(text(35)), kfDate, roundedNumberOf(text(14)),
                                   roundedNumberOf(text(1)), idOf(text(42)), text(11).toStdString(),
                                   text(12).toStdString(), idOf(text(41)), idOf(text(37)),
                                   module().gCurInterID))
        FillGrid({});
}

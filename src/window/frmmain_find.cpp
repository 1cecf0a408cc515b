// Find, sort and filter over the count sheet, and the ledger's column chooser.
#include "window/frmmain.h"

#include "countsheet/countsheetstate.h"
#include "countsheet/maindo.h"
#include "dialogs/frmfilter.h"
#include "dialogs/frmfind.h"
#include "dialogs/sheetdialogsstate.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/spread/editablecell.h"
#include "host/ui/spread/spreadgrid.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"
#include "window/frmsetcolume.h"

void frmMain::mnuEdit_Find_Click()
{
    ClearHighlight(*vsCheck);
    if (SaveStockData(true) == SaveResult::Failed)
        return;
    findDialog().setActionMode(0);
    findDialog().Show(1);
    enableSelectBill(false);
}

frmFind &frmMain::findDialog()
{
    if (!frmF) {
        frmF = std::make_unique<frmFind>();
        connect(frmF.get(), &frmFind::FindNow, this, [this](long SearchMode, long MatchMode) {
            guard([&] { frmF_FindNow(SearchMode, MatchMode); });
        });
    }
    return *frmF;
}

void frmMain::mnuEdit_Sort_Click()
{
    showFilterDialog(1);
}

void frmMain::mnuEdit_Filter_Click()
{
    showFilterDialog(0);
    enableSelectBill(false);
}

void frmMain::showFilterDialog(long tab)
{
    if (SaveStockData(true) == SaveResult::Failed)
        return;
    frmFilter dialog;
    dialog.mShowType = countSheetState().gShowType;
    dialog.mShowOption = tab;
    dialog.Show(1);
    if (countSheetState().gFilterCancelled)
        return;
    const int col = vsCheck->ActiveCol();
    FillGrid({});
    // Other lines, or the same in another order: the row the user was on means nothing now.
    if (countSheetState().gShowType == 4 && vsCheck->MaxRows() > 1)
        vsCheck->SetActiveCell(col > 0 ? col : host::ui::firstEditableCol(*vsCheck, 1), 1);
}

void frmMain::frmF_FindNow(long SearchMode, long)
{
    try {
        host::Recordset *sheet = mainDo().p_RSMain.get();
        const SheetFinder::Step step = m_finder.find(sheet, sheetDialogsState().gQueryColumns,
                                                     SearchMode, module().gUseShortNumber);
        switch (step.outcome) {
        case SheetFinder::Outcome::NoSheet:
            findDialog().Unload();
            return;
        case SheetFinder::Outcome::NoCriteria:
            PubVariant::ShowMsg(MParse::LoadLangString("请输入要搜索的字符!"), 0);
            return;
        case SheetFinder::Outcome::Found:
            sheet->Bookmark(step.bookmark);
            if (countSheetState().gShowType == 4) {
                const int row = static_cast<int>(sheet->AbsolutePosition());
                ClearHighlight(*vsCheck);
                HighlightRow(row, true);
                vsCheck->SetActiveCell(vsCheck->ActiveCol() > 0 ? vsCheck->ActiveCol() : 1, row);
                vsCheck->setTopRow(row);
            } else {
                ldgCheck->setRow(static_cast<int>(sheet->AbsolutePosition()) + 2);
            }
            return;
        case SheetFinder::Outcome::NotFound:
            if (PubVariant::MsgBox(MParse::LoadLangString(
                                       "你已搜索完全部记录，但没有找到相应的内容!是否重新搜索?"),
                                   PubVariant::vbInformation | PubVariant::vbOKCancel) ==
                PubVariant::vbCancel)
                findDialog().Unload();
            return;
        }
    } catch (const std::exception &e) {
        PubVariant::ShowMsg(
            MParse::FormatLangString("查找数据时出错。原因：%1", {std::string(e.what())}), 0);
    }
}

void frmMain::mnuVViewHide_Click()
{
    {
        frmSetColume chooser;
        chooser.setLedger(ldgCheck);
        chooser.Show(1);
    }
    SaveLedgerColHide();
}

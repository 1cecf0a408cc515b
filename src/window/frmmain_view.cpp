// What the sheet shows and how the window looks: reload, data views, deleted items, bars and
// captions; saving, closing and help.
#include "window/frmmain.h"

#include "countsheet/countsheetstate.h"
#include "countsheet/maindo.h"
#include "host/core/settingsstore.h"
#include "host/ui/controls/comboboxcontrol.h"
#include "host/ui/controls/statusbarcontrol.h"
#include "host/ui/toolbar/tool.h"
#include "host/ui/toolbar/toolbarcontrol.h"
#include "services/langtext.h"
#include "services/pubvariant.h"

#include <QAction>

namespace {

std::string countedCondition()
{
    return countSheetState().gShowType == 3
               ? " And t1.FQty Is Not Null and t1.FQty<>0"
               : " And t1.FQtyAct Is Not Null and (t1.FQty<>0 or t1.FQtyAct<>0)";
}

} // namespace

void frmMain::mnuFSave_Click()
{
    SaveStockData(false);
}

void frmMain::mnuFExit_Click()
{
    Unload();
}

void frmMain::mnuView_Refresh_Click()
{
    if (SaveStockData(true) == SaveResult::Failed)
        return;
    reloadCurrentView();
}

void frmMain::reloadCurrentView()
{
    FillGrid(barlist->Tools(QStringLiteral("AllData")).Checked() ? std::string()
                                                                 : countedCondition());
}

void frmMain::setDataViewChecks(bool allData)
{
    mnuVSelectData_All->setChecked(allData);
    mnuVSelectData_Checked->setChecked(!allData);
    barlist->Tools(QStringLiteral("AllData")).setChecked(allData);
    barlist->Tools(QStringLiteral("CheckedData")).setChecked(!allData);
    mDataView = allData ? 0 : 1;
}

void frmMain::mnuVSelectData_All_Click()
{
    if (mDataView == 0)
        return;
    setDataViewChecks(true);
    FillGrid({});
}

void frmMain::mnuVSelectData_Checked_Click()
{
    if (mDataView == 1)
        return;
    setDataViewChecks(false);
    FillGrid(countedCondition());
}

void frmMain::mnuViewShowDeleted_Click()
{
    // The sheet is loaded afresh, so unsaved counts are offered first, as every reload does; a
    // save that failed leaves the sheet and the switch as they were.
    if (SaveStockData(true) == SaveResult::Failed)
        return;
    bShowDeleted = !mnuViewShowDeleted->isChecked();
    mnuViewShowDeleted->setChecked(bShowDeleted);
    m_mainDo->ShowDelete(bShowDeleted);
    if (mnuVSelectData_All->isVisible() && mDataView == 1)
        mnuVSelectData_All_Click();
    else
        FillGrid({});
}

void frmMain::mnuToolBar_Click()
{
    bShowtoolbar = !bShowtoolbar;
    mnuToolBar->setChecked(bShowtoolbar);
    barlist->Bands(QStringLiteral("barRpt")).setVisible(bShowtoolbar);
    barlist->RecalcLayout();
    ArrangeControls();
}

void frmMain::mnuStatusBar_Click()
{
    bShowStatBar = !bShowStatBar;
    mnuStatusBar->setChecked(bShowStatBar);
    staBar->setVisible(bShowStatBar);
    staBar->raise();
    staBar->Panels(1).setText(langText("就绪"));
    ArrangeControls();
}

void frmMain::mnuViewLable_Click()
{
    bShowToolBarLable = !bShowToolBarLable;
    mnuViewLable->setChecked(bShowToolBarLable);
    SetToolbarLabels();
    ArrangeControls();
}

void frmMain::mnuShowCloseProc_Click()
{
    setShowCloseProc(!mnuShowCloseProc->isChecked());
    // The process shown left the list while its counts could not be saved: the switch goes
    // back, so that the process stays listed and shown.
    if (lstStock->ListCount() > 0 && lstStock->ListIndex() < 0)
        setShowCloseProc(!mnuShowCloseProc->isChecked());
}

void frmMain::setShowCloseProc(bool show)
{
    mnuShowCloseProc->setChecked(show);
    countSheetState().gIni->write("ZARVOSTOCKPRICE", "ldgCheck_ShowCloseProc", show ? 1L : 0L);
    ListStock();
}

void frmMain::mnuAlertSame_Click()
{
    const bool alert = !mnuAlertSame->isChecked();
    mnuAlertSame->setChecked(alert);
    PubVariant::SaveAlertSameCheck(alert);
}

void frmMain::mnuHContents_Click()
{
    ShowHelpTopic();
}

void frmMain::mnuFormatPageSetup_Click() {}

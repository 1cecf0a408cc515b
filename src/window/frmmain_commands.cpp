// Commands of the window that work on the sheet beyond entering and saving counts: bills,
// printing, import and export, line commands, find, filter and sort, the column chooser and
// the bill selection.
#include "window/frmmain.h"

#include "services/notavailable.h"

void frmMain::mnuFOutBill_Click()
{
    raiseNotAvailable("mnuFOutBill");
}

void frmMain::mnuFOutLossBill_Click()
{
    raiseNotAvailable("mnuFOutLossBill");
}

void frmMain::mnuFPrint_Click()
{
    raiseNotAvailable("mnuFPrint");
}

void frmMain::mnuFPrintPreview_Click()
{
    raiseNotAvailable("mnuFPrintPreview");
}

void frmMain::mnuFPrintSetup_Click()
{
    raiseNotAvailable("mnuFPrintSetup");
}

void frmMain::mnuFileOut_Click()
{
    raiseNotAvailable("mnuFileOut");
}

void frmMain::mnuFileIn_Click()
{
    raiseNotAvailable("mnuFileIn");
}

void frmMain::mnuEdit_Find_Click()
{
    raiseNotAvailable("frmFind");
}

void frmMain::mnuEdit_Sort_Click()
{
    raiseNotAvailable("frmFilter");
}

void frmMain::mnuEdit_Filter_Click()
{
    raiseNotAvailable("frmFilter");
}

void frmMain::mnuAddItem_Click()
{
    raiseNotAvailable("frmAddItem");
}

void frmMain::mnuSubItem_Click()
{
    raiseNotAvailable("mnuSubItem");
}

void frmMain::mnuVViewHide_Click()
{
    raiseNotAvailable("frmSetColume");
}

void frmMain::mnuVSelectBill_Click()
{
    raiseNotAvailable("frmSelect");
}

// The add-line and bill-selection commands.
#include "window/frmmain.h"

#include "services/notavailable.h"

void frmMain::mnuAddItem_Click()
{
    raiseNotAvailable("frmAddItem");
}

void frmMain::mnuVSelectBill_Click()
{
    raiseNotAvailable("frmSelect");
}
